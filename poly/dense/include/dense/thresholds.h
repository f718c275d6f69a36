// Where the dense arithmetic switches from one method to another, and the cost model behind the
// choices. Every crossover of the dense layer is named here (the term lists' own are in
// poly/thresholds.h); each path can be forced by an input of the right shape. The numbers come from
// squarefree_crossovers (bench/crossovers.cpp) on a processor with AVX-512.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "ntt/ntt.h"
#include "residue/kernels.h"
#include "residue/modulus.h"

// The lengths of the number-theoretic transforms: the powers of two, and three times a power of two
// m (a pass of 3-point transforms, then three of length m) from kThirdsFrom on, where 3m measures
// faster than 4m. The second kind halves the waste of a length just above a power of two: at most a
// third more than needed, not twice as much.
constexpr std::size_t kThirdsFrom = 128;
// Beyond the largest power of two the transforms take, 3·2^23 serves every length up to itself. A
// length past kMaxTransformLength is none the transforms take.
inline std::size_t transform_length(std::size_t n)
{
    const std::size_t power = std::bit_ceil(n), quarter = power / 4;
    if (quarter >= kThirdsFrom && 3 * quarter >= n)
        return 3 * quarter;
    return power > kMaxPowerOfTwoTransform && power / 2 <= kMaxPowerOfTwoTransform ? 3 * (power / 2) : power;
}

// Dense multiplication: the plain method costs about one unit per product of two coefficients
// (eight at a time in the vector unit), the transforms about kTransformCostRatio units per
// N·log2(N) for the transform length N (transform_length of the product's length, or less for
// sums known to be shorter than their products), by the number of transform primes the
// modulus needs (one for small p, up to three); the cheaper one is taken. Products that share
// transforms with others, or need fewer of them, cost `transform_share` of that.
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

// A dense divisor (or product operand) with fewer than one non-zero coefficient in this many is
// walked term by term instead of slot by slot by the vectorized kernel.
constexpr std::size_t kDenseRowRatio = 4;
// Long division looks for a sparse divisor only when the quotient has more coefficients than this;
// a divisor with at most kShortDivisorTerms coefficients below its lead is walked term by term too.
constexpr std::int64_t kSparseDivisorCheckRows = 8;
constexpr std::size_t kShortDivisorTerms = 8;

// A quotient of Euclid's steps with at most this many coefficients is multiplied by the plain
// method without weighing the transforms.
constexpr std::size_t kShortQuotient = 16;

// Dense division: long division while the quotient or the divisor has fewer coefficients than
// this, Newton iteration from there on.
constexpr std::size_t kNewtonDivisionCrossover = 1500;
// With the divisor's inverse and its spectra kept (DenseModulus), a remainder of a square costs two
// transform products, one transform each: x^e mod g measures faster than by long division from
// degree 50 (small p) or 100 (p near 2^31) on.
constexpr std::size_t kKeptInverseCrossover = 100;

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

// The half-gcd's products. Applying a matrix to a pair whose result wraps around half the
// transform length takes twelve transforms of that half length instead of eight of the whole:
// kWrappedApplyShare of the cost. A product of matrices whose right factor's spectra are at hand
// takes eight transforms instead of twelve: kSharedSpectraShare.
constexpr double kWrappedApplyShare = 0.75;
constexpr double kSharedSpectraShare = 2.0 / 3.0;

// The gcd's jumps (gcd.cpp). A degree n above a power of two first jumps to just below it; when
// the top that jump would take is less than a kJumpNearPowerFraction above a power of two u, the
// top of degree u - 1 goes first, so that no level of the half-gcd works just above a power of
// two. A jump needs at least kJumpBases times the half-gcd's base above the power of two; below
// that, Euclid's steps take those degrees off.
constexpr std::int64_t kJumpNearPowerFraction = 4;
constexpr std::int64_t kJumpBases = 2;
