// Internal to the residue layer: its kernels for each vector unit (kernels_portable.cpp,
// kernels_avx2.cpp, kernels_avx512.cpp) and the table that kernels.cpp calls through.
#pragma once

#include <cstddef>
#include <cstdint>

#include "residue/kernels.h"
#include "residue/vector_unit.h"

struct ResidueKernels {
    void (*add_multiple)(Residue* window, const Residue* b, std::size_t n, Residue w, std::uint32_t w_shoup,
                         std::uint32_t p);
    void (*add_two_multiples)(Residue* window, const Residue* b, std::size_t n, Residue w0, std::uint32_t w0_shoup,
                              Residue w1, std::uint32_t w1_shoup, std::uint32_t p);
    void (*scale_add_multiple)(Residue* window, const Residue* b, std::size_t n, Residue s, std::uint32_t s_shoup,
                               Residue w, std::uint32_t w_shoup, std::uint32_t p);
    // m <= n.
    void (*multiply_summed)(const Residue* a, std::size_t m, const Residue* b, std::size_t n, Residue* out,
                            const Modulus& mod);
    void (*square_summed)(const Residue* a, std::size_t n, Residue* out, const Modulus& mod);
};

extern const ResidueKernels kPortableResidueKernels;
#ifdef SQUAREFREE_X86_UNITS
extern const ResidueKernels kAvx2ResidueKernels;
extern const ResidueKernels kAvx512ResidueKernels;
#endif
