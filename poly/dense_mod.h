// Internal to the arithmetic: polynomials modulo p as trimmed dense residue vectors (index =
// exponent, no zero on top; the zero polynomial is empty), and the fast algorithms on them:
// Kronecker multiplication through GMP, division by Newton iteration, and the half-gcd. Every fast
// routine has a plain counterpart and is reachable on its own, so tests compare the two at sizes
// on both sides of every crossover (thresholds.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "poly/modulus.h"
#include "poly/residues.h"

using Dense = Residues;

inline std::int64_t dense_degree(const Dense& a) { return static_cast<std::int64_t>(a.size()) - 1; }
void dense_trim(Dense& a);
Dense dense_from_poly(const Poly& f, const Modulus& mod);

Dense dense_add(const Dense& a, const Dense& b, const Modulus& mod);
Dense dense_subtract(const Dense& a, const Dense& b, const Modulus& mod);
// a div x^k: the coefficients from k up.
Dense dense_shift_down(const Dense& a, std::size_t k);
// The first n coefficients of a (a mod x^n), trimmed.
Dense dense_truncate(const Dense& a, std::size_t n);
// a mod (x^n - 1): coefficient i + j·n added into i (n > 0), not trimmed when a is shorter.
Dense dense_fold(const Dense& a, std::size_t n, const Modulus& mod);

// --- multiply_dense.cpp --------------------------------------------------------------------------
// The product by the plain method (one vectorized row per coefficient), by Kronecker
// substitution (both operands packed into big integers, one GMP multiplication, the product's
// coefficients unpacked and reduced), or by number-theoretic transforms. dense_multiply chooses
// between the plain method and the transforms by plain_product_is_cheaper; Kronecker serves
// products longer than the transforms reach.
Dense dense_multiply_plain(const Dense& a, const Dense& b, const Modulus& mod);
Dense dense_multiply_kronecker(const Dense& a, const Dense& b, const Modulus& mod);
// ntt.cpp: three number-theoretic transforms and the Chinese remainder theorem (Kronecker beyond
// their largest length, 2^23).
Dense dense_multiply_ntt(const Dense& a, const Dense& b, const Modulus& mod);
// A polynomial's images under the transforms of length n (a transform_length, at most 2^23) modulo
// the first `primes` transform primes, for sums of products that share operands: each operand is
// transformed once.
struct Spectrum {
    std::size_t n = 0;
    std::size_t primes = 0;
    std::unique_ptr<std::uint32_t[]> values[3];  // n values for each prime used; none for an empty sum
};
// How many transform primes (one to three) make a result exact modulo p when each of its
// coefficients is a sum of at most `terms` products of two residues: for one product, the shorter
// operand's length; for a sum of two, twice that.
std::size_t transform_primes(std::size_t terms, const Modulus& mod);
Spectrum dense_spectrum(const Dense& a, std::size_t n, std::size_t primes);
// sum += a·b, pointwise (an empty sum starts at zero).
void spectrum_multiply_add(Spectrum& sum, const Spectrum& a, const Spectrum& b);
// The first `length` coefficients of the polynomial whose spectrum is s.
Dense dense_from_spectrum(Spectrum s, std::size_t length, const Modulus& mod);
// The largest transform length.
constexpr std::size_t kMaxTransformLength = std::size_t{1} << 23;
Dense dense_multiply(const Dense& a, const Dense& b, const Modulus& mod);

// --- divide_dense.cpp ----------------------------------------------------------------------------
// Quotient and remainder of a by b (b non-zero): long division, or Newton iteration on the
// reversed divisor (its inverse as a power series) followed by two products. dense_divide chooses
// by kNewtonDivisionCrossover. A null `quotient` or `remainder` is not computed where avoidable.
void dense_divide_plain(const Dense& a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder);
void dense_divide_newton(const Dense& a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder);
void dense_divide(const Dense& a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder);
// The inverse of f as a power series modulo x^n (f's constant term non-zero).
Dense dense_inverse_series(const Dense& f, std::size_t n, const Modulus& mod);

// --- gcd_dense.cpp -------------------------------------------------------------------------------
// The monic gcd (empty when both are zero): Euclid's remainders, or the half-gcd, which jumps over
// half of the remaining degree with one 2x2 matrix of quotients at the cost of a few products.
// dense_gcd chooses by kHalfGcdCrossover.
Dense dense_gcd_plain(Dense a, Dense b, const Modulus& mod);
Dense dense_gcd_half(Dense a, Dense b, const Modulus& mod);
Dense dense_gcd(Dense a, Dense b, const Modulus& mod);

// --- power_remainder.cpp --------------------------------------------------------------------------
// x^e mod g by repeated squaring (g non-zero): the cost follows log e, not e.
Dense dense_power_of_x_mod(std::uint64_t e, const Dense& g, const Modulus& mod);
// a mod g for a term list a of any degree: the sum of its terms' c·(x^e mod g).
Dense dense_remainder_of_sparse(const Poly& a, const Dense& g, const Modulus& mod);
