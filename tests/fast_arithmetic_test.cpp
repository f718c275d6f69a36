// Every fast dense routine against its plain counterpart, at sizes on both sides of its crossover,
// for small and large primes; and against NTL above every crossover.
#include <gtest/gtest.h>

#include <NTL/lzz_pX.h>

#include <random>

#include "dense/dense.h"
#include "dense/thresholds.h"
#include "ntl_convert.h"
#include "support/vector_units.h"

namespace {

const std::int64_t kPrimes[] = {2, 3, 65537, 1000003, 2147483647};

// Dense polynomials to NTL's and back, modulo the current zz_p modulus.
NTL::zz_pX to_ntl(const Dense& a)
{
    NTL::zz_pX f;
    for (std::size_t i = 0; i < a.size(); ++i)
        NTL::SetCoeff(f, static_cast<long>(i), static_cast<long>(a[i]));
    return f;
}

Dense from_ntl(const NTL::zz_pX& f)
{
    Dense a(static_cast<std::size_t>(NTL::deg(f) + 1));
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = static_cast<Residue>(NTL::rep(NTL::coeff(f, static_cast<long>(i))));
    return a;
}

Dense random_dense(std::mt19937_64& rng, const Modulus& mod, std::size_t length)
{
    Dense a(length);
    for (Residue& c : a)
        c = static_cast<Residue>(rng() % mod.p);
    if (length > 0)
        a.back() = static_cast<Residue>(1 + rng() % (mod.p - 1));
    return a;
}

// Lengths around each crossover, and beyond.
std::vector<std::size_t> lengths()
{
    const std::size_t n = kNewtonDivisionCrossover;
    std::vector<std::size_t> all = {1, 2, 7, 63, 64, 65, n - 1, n, n + 1, 5000};
    for (const std::int64_t base : kHalfGcdBase)
        for (const std::int64_t length : {base - 1, base, base + 1, 2 * base + 3})
            all.push_back(static_cast<std::size_t>(length));
    return all;
}

TEST(FastArithmetic, KroneckerAndTransformProductsAreThePlainProduct)
{
    on_every_vector_unit([&] {
        std::mt19937_64 rng(11);
        for (const std::int64_t p : kPrimes) {
            const Modulus mod(p);
            for (const std::size_t length : lengths()) {
                const Dense a = random_dense(rng, mod, length), b = random_dense(rng, mod, length / 2 + 1);
                const Dense plain = dense_multiply_plain(a, b, mod), square = dense_multiply_plain(a, a, mod);
                EXPECT_EQ(dense_multiply_kronecker(a, b, mod), plain) << p << " " << length;
                EXPECT_EQ(dense_multiply_kronecker(a, a, mod), square) << "square " << p << " " << length;
                EXPECT_EQ(dense_multiply_ntt(a, b, mod), plain) << p << " " << length;
                EXPECT_EQ(dense_multiply_ntt(a, a, mod), square) << "square " << p << " " << length;
            }
            // The extreme residues fill every bit of a slot, and reach the largest sums the three
            // transform primes must hold.
            const Dense full(3000, static_cast<Residue>(p - 1));
            EXPECT_EQ(dense_multiply_kronecker(full, full, mod), dense_multiply_plain(full, full, mod)) << p;
            EXPECT_EQ(dense_multiply_ntt(full, full, mod), dense_multiply_plain(full, full, mod)) << p;
        }
    });
}

TEST(FastArithmetic, EveryVectorUnitGivesThePlainProduct)
{
    // Transform lengths from 1 to 2^15: below and at the sixteen-lane kernel's smallest length (32),
    // odd and even counts of levels, and lengths beyond the blocks it finishes in cache; three times
    // a power of two from the smallest, 3·128, to 3·8192.
    std::mt19937_64 rng(13);
    on_every_vector_unit([&] {
        for (const std::int64_t p : {std::int64_t{3}, std::int64_t{2147483647}}) {
            const Modulus mod(p);
            for (const std::size_t length : {1u, 3u, 12u, 30u, 60u, 200u, 700u, 3000u, 9000u, 12000u, 20000u}) {
                const Dense a = random_dense(rng, mod, length), b = random_dense(rng, mod, length / 2 + 1);
                EXPECT_EQ(dense_multiply_ntt(a, b, mod), dense_multiply_plain(a, b, mod)) << "p = " << p << ", length " << length;
            }
        }
    });
}

TEST(FastArithmetic, TransformsUseEnoughPrimesForTheLargestCoefficients)
{
    // Operands of residues p - 1 give the largest coefficients: the middle one of full(L)·full(L)
    // is L·(p - 1)^2. Modulo 1000003 two primes hold it up to L = 664981 and three are needed from
    // 664982 on; the product on both sides of that point, checked against Kronecker's.
    const Modulus mod(1000003);
    EXPECT_EQ(transform_primes(664981, mod), 2u);
    EXPECT_EQ(transform_primes(664982, mod), 3u);
    for (const std::size_t length : {std::size_t{664981}, std::size_t{664982}}) {
        const Dense full(length, static_cast<Residue>(mod.p - 1));
        EXPECT_EQ(dense_multiply_ntt(full, full, mod), dense_multiply_kronecker(full, full, mod)) << length;
    }
    // One prime is enough for small p at any length, never for p near 2^31.
    EXPECT_EQ(transform_primes(std::size_t{1} << 24, Modulus(3)), 1u);
    EXPECT_EQ(transform_primes(1, Modulus(65537)), 2u);
    EXPECT_EQ(transform_primes(1, Modulus(2147483647)), 3u);
}

// Kronecker's product of operands long enough for GMP's own FFT multiplication (hundreds of
// thousands of limbs, far above its threshold), two different operands and a square, against the
// transform product, for one, two and three transform primes.
TEST(FastArithmetic, KroneckerProductAtTheSizeOfGmpsFftIsTheTransformProduct)
{
    std::mt19937_64 rng(17);
    for (const std::int64_t p : {std::int64_t{3}, std::int64_t{65537}, std::int64_t{2147483647}}) {
        const Modulus mod(p);
        const Dense a = random_dense(rng, mod, 200000), b = random_dense(rng, mod, 150001);
        EXPECT_EQ(dense_multiply_kronecker(a, b, mod), dense_multiply_ntt(a, b, mod)) << p;
        EXPECT_EQ(dense_multiply_kronecker(a, a, mod), dense_multiply_ntt(a, a, mod)) << "square " << p;
    }
}

// The longest transforms, 3·2^23 (a product of two operands of 1.25·10^7 coefficients), and the
// longest power of two below them, against Kronecker's product, for one and three transform
// primes. Seconds of work each: the plain suite runs it, the sanitizer build (ten times slower) not.
TEST(FastArithmetic, TheLongestTransformsGiveKroneckersProduct)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "too slow under the address sanitizer";
#endif
    EXPECT_EQ(transform_length(kMaxTransformLength), kMaxTransformLength);
    EXPECT_EQ(transform_length(kMaxPowerOfTwoTransform + 1), 3 * kMaxPowerOfTwoTransform / 2);
    EXPECT_EQ(transform_length(2 * kMaxPowerOfTwoTransform), kMaxTransformLength);
    std::mt19937_64 rng(18);
    // 3·2^23 with one transform prime; 3·2^22, the other length past 2^23, with three.
    for (const auto& [p, length] : {std::pair{std::int64_t{3}, kMaxTransformLength / 2},
                                    std::pair{std::int64_t{2147483647}, kMaxPowerOfTwoTransform / 2 + 1000}}) {
        const Modulus mod(p);
        const Dense a = random_dense(rng, mod, length), b = random_dense(rng, mod, length - 999);
        ASSERT_LE(a.size() + b.size() - 1, kMaxTransformLength);
        EXPECT_EQ(transform_length(a.size() + b.size() - 1),
                  p == 3 ? kMaxTransformLength : 3 * kMaxPowerOfTwoTransform / 2);
        EXPECT_EQ(dense_multiply_ntt(a, b, mod), dense_multiply_kronecker(a, b, mod)) << p << " " << length;
    }
}

