#include <gtest/gtest.h>

#include <NTL/lzz_pX.h>

#include <cstdio>
#include <random>

#include "poly/failure.h"
#include "residue/modulus.h"
#include "poly/poly.h"
#include "residue/kernels.h"
#include "support/notation.h"
#include "support/vector_units.h"
#include "ntl_convert.h"

namespace {

constexpr std::int64_t kLargestPrime = 2147483647;

struct Unary {
    const char* f;
    std::int64_t p;
    const char* expected;
};

class Derivative : public testing::TestWithParam<Unary> {};

TEST_P(Derivative, Differentiates)
{
    const Unary& c = GetParam();
    const Poly f = P(c.f);
    EXPECT_EQ(show(poly_derivative(f, c.p)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Derivative,
                         testing::Values(Unary{"3x^4 + 2x + 7", 101, "12x^3 + 2"}, Unary{"x^5 + x", 5, "1"},
                                         Unary{"x^10", 5, "0"}, Unary{"6x^3", 7, "4x^2"}, Unary{"-9", 7, "0"},
                                         Unary{"0", 7, "0"}, Unary{"2147483646x^2", kLargestPrime, "2147483645x"}));

struct Binary {
    const char* a;
    std::int64_t p;
    const char* b;
    const char* expected;
};

class Multiply : public testing::TestWithParam<Binary> {};

TEST_P(Multiply, MultipliesAndReducesOnce)
{
    const Binary& c = GetParam();
    EXPECT_EQ(show(poly_multiply(P(c.a), c.p, P(c.b))), c.expected);
    EXPECT_EQ(show(poly_multiply(P(c.b), c.p, P(c.a))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Multiply,
    testing::Values(Binary{"x + 1", 2, "x + 1", "x^2 + 1"},
                    Binary{"2x + 3", 5, "3x + 2", "x^2 + 3x + 1"}, Binary{"0", 5, "x + 1", "0"},
                    Binary{"0", 7, "0", "0"}, Binary{"1", 7, "3x + 4", "3x + 4"},
                    Binary{"2147483646x + 2147483646", kLargestPrime, "2147483646x + 2147483646", "x^2 + 2x + 1"}));

TEST(MakeMonic, ScalesByTheInverseOfTheLead)
{
    Poly f = P("3x^2 + 5");
    poly_make_monic(7, f);
    EXPECT_EQ(show(f), "x^2 + 4");
    Poly monic = P("x^3 + 6x + 2");
    poly_make_monic(7, monic);
    EXPECT_EQ(show(monic), "x^3 + 6x + 2");
    Poly zero;
    poly_make_monic(7, zero);
    EXPECT_EQ(show(zero), "0");
    Poly large = P("2147483646x + 5");
    poly_make_monic(kLargestPrime, large);
    EXPECT_EQ(show(large), "x + 2147483642");
}

TEST(Deflate, DividesEveryExponentInPlace)
{
    Poly f = P("x^6 + 2x^3 + 1");
    EXPECT_EQ(&poly_deflate(f, 3), &f);
    EXPECT_EQ(show(f), "x^2 + 2x + 1");
    Poly zero;
    EXPECT_EQ(show(poly_deflate(zero, 3)), "0");
}

TEST(Deflate, RefusesAConstant)
{
    Poly one = poly_one();
    EXPECT_THROW(poly_deflate(one, 3), ComputationFailure);
}

struct Division {
    const char* a;
    std::int64_t p;
    const char* b;
    const char* quotient;
    const char* remainder;
};

class LongDivision : public testing::TestWithParam<Division> {};

TEST_P(LongDivision, GivesQuotientAndRemainder)
{
    const Division& c = GetParam();
    const Poly a = P(c.a), b = P(c.b);
    EXPECT_EQ(show(poly_quotient(a, c.p, b)), c.quotient);
    EXPECT_EQ(show(poly_remainder(a, c.p, b)), c.remainder);
}

INSTANTIATE_TEST_SUITE_P(
    ModuloP, LongDivision,
    testing::Values(Division{"x^2 + 1", 5, "2x + 1", "3x + 1", "0"}, Division{"x^3 + 2", 5, "3x + 1", "2x^2 + x + 3", "4"},
                    Division{"x^3 + 2", 5, "1", "x^3 + 2", "0"}, Division{"3x^2 + 1", 5, "3x^2 + 1", "1", "0"},
                    Division{"x^2 + 1", 5, "x^3", "0", "x^2 + 1"}, Division{"x^2", 5, "x^4 + 1", "0", "x^2"},
                    Division{"0", 5, "x", "0", "0"}, Division{"4x^2 + 3", 5, "2", "2x^2 + 4", "0"},
                    Division{"x^1000 + 1", 7, "x^2", "x^998", "1"},
                    Division{"x^2 + 2147483646", kLargestPrime, "x + 1", "x + 2147483646", "0"}));

struct Gcd {
    const char* a;
    const char* b;
    std::int64_t p;
    const char* expected;
};

class GcdMod : public testing::TestWithParam<Gcd> {};

TEST_P(GcdMod, IsMonicAndSymmetric)
{
    const Gcd& c = GetParam();
    const Poly a = P(c.a), b = P(c.b);
    EXPECT_EQ(show(poly_gcd_mod(a, b, c.p)), c.expected);
    EXPECT_EQ(show(poly_gcd_mod(b, a, c.p)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GcdMod,
    testing::Values(Gcd{"0", "2x + 1", 5, "x + 3"}, Gcd{"0", "0", 5, "0"}, Gcd{"x^2 + 1", "x^2 + 3", 5, "1"},
                    Gcd{"3x^2 + 1", "3x^2 + 1", 5, "x^2 + 2"}, Gcd{"3x^2 + 3", "x^2 + 1", 5, "x^2 + 1"},
                    Gcd{"x^2 + 1", "2x + 4", 5, "x + 2"}, Gcd{"2x + 2", "x^2 + 2x + 1", 5, "x + 1"},
                    Gcd{"x^3 + 1", "x^2 + 6", 7, "x + 1"}, Gcd{"3", "x^2 + 1", 5, "1"}, Gcd{"0", "4", 5, "1"},
                    Gcd{"x^2 + 2x + 1", "x^2 + 2147483646", kLargestPrime, "x + 1"}));

// Random operands modulo several primes, each result checked against NTL's zz_pX.
Poly random_poly(std::mt19937_64& rng, std::int64_t p, int degree, bool sparse)
{
    std::vector<Coef> dense(static_cast<std::size_t>(degree + 1));
    for (auto& c : dense)
        c = sparse && rng() % 4 != 0 ? 0 : static_cast<Coef>(rng() % static_cast<std::uint64_t>(p));
    dense.back() = 1 + static_cast<Coef>(rng() % static_cast<std::uint64_t>(p - 1));
    return poly_of(dense, p);
}

TEST(ModularArithmetic, AgreesWithNtlOnRandomOperands)
{
    std::mt19937_64 rng(20261210);
    for (const std::int64_t p : {2L, 3L, 5L, 7L, 101L, 65537L, kLargestPrime}) {
        NTL::zz_p::init(p);
        for (int round = 0; round < 60; ++round) {
            const bool sparse = round % 3 == 0;
            const Poly a = random_poly(rng, p, static_cast<int>(rng() % 60), sparse);
            const Poly b = random_poly(rng, p, static_cast<int>(rng() % 40), sparse);
            const Poly common = random_poly(rng, p, static_cast<int>(rng() % 5), false);
            const Poly ac = poly_multiply(a, p, common), bc = poly_multiply(b, p, common);
            SCOPED_TRACE("p = " + std::to_string(p) + ", a = " + show(a) + ", b = " + show(b));
            EXPECT_EQ(show(poly_multiply(a, p, b)), show(poly_from_ntl(to_zz_pX(a) * to_zz_pX(b))));
            EXPECT_EQ(show(poly_multiply(a, p, a)), show(poly_from_ntl(NTL::sqr(to_zz_pX(a)))));
            EXPECT_EQ(show(poly_quotient(a, p, b)), show(poly_from_ntl(to_zz_pX(a) / to_zz_pX(b))));
            EXPECT_EQ(show(poly_remainder(a, p, b)), show(poly_from_ntl(to_zz_pX(a) % to_zz_pX(b))));
            EXPECT_EQ(show(poly_gcd_mod(ac, bc, p)), show(poly_from_ntl(NTL::GCD(to_zz_pX(ac), to_zz_pX(bc)))));
        }
    }
}

TEST(DivisionKernel, EveryVectorUnitAgreesWithPlainArithmetic)
{
    std::mt19937_64 rng(3);
    on_every_vector_unit([&] {
        for (const std::int64_t p : {2L, 3L, 65537L, 1000003L, kLargestPrime}) {
            const Modulus mod(p);
            const auto residue = [&rng, p](bool row) {
                // Mostly random residues, now and then the extremes 0 and p - 1.
                return static_cast<Residue>(rng() % 5 == 0   ? static_cast<std::uint64_t>(p - 1)
                                            : row && rng() % 7 == 0 ? 0
                                                                    : rng() % static_cast<std::uint64_t>(p));
            };
            for (int round = 0; round < 50; ++round) {
                const std::size_t n = rng() % 40;
                Residues window(n), row(n);
                for (std::size_t t = 0; t < n; ++t) {
                    window[t] = residue(false);
                    row[t] = residue(true);
                }
                const Residue w = round == 0 ? static_cast<Residue>(p - 1) : residue(false), s = residue(false);
                const Residue w1 = round == 1 ? static_cast<Residue>(p - 1) : residue(false);
                Residues added = window, twice = window, scaled = window, expected_added(n), expected_twice(n), expected_scaled(n);
                for (std::size_t t = 0; t < n; ++t) {
                    expected_added[t] = static_cast<Residue>(mod.reduce(window[t] + mod.mul(w, row[t])));
                    expected_twice[t] = static_cast<Residue>(
                        mod.reduce(expected_added[t] + (t > 0 ? mod.mul(w1, row[t - 1]) : 0)));
                    expected_scaled[t] = static_cast<Residue>(mod.reduce(mod.mul(s, window[t]) + mod.mul(w, row[t])));
                }
                const std::uint32_t q = static_cast<std::uint32_t>(p);
                residues_add_multiple(added.data(), row.data(), n, w, mod.shoup(w), q);
                residues_add_two_multiples(twice.data(), row.data(), n, w, mod.shoup(w), w1, mod.shoup(w1), q);
                residues_scale_add_multiple(scaled.data(), row.data(), n, s, mod.shoup(s), w, mod.shoup(w), q);
                EXPECT_EQ(added, expected_added) << "p = " << p << ", w = " << w;
                EXPECT_EQ(twice, expected_twice) << "p = " << p << ", w = " << w << ", w1 = " << w1;
                EXPECT_EQ(scaled, expected_scaled) << "p = " << p << ", s = " << s;
            }
        }
    });
    EXPECT_EQ(Modulus(kLargestPrime).inverse(2), 1073741824u);
}

// The products summed in 64 bits against the schoolbook product reduced term by term, on every
// vector unit: lengths across the sixteen-coefficient blocks, and operands of p - 1 throughout,
// whose sums reach the top of what fits (for the largest prime, four terms: 2^64 - 2^35 + 16).
TEST(ProductKernel, SummedProductsAreTheSchoolbookProductOnEveryUnit)
{
    EXPECT_TRUE(residues_sums_fit(4, Modulus(kLargestPrime)));
    EXPECT_FALSE(residues_sums_fit(5, Modulus(kLargestPrime)));
    std::mt19937_64 rng(5);
    on_every_vector_unit([&] {
        for (const std::int64_t p : {2L, 3L, 65537L, 1000003L, kLargestPrime}) {
            const Modulus mod(p);
            for (int round = 0; round < 120; ++round) {
                const bool extreme = round % 4 == 0;
                // Now and then an operand long enough to be padded in a buffer of its own.
                std::size_t m = 1 + rng() % 70, n = round % 40 == 1 ? 20000 : 1 + rng() % 90;
                if (!residues_sums_fit(m, mod))
                    m = 1 + rng() % 4;
                const auto operand = [&](std::size_t length) {
                    Residues x(length);
                    for (Residue& c : x)
                        c = static_cast<Residue>(extreme ? static_cast<std::uint64_t>(p - 1)
                                                         : rng() % static_cast<std::uint64_t>(p));
                    return x;
                };
                const Residues a = operand(m), b = operand(n);
                Residues expected(m + n - 1, 0), expected_square(2 * m - 1, 0);
                for (std::size_t i = 0; i < m; ++i) {
                    for (std::size_t j = 0; j < n; ++j)
                        expected[i + j] = static_cast<Residue>(mod.reduce(expected[i + j] + mod.mul(a[i], b[j])));
                    for (std::size_t j = 0; j < m; ++j)
                        expected_square[i + j] =
                            static_cast<Residue>(mod.reduce(expected_square[i + j] + mod.mul(a[i], a[j])));
                }
                Residues product(m + n - 1), square(2 * m - 1);
                residues_multiply_summed(a.data(), m, b.data(), n, product.data(), mod);
                residues_square_summed(a.data(), m, square.data(), mod);
                const std::string where = "p = " + std::to_string(p) +
                                          ", lengths " + std::to_string(m) + " and " + std::to_string(n);
                EXPECT_EQ(product, expected) << where;
                EXPECT_EQ(square, expected_square) << where;
            }
        }
    });
}

// Few terms at high degree take the term-list division; when the remainder fills in, the dense
// division takes over. Both must agree with NTL.
Poly random_sparse_poly(std::mt19937_64& rng, std::int64_t p, int degree, int terms)
{
    std::vector<Coef> dense(static_cast<std::size_t>(degree + 1), 0);
    for (int i = 0; i < terms; ++i)
        dense[rng() % dense.size()] = static_cast<Coef>(rng() % static_cast<std::uint64_t>(p));
    dense.back() = 1 + static_cast<Coef>(rng() % static_cast<std::uint64_t>(p - 1));
    return poly_of(dense, p);
}

TEST(ModularArithmetic, SparseOperandsAgreeWithNtl)
{
    std::mt19937_64 rng(99);
    for (const std::int64_t p : {2L, 7L, 1000003L, kLargestPrime}) {
        NTL::zz_p::init(p);
        for (int round = 0; round < 40; ++round) {
            const Poly a = random_sparse_poly(rng, p, 200 + static_cast<int>(rng() % 3000), 1 + static_cast<int>(rng() % 6));
            const Poly b = round % 4 == 0 ? random_poly(rng, p, static_cast<int>(rng() % 30), false)
                                          : random_sparse_poly(rng, p, static_cast<int>(rng() % 400), 1 + static_cast<int>(rng() % 4));
            const Poly common = random_sparse_poly(rng, p, static_cast<int>(rng() % 100), 2);
            const Poly ac = poly_multiply(a, p, common), bc = poly_multiply(b, p, common);
            SCOPED_TRACE("p = " + std::to_string(p) + ", a = " + show(a) + ", b = " + show(b));
            EXPECT_EQ(show(poly_quotient(a, p, b)), show(poly_from_ntl(to_zz_pX(a) / to_zz_pX(b))));
            EXPECT_EQ(show(poly_remainder(a, p, b)), show(poly_from_ntl(to_zz_pX(a) % to_zz_pX(b))));
            EXPECT_EQ(show(poly_gcd_mod(ac, bc, p)), show(poly_from_ntl(NTL::GCD(to_zz_pX(ac), to_zz_pX(bc)))));
        }
    }
}

// A sparse dividend far above the divisor's degree, whose term-list division gives up: its
// remainder comes term by term from powers of x modulo the divisor (kept with its inverse when it
// is long enough).
TEST(ModularArithmetic, RemaindersOfSparsePolynomialsOfHighDegreeAgreeWithNtl)
{
    std::mt19937_64 rng(16);
    for (const std::int64_t p : {3L, kLargestPrime}) {
        NTL::zz_p::init(p);
        for (int round = 0; round < 10; ++round) {
            Poly a;
            for (Exponent e = static_cast<Exponent>(rng() % 50); e < 60000; e += 1 + static_cast<Exponent>(rng() % 9000))
                a.terms.push_back(Term{e, 1 + static_cast<Coef>(rng() % static_cast<std::uint64_t>(p - 1))});
            const Poly g = random_poly(rng, p, 1 + static_cast<int>(rng() % (round < 8 ? 300 : 1200)), false);
            EXPECT_EQ(show(poly_remainder(a, p, g)), show(poly_from_ntl(to_zz_pX(a) % to_zz_pX(g)))) << p;
        }
    }
}

}  // namespace
