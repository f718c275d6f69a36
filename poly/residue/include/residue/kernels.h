// The row and summed kernels on residue vectors modulo p, run on the vector unit in use: the inner
// loops of plain products and of long division. Operands are residues below p; `n` or the lengths
// may be zero unless stated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "residue/modulus.h"

// window[t] = (window[t] + w·b[t]) mod p for t < n: one row of a divisor or a product operand
// scaled by one coefficient. w_shoup is Modulus::shoup(w).
void residues_add_multiple(Residue* window, const Residue* b, std::size_t n, Residue w, std::uint32_t w_shoup,
                           std::uint32_t p);

// window[t] = (window[t] + w0·b[t] + w1·b[t - 1]) mod p for t < n, b[-1] taken as 0: two rows of
// a long division at once, for two quotient coefficients in a row (in one pass over the window).
void residues_add_two_multiples(Residue* window, const Residue* b, std::size_t n, Residue w0, std::uint32_t w0_shoup,
                                Residue w1, std::uint32_t w1_shoup, std::uint32_t p);

// window[t] = (s·window[t] + w·b[t]) mod p for t < n: a row scaled by s plus a multiple of
// another, the step of a remainder that cancels leading terms without dividing.
void residues_scale_add_multiple(Residue* window, const Residue* b, std::size_t n, Residue s, std::uint32_t s_shoup,
                                 Residue w, std::uint32_t w_shoup, std::uint32_t p);

// Whether the coefficients of a product, each a sum of at most `terms` products of two residues, can
// be summed in 64 bits before they are reduced: terms·(p - 1)^2 < 2^64.
inline bool residues_sums_fit(std::size_t terms, const Modulus& mod)
{
    const std::uint64_t largest = (mod.p - 1) * (mod.p - 1);  // at least 1 (p >= 2), below 2^62
    return terms <= ~std::uint64_t{0} / largest;
}

// out[0, m + n - 1) = a·b (m, n >= 1), by the plain method with each coefficient summed in 64 bits
// and reduced once; for residues_sums_fit(min(m, n)). About half the time of the rows of
// residues_add_multiple.
void residues_multiply_summed(const Residue* a, std::size_t m, const Residue* b, std::size_t n, Residue* out,
                              const Modulus& mod);
// out[0, 2n - 1) = a^2 (n >= 1), for residues_sums_fit(n). The AVX-512 and portable units take each
// product of two different coefficients once and double it; the AVX2 unit multiplies a by itself.
void residues_square_summed(const Residue* a, std::size_t n, Residue* out, const Modulus& mod);