// The transforms past the root tables make their top levels' roots as they go: the transform
// lengths on both sides of that (the last that reads only tables, one, two and three levels made
// so, and three times a power of two past it), on every unit, for one and three transform primes.
// The operands are sparse, so that their product is known term by term, and each coefficient still
// meets every root of every level.
TEST(FastArithmetic, TransformsPastTheRootTablesAreTheProductTermByTerm)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "too slow under the address sanitizer";
#endif
    constexpr std::size_t kTabled = std::size_t{1} << 20;  // the longest transform with a full table
    std::mt19937_64 rng(19);
    for (const std::int64_t p : {std::int64_t{3}, std::int64_t{2147483647}}) {
        const Modulus mod(p);
        for (const std::size_t n : {kTabled, 2 * kTabled, 4 * kTabled, 3 * 2 * kTabled}) {
            if (p != 3 && n == 3 * 2 * kTabled)
                continue;  // three primes at the longest length: seconds more on the portable unit, and no other path
            // Operands of n/2 coefficients, 300 of them non-zero, their tops included.
            const std::size_t half = n / 2;
            Dense a(half, 0), b(half, 0);
            for (Dense* operand : {&a, &b}) {
                for (int k = 0; k < 300; ++k)
                    (*operand)[rng() % half] = static_cast<Residue>(1 + rng() % (mod.p - 1));
                operand->back() = static_cast<Residue>(1 + rng() % (mod.p - 1));
                (*operand)[0] = static_cast<Residue>(mod.p - 1);
            }
            std::vector<std::size_t> terms_of_b;
            for (std::size_t j = 0; j < half; ++j)
                if (b[j] != 0)
                    terms_of_b.push_back(j);
            Residues expected(2 * half - 1, 0);
            for (std::size_t i = 0; i < half; ++i)
                if (a[i] != 0)
                    for (const std::size_t j : terms_of_b)
                        expected[i + j] = static_cast<Residue>((expected[i + j] + mod.mul(a[i], b[j])) % mod.p);
            on_every_vector_unit([&] {
                Residues product(2 * half - 1);
                ntt_multiply(a.data(), half, b.data(), half, n, product.data(), mod);
                EXPECT_EQ(product, expected) << "p = " << p << ", transform length " << n;
            });
        }
    }
}

