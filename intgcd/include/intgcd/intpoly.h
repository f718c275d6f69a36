// Integer polynomials with coefficients of any size, held by NTL, and the operations the integer
// factorization performs on them. This bridge is the only code that includes NTL.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "poly/poly.h"

// A polynomial in Z[x]. Its representation (NTL's ZZX) stays inside the bridge.
struct IntPoly {
    struct Rep;
    std::unique_ptr<Rep> rep;

    IntPoly();
    IntPoly(const IntPoly& other);
    IntPoly(IntPoly&& other) noexcept;
    IntPoly& operator=(const IntPoly& other);
    IntPoly& operator=(IntPoly&& other) noexcept;
    ~IntPoly();
};

// A polynomial whose coefficients are written in decimal ('-' and digits), whatever their size:
// the form in which integer factors are printed.
struct DecimalTerm {
    Exponent exponent;
    std::string coefficient;
};
struct DecimalPoly {
    std::vector<DecimalTerm> terms;  // ascending exponents, no zero coefficient
};
// Whether f is the constant one (a factor list leaves such factors out).
inline bool factor_is_one(const DecimalPoly& f)
{
    return f.terms.size() == 1 && f.terms[0].exponent == 0 && f.terms[0].coefficient == "1";
}

// The integer polynomial of f. Refuses with std::bad_alloc, before allocating, a degree whose dense
// representation and gcd work space could never fit in memory: more coefficients than
// int_poly_length_limit().
IntPoly int_poly_from_poly(const Poly& f);
std::uint64_t int_poly_length_limit();
DecimalPoly decimal_from_int_poly(const IntPoly& f);

Exponent int_poly_degree(const IntPoly& f);  // -1 for zero
bool int_poly_is_constant(const IntPoly& f);   // degree 0
int int_poly_lead_sign(const IntPoly& f);       // -1, 0 or 1
// The image modulo a prime p < 2^31.
Poly int_poly_reduce(const IntPoly& f, std::int64_t p);

IntPoly int_poly_derivative(const IntPoly& f);
IntPoly int_poly_subtract(const IntPoly& a, const IntPoly& b);
IntPoly int_poly_negate(const IntPoly& f);
IntPoly int_poly_multiply(const IntPoly& a, const IntPoly& b);
IntPoly int_poly_power(const IntPoly& f, std::int64_t k);  // k >= 0
bool int_poly_equal(const IntPoly& a, const IntPoly& b);
// a / b when b divides a exactly in Z[x]; otherwise raises Failure::invalid_operation.
IntPoly int_poly_exact_quotient(const IntPoly& a, const IntPoly& b);

// The gcd in Z[x] by NTL's GCD: the gcd of the contents times the gcd of the primitive parts, with
// a positive leading coefficient (the zero polynomial when both arguments are zero).
IntPoly poly_gcd_int(const IntPoly& a, const IntPoly& b);
// How many of those gcds the process has taken (what the benchmarks report).
std::uint64_t int_gcd_count();
