// Polynomials modulo p as dense residue vectors, and the fast algorithms on them: products by the
// plain method, by number-theoretic transforms or by Kronecker substitution through GMP; division
// by Newton iteration; the half-gcd; powers of x modulo a polynomial. Every fast routine has a plain
// counterpart and is reachable on its own, so tests compare the two at sizes on both sides of every
// crossover (dense/thresholds.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ntt/ntt.h"
#include "residue/modulus.h"

// A polynomial modulo p: its coefficients by exponent, trimmed (no zero on top; the zero polynomial
// is empty). Every function below takes and returns trimmed vectors, which debug builds check;
// untrimmed working vectors have the type Residues.
using Dense = std::vector<Residue>;

inline bool dense_is_trimmed(const Dense& a)
{
    return a.empty() || a.back() != 0;
}
inline std::int64_t dense_degree(const Dense& a)
{
    return static_cast<std::int64_t>(a.size()) - 1;
}
// Drops the zeros on top.
void dense_trim(Residues& a);

// --- basic.cpp --------------------------------------------------------------------------------
Dense dense_add(const Dense& a, const Dense& b, const Modulus& mod);
Dense dense_subtract(const Dense& a, const Dense& b, const Modulus& mod);
// c·a for a residue c.
Dense dense_scale(const Dense& a, Residue c, const Modulus& mod);
// a div x^k: the coefficients from k up.
Dense dense_shift_down(const Dense& a, std::size_t k);
// The first n coefficients of a (a mod x^n).
Dense dense_truncate(const Dense& a, std::size_t n);
// a mod (x^n - 1) (n > 0): coefficient i + j·n added into i. Its top may be zero.
Residues dense_fold(const Dense& a, std::size_t n, const Modulus& mod);

// --- multiply.cpp -------------------------------------------------------------------------------
// The product by the plain method (summed in 64 bits where the modulus allows, one vectorized row
// per coefficient otherwise), by number-theoretic transforms (of at most kMaxTransformLength
// coefficients), or by Kronecker substitution (both operands packed into big integers, one GMP
// multiplication, the product's coefficients unpacked and reduced). dense_multiply chooses.
Dense dense_multiply_plain(const Dense& a, const Dense& b, const Modulus& mod);
Dense dense_multiply_ntt(const Dense& a, const Dense& b, const Modulus& mod);
Dense dense_multiply_kronecker(const Dense& a, const Dense& b, const Modulus& mod);
Dense dense_multiply(const Dense& a, const Dense& b, const Modulus& mod);

// --- divide.cpp -------------------------------------------------------------------------------
// Quotient and remainder of a by b (b non-zero): long division, or Newton iteration on the
// reversed divisor (its inverse as a power series) followed by two products. dense_divide chooses.
// A null `quotient` or `remainder` is not computed where avoidable.
void dense_divide_plain(Dense a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder);
void dense_divide_newton(const Dense& a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder);
void dense_divide(Dense a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder);
// The inverse of f as a power series modulo x^n (f's constant term non-zero).
Dense dense_inverse_series(const Dense& f, std::size_t n, const Modulus& mod);

// A non-zero divisor g kept with what dividing by it again and again needs: the inverse of its
// reversal modulo x^(deg g), which serves every quotient of up to deg g coefficients (every
// remainder of a product of two remainders), and the spectra of that inverse and of g for the two
// products of such a division. NTL's zz_pXModulus and FLINT's *_preinv functions keep the same.
// Below `keep_from` (kKeptInverseCrossover, dense/thresholds.h, unless a tuning program asks for
// another degree) nothing is kept and long division serves.
struct DenseModulus {
    Dense g;
    Dense reversed_inverse;      // empty when nothing is kept
    Spectrum inverse_spectrum;   // of reversed_inverse, for products of up to 2·deg g - 1 coefficients
    Spectrum folded_g_spectrum;  // of g mod (x^n - 1), n = transform_length(deg g)
};
DenseModulus dense_modulus(Dense g, const Modulus& mod, std::size_t keep_from = 0);
// a mod g for deg a < 2·deg g.
Dense dense_remainder(const Dense& a, const DenseModulus& g, const Modulus& mod);

// --- gcd.cpp --------------------------------------------------------------------------------------
// The monic gcd (empty when both are zero): Euclid's remainders, or the half-gcd, which jumps over
// half of the remaining degree with one 2x2 matrix of quotients at the cost of a few products.
// dense_gcd chooses. The half-gcd's recursion ends at `base` (kHalfGcdBase when 0).
Dense dense_gcd_plain(Dense a, Dense b, const Modulus& mod);
Dense dense_gcd_half(Dense a, Dense b, const Modulus& mod, std::int64_t base = 0);
Dense dense_gcd(Dense a, Dense b, const Modulus& mod);

// --- power_remainder.cpp --------------------------------------------------------------------------
// x^e mod g by repeated squaring: the cost follows log e, not e.
Dense dense_power_of_x_mod(std::uint64_t e, const DenseModulus& g, const Modulus& mod);