TEST(FastArithmetic, NewtonDivisionIsLongDivision)
{
    on_every_vector_unit([&] {
        std::mt19937_64 rng(12);
        for (const std::int64_t p : kPrimes) {
            const Modulus mod(p);
            for (const std::size_t length : lengths()) {
                for (const std::size_t divisor : {std::size_t{1}, length / 3 + 1, length}) {
                    const Dense a = random_dense(rng, mod, length + divisor), b = random_dense(rng, mod, divisor);
                    Dense q_plain, r_plain, q_newton, r_newton;
                    dense_divide_plain(a, b, mod, &q_plain, &r_plain);
                    dense_divide_newton(a, b, mod, &q_newton, &r_newton);
                    EXPECT_EQ(q_newton, q_plain) << p << " " << length << " / " << divisor;
                    EXPECT_EQ(r_newton, r_plain) << p << " " << length << " / " << divisor;
                }
            }
            Dense f = random_dense(rng, mod, 700);
            f[0] = 1;  // the series must have a constant term
            const Dense g = dense_inverse_series(f, 700, mod);
            EXPECT_EQ(dense_truncate(dense_multiply(f, g, mod), 700), Dense{1}) << p;
        }
    });
}

TEST(FastArithmetic, HalfGcdIsEuclid)
{
    on_every_vector_unit([&] {
        std::mt19937_64 rng(13);
        for (const std::int64_t p : kPrimes) {
            const Modulus mod(p);
            for (const std::size_t length : lengths()) {
                const Dense common = random_dense(rng, mod, rng() % (length + 1) + 1);
                const Dense a = dense_multiply(random_dense(rng, mod, length), common, mod);
                const Dense b = dense_multiply(random_dense(rng, mod, length / 2 + rng() % (length / 2 + 1) + 1), common, mod);
                EXPECT_EQ(dense_gcd_half(a, b, mod), dense_gcd_plain(a, b, mod)) << p << " " << length;
                EXPECT_EQ(dense_gcd_half(b, a, mod), dense_gcd_plain(a, b, mod)) << p << " " << length;
            }
            // Equal degrees, a zero operand, and a power whose remainders are few.
            const Dense a = random_dense(rng, mod, 900), b = random_dense(rng, mod, 900);
            EXPECT_EQ(dense_gcd_half(a, b, mod), dense_gcd_plain(a, b, mod)) << p;
            EXPECT_EQ(dense_gcd_half(a, Dense{}, mod), dense_gcd_plain(a, Dense{}, mod)) << p;
            const Dense square = dense_multiply(a, a, mod);
            EXPECT_EQ(dense_gcd_half(square, a, mod), dense_gcd_plain(square, a, mod)) << p;
        }
    });
}

// A remainder sequence built from the bottom up, r[i-1] = q[i]·r[i] + r[i+1], with quotients of
// degrees from 1 to a few hundred: the half-gcd's matrices then hold steps of very unequal sizes.
TEST(FastArithmetic, HalfGcdFollowsIrregularQuotients)
{
    on_every_vector_unit([&] {
        std::mt19937_64 rng(15);
        for (const std::int64_t p : kPrimes) {
            const Modulus mod(p);
            for (int round = 0; round < 3; ++round) {
                Dense below = random_dense(rng, mod, 1 + rng() % 3), above = random_dense(rng, mod, 5 + rng() % 20);
                while (above.size() < 6000) {
                    const std::size_t quotient_degrees[] = {1, 1, 2, 3, 7, 40, 300};
                    const Dense q = random_dense(rng, mod, quotient_degrees[rng() % 7] + 1);
                    Dense next = dense_add(dense_multiply(q, above, mod), below, mod);
                    below = std::move(above);
                    above = std::move(next);
                }
                EXPECT_EQ(dense_gcd_half(above, below, mod), dense_gcd_plain(above, below, mod)) << p << " round " << round;
            }
        }
    });
}

