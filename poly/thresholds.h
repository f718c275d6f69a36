// Where the arithmetic switches from one method to another. Every crossover of the term-list
// arithmetic is named here; each path can be forced by an input of the right shape.
#pragma once

#include <cstddef>
#include <cstdint>

#include "poly/poly.h"

// A polynomial with fewer than one term in this many exponents is divided and reduced on its term
// list (the work follows the terms), not on a dense vector (the work follows the degree).
constexpr std::int64_t kSparseTermRatio = 16;
inline bool poly_is_sparse(const Poly& f)
{
    return static_cast<std::int64_t>(f.terms.size()) * kSparseTermRatio < poly_degree(f);
}

// A term-list division gives up once its remainder or quotient holds more terms than this: the
// operands were not sparse after all, and the dense division takes over.
inline std::size_t sparse_term_limit(const Poly& a, const Poly& b)
{
    return 4 * (a.terms.size() + b.terms.size()) + 64;
}

// A dense divisor (or product operand) with fewer than one non-zero coefficient in this many is
// walked term by term instead of slot by slot by the vectorized kernel.
constexpr std::size_t kDenseRowRatio = 4;

// Dense multiplication: the plain method while the shorter operand has fewer coefficients than
// this, Kronecker substitution through GMP from there on.
constexpr std::size_t kKroneckerCrossover = 48;

// Dense division: long division while the quotient has fewer coefficients than this, Newton
// iteration from there on.
constexpr std::size_t kNewtonDivisionCrossover = 256;

// Dense gcd: Euclid's remainders below this degree, the half-gcd from there on; the half-gcd's own
// recursion also ends there.
constexpr std::int64_t kHalfGcdCrossover = 256;
