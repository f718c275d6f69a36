// Term-list polynomials and their arithmetic modulo a prime p < 2^31: the operations that the
// factorizations call. Behind them lie the dense arithmetic (poly/dense/) and its transforms and
// vector kernels; when a polynomial counts as sparse is in poly/thresholds.h.
//
// Every operation returns a new value and leaves its arguments unchanged, except poly_make_monic
// and poly_deflate, which work in place. Arguments may hold any integer coefficients (they are
// reduced first); results hold residues 1..p-1. Failures are raised as a ComputationFailure
// (failure.h); exhausted memory as std::bad_alloc.
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

// The terms in strictly ascending exponent order, every coefficient non-zero. The zero polynomial
// has no terms.
struct Poly {
    std::vector<Term> terms;
};

// Degree and leading coefficient, read from the highest term: -1 and 0 for the zero polynomial.
inline Exponent poly_degree(const Poly& f) { return f.terms.empty() ? -1 : f.terms.back().exponent; }
inline Coef poly_lead(const Poly& f) { return f.terms.empty() ? 0 : f.terms.back().coefficient; }
inline bool poly_is_zero(const Poly& f) { return f.terms.empty(); }
inline bool poly_is_constant(const Poly& f) { return f.terms.size() == 1 && f.terms[0].exponent == 0; }
inline bool poly_is_one(const Poly& f) { return poly_is_constant(f) && f.terms[0].coefficient == 1; }

// --- basics (poly_basic.cpp) ----------------------------------------------------------------
bool poly_equal(const Poly& a, const Poly& b);
Poly poly_copy(const Poly& f);
Poly poly_one();
// Remainder of v by p with the quotient truncated toward zero, moved into 0..p-1.
inline Coef coef_reduce(Coef v, std::int64_t p)
{
    if (v >= 0 && v < p)
        return v;  // already reduced: the common case, without a division
    Coef r = v % p;
    if (r < 0)
        r += p;
    return r;
}
// The image of f modulo p: every coefficient reduced, the zeros dropped.
Poly poly_reduce(const Poly& f, std::int64_t p);

// --- derivative.cpp, multiply.cpp ---------------------------------------------------------------
Poly poly_derivative(const Poly& f, std::int64_t p);
Poly poly_multiply(const Poly& a, std::int64_t p, const Poly& b);

// --- monic.cpp, deflate.cpp ----------------------------------------------------------------------
// Scales f so that its leading coefficient is 1 modulo p; leaves f unchanged when that
// coefficient has no inverse (the zero polynomial).
void poly_make_monic(std::int64_t p, Poly& f);
// Divides every exponent of f by p (the p-th root of a polynomial in x^p); a constant has none
// and raises Failure::cannot_compute.
Poly& poly_deflate(Poly& f, std::int64_t p);

// --- division.cpp (b non-zero) ----------------------------------------------------------------
Poly poly_quotient(const Poly& a, std::int64_t p, const Poly& b);
Poly poly_remainder(const Poly& a, std::int64_t p, const Poly& b);

// --- gcd_mod.cpp ----------------------------------------------------------------------------
// The monic greatest common divisor; the zero polynomial only when both arguments are zero.
Poly poly_gcd_mod(const Poly& a, const Poly& b, std::int64_t p);
// gcd(f', f) for f non-zero, without f' as a term list (a dense f's derivative is taken densely).
Poly poly_gcd_with_derivative(const Poly& f, std::int64_t p);
// Whether f' is zero modulo p: every term's exponent or coefficient a multiple of p.
bool poly_derivative_is_zero(const Poly& f, std::int64_t p);
