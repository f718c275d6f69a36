// Internal to the transforms: their kernels for each vector unit (kernels_portable.cpp,
// kernels_avx2.cpp, kernels_avx512.cpp) and the table that the transforms call through. Transform
// values lie in [0, 2q) for the transform prime q.
#pragma once

#include <cstddef>
#include <cstdint>

#include "residue/modulus.h"
#include "residue/vector_unit.h"
#include "roots.h"

// The constants of Garner's reconstruction (garner.cpp) for one modulus p.
struct GarnerConstants {
    std::uint32_t q1_one, c1, c1_shoup;                              // modulo q1: 1 and q0^-1
    std::uint32_t q2_one, q0_mod_q2, q0_mod_q2_shoup, c2, c2_shoup;  // modulo q2: 1, q0, (q0·q1)^-1
    std::uint32_t p, p_one, q0_mod_p, q0_mod_p_shoup, q0q1_mod_p, q0q1_mod_p_shoup;
};

struct TransformKernels {
    // Decimation in frequency: natural order in, bit-reversed order out (n a power of two).
    void (*forward)(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q);
    // Decimation in time with the inverse roots: bit-reversed order in, natural order out, times n.
    void (*inverse)(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q);
    // The pass of 3-point transforms of a transform of length 3m (transform.cpp).
    void (*thirds_pass)(std::uint32_t* a, std::size_t m, const ThirdsRoots& r, std::uint32_t q, bool forward);
    // Residues below 2^31 into [0, 2q).
    void (*load)(const Residue* source, std::size_t count, std::uint32_t* target, std::uint32_t q);
    // out = a·b·2^-32 pointwise (out may be a), and sum += a·b·2^-32.
    void (*pointwise)(std::uint32_t* out, const std::uint32_t* a, const std::uint32_t* b, std::size_t n,
                      std::uint32_t q, std::uint32_t minus_q_inverse);
    void (*multiply_add)(std::uint32_t* sum, const std::uint32_t* a, const std::uint32_t* b, std::size_t n,
                         std::uint32_t q, std::uint32_t minus_q_inverse);
    // a = a·w mod q, reduced into [0, q).
    void (*scale)(std::uint32_t* a, std::size_t n, std::uint32_t w, std::uint32_t w_shoup, std::uint32_t q);
    // out[i] = the residue modulo p of the coefficient whose residues modulo the first `primes`
    // transform primes are residues[0..primes)[i], each in [0, q).
    void (*garner)(const std::uint32_t* const residues[3], std::size_t primes, std::size_t length,
                   const GarnerConstants& k, Residue* out);
};

extern const TransformKernels kPortableTransformKernels;
#ifdef SQUAREFREE_X86_UNITS
extern const TransformKernels kAvx2TransformKernels;
extern const TransformKernels kAvx512TransformKernels;
#endif

const TransformKernels& transform_kernels();

// The portable unit's transforms, for the short ones that the other units leave.
namespace unit_portable::ntt {
void forward(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q);
void inverse(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q);
}  // namespace unit_portable::ntt
