// Where the arithmetic switches from one method to another. Every crossover of the term-list
// arithmetic is named here; each path can be forced by an input of the right shape.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "poly/poly.h"
#include "poly/residues.h"

// A polynomial with fewer than one term in this many exponents is divided and reduced on its term
// list (the work follows the terms), not on a dense vector (the work follows the degree).
constexpr std::int64_t kSparseTermRatio = 16;
inline bool poly_is_sparse(const Poly& f)
{
    return static_cast<std::int64_t>(f.terms.size()) * kSparseTermRatio < poly_degree(f);
}

// A term-list division gives up once its remainder or quotient holds more terms than this, or once
// it has made kSparseUpdatesPerTerm times as many updates: the operands were not sparse after all,
// and the dense division takes over.
inline std::size_t sparse_term_limit(const Poly& a, const Poly& b)
{
    return 4 * (a.terms.size() + b.terms.size()) + 64;
}
constexpr std::size_t kSparseUpdatesPerTerm = 64;

// A dense divisor (or product operand) with fewer than one non-zero coefficient in this many is
// walked term by term instead of slot by slot by the vectorized kernel.
constexpr std::size_t kDenseRowRatio = 4;
// Long division looks for a sparse divisor only when the quotient has more coefficients than this;
// a divisor with at most kShortDivisorTerms coefficients below its lead is walked term by term too.
constexpr std::int64_t kSparseDivisorCheckRows = 8;
constexpr std::size_t kShortDivisorTerms = 8;

// The lengths of the number-theoretic transforms: the powers of two, and three times a power of two
// m (a pass of 3-point transforms, then three of length m) from kThirdsFrom on, where 3m measures
// faster than 4m (squarefree_crossovers). The second kind halves the waste of a length just above
// a power of two: at most a third more than needed, not twice as much.
constexpr std::size_t kThirdsFrom = 128;
inline std::size_t transform_length(std::size_t n)
{
    const std::size_t power = std::bit_ceil(n), quarter = power / 4;
    return quarter >= kThirdsFrom && 3 * quarter >= n ? 3 * quarter : power;
}

// Dense multiplication: the plain method costs about one unit per product of two coefficients
// (eight at a time in the vector unit), the transforms about kTransformCostRatio units per
// N·log2(N) for the transform length N (transform_length of the product's length, or less for
// sums known to be shorter than their products), by the number of transform primes the
// modulus needs (one for small p, up to three); the cheaper one is taken. Products that share
// transforms with others, or need fewer of them, cost `transform_share` of that. The ratios, like
// the crossovers below, come from bench/'s squarefree_crossovers on a processor with AVX-512.
// Plain products whose sums fit 64 bits (residues_sums_fit: the modulus and the shorter operand's
// length allow it) are summed before they are reduced and cost `plain_share` = kSummedProductShare
// of a unit per product: they take about half the time of the rows from length 30 to 800, and with
// that share the model puts the tie with the transforms where squarefree_crossovers measures it
// (near length 96 for one transform prime, near 200 for two).
constexpr double kTransformCostRatio[3] = {4.0, 6.5, 8.5};
constexpr double kSummedProductShare = 0.5;
inline double plain_product_share(std::size_t terms, const Modulus& mod)
{
    return residues_sums_fit(terms, mod) ? kSummedProductShare : 1.0;
}
inline bool plain_is_cheaper_than_transforms(std::size_t a_length, std::size_t b_length, std::size_t length,
                                             std::size_t transform_primes, double transform_share = 1.0,
                                             double plain_share = 1.0)
{
    const double n = static_cast<double>(length);
    return plain_share * static_cast<double>(a_length) * static_cast<double>(b_length) <=
           transform_share * kTransformCostRatio[transform_primes - 1] * n * std::log2(n);
}
inline bool plain_product_is_cheaper(std::size_t a_length, std::size_t b_length, std::size_t transform_primes,
                                     double plain_share = 1.0)
{
    return plain_is_cheaper_than_transforms(a_length, b_length, transform_length(a_length + b_length - 1),
                                            transform_primes, 1.0, plain_share);
}

// A quotient of Euclid's steps with at most this many coefficients is multiplied by the plain
// method without weighing the transforms.
constexpr std::size_t kShortQuotient = 16;

// Dense division: long division while the quotient or the divisor has fewer coefficients than
// this, Newton iteration from there on.
constexpr std::size_t kNewtonDivisionCrossover = 1500;

// A step of a gcd modulo a prime above kInverseFreeModulusAbove, whose quotient has fewer
// coefficients than kInverseFreeQuotientBelow and whose divisor's degree is below
// kInverseFreeDegreeBelow, cancels leading terms without inverting the divisor's lead: it scales
// the remainder once more per cancelled term instead, cheaper than the inversion (whose cost grows
// with the bits of p) while the divisor is short.
constexpr std::uint64_t kInverseFreeModulusAbove = std::uint64_t{1} << 16;
constexpr std::int64_t kInverseFreeQuotientBelow = 3;
constexpr std::int64_t kInverseFreeDegreeBelow = 200;

// Dense gcd: Euclid's remainders while the smaller operand's degree is below the crossover, the
// half-gcd from there on. The half-gcd's products cost what their transforms cost, so the crossover
// depends on how many transform primes the modulus needs (one for small p, up to three); its
// recursion ends at kHalfGcdBase (by the same count), below which its quotients come from Euclid's
// steps: near there its products would be plain ones, and Euclid's steps cost less than the
// recursion's plain products.
constexpr std::int64_t kHalfGcdCrossover[3] = {1900, 2200, 5500};
constexpr std::int64_t kHalfGcdBase[3] = {256, 512, 1024};

// A sparse dividend of more than this many times the divisor's degree gives its remainder term by
// term through powers of x modulo the divisor, when its term-list division gives up.
constexpr std::int64_t kPowerRemainderRatio = 4;
inline bool remainder_by_powers(const Poly& a, const Poly& b)
{
    return poly_is_sparse(a) && poly_degree(a) > kPowerRemainderRatio * (poly_degree(b) + 1);
}
