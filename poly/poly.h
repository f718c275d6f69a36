// Term-list polynomials with integer coefficients, the factor list of a square-free factorization,
// and the arithmetic on them over the integers (p = 0) or modulo a prime p.
//
// Every operation returns a new value and leaves its arguments unchanged, except poly_make_monic
// and poly_deflate, which work in place. Failures end the run through fatal_exit:
//   EXIT_NO_MEMORY          an allocation that cannot be satisfied,
//   EXIT_INVALID_OPERATION  an integer division that is not exact at one of its steps,
//   EXIT_CANNOT_COMPUTE     an integer result outside signed 64 bits, or deflation of a constant.
#pragma once

#include <cstdint>
#include <vector>

using Coef = std::int64_t;
using Exponent = std::int64_t;

struct Term {
    Exponent exponent;
    Coef coefficient;
    friend bool operator==(const Term&, const Term&) = default;
};

// The terms in strictly ascending exponent order, every coefficient non-zero; with p > 0 every
// coefficient lies in 1..p-1. The zero polynomial has no terms.
struct Poly {
    std::vector<Term> terms;
};

// Degree and leading coefficient, read from the highest term: -1 and 0 for the zero polynomial.
inline Exponent poly_degree(const Poly& f) { return f.terms.empty() ? -1 : f.terms.back().exponent; }
inline Coef poly_lead(const Poly& f) { return f.terms.empty() ? 0 : f.terms.back().coefficient; }
inline bool poly_is_zero(const Poly& f) { return f.terms.empty(); }
inline bool poly_is_constant(const Poly& f) { return f.terms.size() == 1 && f.terms[0].exponent == 0; }
inline bool poly_is_one(const Poly& f) { return poly_is_constant(f) && f.terms[0].coefficient == 1; }

// --- basics ---------------------------------------------------------------------------------
bool poly_equal(const Poly& a, const Poly& b);
// The system's term order: the greater of a and b (a pointer to one of them), or null when equal.
const Poly* poly_greater(const Poly& a, const Poly& b);
Poly poly_copy(const Poly& f);
Poly poly_one();
// Remainder of v by p with the quotient truncated toward zero, moved into 0..p-1 for p > 0.
inline Coef coef_reduce(Coef v, std::int64_t p)
{
    if (v >= 0 && v < p)
        return v;  // already reduced: the common case, without a division
    Coef r = v % p;
    if (r < 0)
        r += p;
    return r;
}
// The polynomial whose coefficient of x^i is dense[i], reduced modulo p when p != 0.
Poly poly_from_dense(const std::vector<Coef>& dense, std::int64_t p);

// --- derivative, product and normalisations -------------------------------------------------
Poly poly_derivative(const Poly& f, std::int64_t p);
Poly poly_multiply(const Poly& a, std::int64_t p, const Poly& b);
// a - b over the integers.
Poly poly_subtract(const Poly& a, const Poly& b);
// Scales f so that its leading coefficient is 1 modulo p; leaves f unchanged when that
// coefficient has no inverse (the zero polynomial).
void poly_make_monic(std::int64_t p, Poly& f);
// Divides every exponent of f by p (the p-th root of a polynomial in x^p); a constant ends the
// run with EXIT_CANNOT_COMPUTE.
Poly& poly_deflate(Poly& f, std::int64_t p);

// --- long division (b non-zero) ---------------------------------------------------------------
Poly poly_quotient(const Poly& a, std::int64_t p, const Poly& b);
Poly poly_remainder(const Poly& a, std::int64_t p, const Poly& b);

// --- gcd modulo a prime ---------------------------------------------------------------------
// The monic greatest common divisor; the zero polynomial only when both arguments are zero.
Poly poly_gcd_mod(const Poly& a, const Poly& b, std::int64_t p);

// --- factor list ----------------------------------------------------------------------------
// Position k (from 1) holds the square-free factor of multiplicity k. Positions without a factor
// hold the constant one; they are counted in `length` but not stored, so long runs of them cost
// nothing.
struct Factor {
    std::int64_t multiplicity;
    Poly poly;
};
struct FactorList {
    std::vector<Factor> factors;  // ascending multiplicity, none of them the constant one
    std::int64_t length = 0;      // number of positions
};

// Appends f as the new last position.
void factor_list_append(FactorList& list, Poly f);
// Appends `count` positions that hold the constant one.
void factor_list_append_ones(FactorList& list, std::int64_t count);
// The polynomial at position k, 1 <= k <= length.
Poly factor_list_at(const FactorList& list, std::int64_t k);
