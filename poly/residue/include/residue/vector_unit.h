// The vector unit that the kernels of every layer run on: chosen once, the widest the processor
// has, and changed only by vector_unit_select (the tests run every unit the processor has; every
// unit gives the same results). Each layer keeps a table of its own kernels per unit and calls
// through kernels_in_use, so no call site chooses.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

// The AVX2 and AVX-512 units can be compiled (residue/unit_target.h): an x86 processor.
#if defined(__x86_64__) || defined(__i386__)
#define SQUAREFREE_X86_UNITS 1
#endif

enum class VectorUnit { portable, avx2, avx512 };
constexpr std::size_t kVectorUnits = 3;

// The units the processor has, `portable` first and the widest last.
std::vector<VectorUnit> vector_units_supported();
// Makes every layer use `unit` (one of vector_units_supported()) and returns the one in use before.
VectorUnit vector_unit_select(VectorUnit unit);
VectorUnit vector_unit_in_use();
// "portable", "avx2" or "avx512".
const char* vector_unit_name(VectorUnit unit);

// A layer's kernels for each unit, indexed by VectorUnit; a unit the build cannot target points to
// the portable kernels.
template <typename Kernels>
using KernelTable = std::array<const Kernels*, kVectorUnits>;

template <typename Kernels>
const Kernels& kernels_in_use(const KernelTable<Kernels>& table)
{
    return *table[static_cast<std::size_t>(vector_unit_in_use())];
}