TEST(FastArithmetic, AgreesWithNtlAboveEveryCrossover)
{
    on_every_vector_unit([&] {
        std::mt19937_64 rng(14);
        for (const std::int64_t p : {3L, 2147483647L}) {
            const Modulus mod(p);
            NTL::zz_p::init(p);
            // Just above the half-gcd's crossover for this modulus (the largest of the crossovers).
            const std::size_t crossover =
                static_cast<std::size_t>(kHalfGcdCrossover[transform_primes(std::size_t{1} << 15, mod) - 1]);
            const Dense common = random_dense(rng, mod, 1001);
            const Dense a = dense_multiply(random_dense(rng, mod, crossover + 2000), common, mod);
            const Dense b = dense_multiply(random_dense(rng, mod, crossover + 500), common, mod);
            const NTL::zz_pX na = to_ntl(a), nb = to_ntl(b);
            const auto same = [](const Dense& ours, const NTL::zz_pX& theirs) { return ours == from_ntl(theirs); };
            EXPECT_TRUE(same(dense_multiply(a, b, mod), na * nb)) << p;
            Dense q, r;
            dense_divide(a, b, mod, &q, &r);
            EXPECT_TRUE(same(q, na / nb)) << p;
            EXPECT_TRUE(same(r, na % nb)) << p;
            EXPECT_TRUE(same(dense_gcd(a, b, mod), NTL::GCD(na, nb))) << p;
        }
    });
}

}  // namespace

namespace {

TEST(FastArithmetic, PowersOfXModuloAPolynomialAgreeWithNtl)
{
    on_every_vector_unit([&] {
        std::mt19937_64 rng(15);
        for (const std::int64_t p : {2L, 3L, 1000003L, 2147483647L}) {
            const Modulus mod(p);
            NTL::zz_p::init(p);
            // Below and above the degree from which the divisor's inverse is kept.
            for (const std::size_t length : {std::size_t{2}, std::size_t{3}, std::size_t{40}, kKeptInverseCrossover,
                                             kKeptInverseCrossover + 2, std::size_t{2000}}) {
                const Dense g = random_dense(rng, mod, length);
                const DenseModulus kept = dense_modulus(g, mod);
                const NTL::zz_pXModulus ntl_g(to_ntl(g));
                for (const std::uint64_t e : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{length}, std::uint64_t{1073741823},
                                              std::uint64_t{rng() % 4000000000u}}) {
                    NTL::zz_pX expected;
                    NTL::PowerXMod(expected, NTL::ZZ(static_cast<long>(e)), ntl_g);
                    EXPECT_EQ(dense_power_of_x_mod(e, kept, mod), from_ntl(expected)) << p << " x^" << e << ", length " << length;
                }
            }
        }
    });
}

// Remainders by a kept divisor (its reversed inverse and spectra) against long division, for
// dividends up to twice the divisor's degree, on both sides of the degree from which it is kept.
TEST(FastArithmetic, RemaindersByAKeptDivisorAreLongDivision)
{
    on_every_vector_unit([&] {
        std::mt19937_64 rng(16);
        for (const std::int64_t p : kPrimes) {
            const Modulus mod(p);
            for (const std::size_t length : {std::size_t{1}, std::size_t{2}, kKeptInverseCrossover, kKeptInverseCrossover + 1,
                                             kKeptInverseCrossover + 2, std::size_t{1500}, std::size_t{3001}}) {
                const DenseModulus kept = dense_modulus(random_dense(rng, mod, length), mod);
                for (const std::size_t dividend : {std::size_t{0}, length - 1, length, length + 20, 2 * length - 1}) {
                    const Dense a = random_dense(rng, mod, std::min(dividend, std::max<std::size_t>(2 * length - 2, 1)));
                    Dense expected;
                    dense_divide_plain(a, kept.g, mod, nullptr, &expected);
                    EXPECT_EQ(dense_remainder(a, kept, mod), expected) << p << ": " << a.size() << " by " << length;
                }
            }
        }
    });
}

}  // namespace
