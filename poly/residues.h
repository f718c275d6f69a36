// Internal to the arithmetic: dense vectors of residues modulo p (index = exponent), the
// representation of the dense multiplication, division and gcd.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "poly/modulus.h"
#include "poly/poly.h"

using Residue = std::uint32_t;
using Residues = std::vector<Residue>;

// --- residues.cpp: conversions ------------------------------------------------------------------
// Dense residues of f; its coefficients are reduced again so that any integer polynomial is
// accepted.
Residues residues_from_poly(const Poly& f, const Modulus& mod);
// The polynomial of the first `length` residues, zeros dropped.
Poly poly_from_residues(const Residues& r, std::size_t length);
// Index of the highest non-zero entry below `length`, or -1.
std::int64_t residues_degree(const Residues& r, std::int64_t length);

// Shoup's multiplication by a fixed residue w: with w' = floor(w·2^32 / p), the quotient estimate
// floor(w'·x / 2^32) is floor(w·x / p) or one less, so w·x - estimate·p lies in [0, 2p) and can be
// computed in 32-bit arithmetic (p < 2^31). For unsigned x < 2p, min(x, x - p) is x mod p.
// w·x mod p for a residue x:
inline std::uint32_t residue_shoup_multiply(std::uint32_t x, std::uint32_t w, std::uint32_t w_shoup, std::uint32_t p)
{
    const std::uint32_t estimate = static_cast<std::uint32_t>((static_cast<std::uint64_t>(w_shoup) * x) >> 32);
    const std::uint32_t product = w * x - estimate * p;
    return std::min(product, product - p);
}

// --- kernel.cpp -----------------------------------------------------------------------------------
// The vector units the kernels below and the transforms (ntt.cpp) are written for. They use the
// widest the processor has: the last of vector_units_supported(), which always lists `portable`
// first. vector_unit_select makes them use another and returns the one in use before, so that
// tests run every unit the processor has; every unit gives the same results.
enum class VectorUnit { portable, avx2, avx512 };
std::vector<VectorUnit> vector_units_supported();
VectorUnit vector_unit_select(VectorUnit unit);
VectorUnit vector_unit_in_use();

// window[t] = (window[t] + w·b[t]) mod p for t < n, all values residues: one row of a divisor or a
// product operand scaled by one coefficient. w_shoup is Modulus::shoup(w).
void residues_add_multiple(Residue* window, const Residue* b, std::size_t n, Residue w, std::uint32_t w_shoup,
                           std::uint32_t p);

// window[t] = (s·window[t] + w·b[t]) mod p for t < n: a row scaled by s plus a multiple of
// another, the step of a remainder that cancels leading terms without dividing.
void residues_scale_add_multiple(Residue* window, const Residue* b, std::size_t n, Residue s, std::uint32_t s_shoup,
                                 Residue w, std::uint32_t w_shoup, std::uint32_t p);

// --- summed_products.cpp -------------------------------------------------------------------------
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
// out[0, 2n - 1) = a^2, each product of two different coefficients taken once and doubled; for
// residues_sums_fit(n).
void residues_square_summed(const Residue* a, std::size_t n, Residue* out, const Modulus& mod);

// --- residue_division.cpp -------------------------------------------------------------------------
// Divides r (its first deg_r + 1 entries) by b of degree deg_b >= 0 in place: afterwards entries
// 0..deg_b-1 hold the remainder. When `quotient` is not null it receives the quotient's
// deg_r - deg_b + 1 coefficients.
void residues_divide(Residues& r, std::int64_t deg_r, const Residues& b, std::int64_t deg_b, const Modulus& mod,
                     Residues* quotient);
// The same remainder times a non-zero constant, without inverting b's leading coefficient: each
// leading term of r is cancelled by r = lc(b)·r - lc(r)·x^s·b. Euclid's algorithm needs its
// remainders only up to such constants, and a short quotient then costs no inversion. Afterwards
// r's entries 0..deg_b-1 hold c·r - q·b, where c (in *scale when not null) is lc(b) to the number
// of terms cancelled and q (in *quotient when not null) has deg_r - deg_b + 1 coefficients.
void residues_remainder_up_to_unit(Residues& r, std::int64_t deg_r, const Residues& b, std::int64_t deg_b, const Modulus& mod,
                                   Residues* quotient, Residue* scale);

// --- sparse_division.cpp ----------------------------------------------------------------------------
// Long division on term lists, for operands with few terms and wide gaps (x^k by k·x^(k-1)): the
// work follows the terms, not the degree. Gives up, returning false, as soon as the remainder or
// the quotient holds more than `max_terms` terms, or its updates exceed kSparseUpdatesPerTerm
// times that (thresholds.h); the dense division then takes over.
bool sparse_divide_mod(const Poly& a, const Poly& b, const Modulus& mod, Poly* quotient, Poly& remainder,
                       std::size_t max_terms);
