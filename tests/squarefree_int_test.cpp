#include <gtest/gtest.h>

#include <NTL/ZZXFactoring.h>

#include <random>

#include "frontend/fatal.h"
#include "squarefree/squarefree.h"
#include "tests/support/notation.h"

namespace {

struct Case {
    const char* f;
    const char* positions;
};

class SquarefreeInt : public testing::TestWithParam<Case> {};

TEST_P(SquarefreeInt, BuildsTheListPositionByPosition)
{
    const Case& c = GetParam();
    EXPECT_EQ(show(squarefree_int(P(c.f))), c.positions) << c.f;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SquarefreeInt,
    testing::Values(Case{"5", "[5]"}, Case{"-7", "[-7]"}, Case{"6", "[6]"}, Case{"x", "[x]"},
                    Case{"x^2 - 3x + 2", "[x^2 - 3x + 2]"}, Case{"x^4 - 1", "[x^4 - 1]"}, Case{"x^2 + 2x + 1", "[1, x + 1]"},
                    Case{"-x^2 - 2x - 1", "[-1, x + 1]"}, Case{"x^3 + 3x^2 - 4", "[x - 1, x + 2]"},
                    Case{"x^3 - 3x^2 + 3x - 1", "[1, 1, x - 1]"}, Case{"x^4 + 3x^3 + 3x^2 + x", "[x, 1, x + 1]"},
                    Case{"x^4 + 3x^3 - 7x^2 - 15x + 18", "[x^2 - 3x + 2, x + 3]"},
                    Case{"2x^4 + 7x^3 + 12x^2 + 11x + 4", "[2x^2 + 3x + 4, x + 1]"}, Case{"-3x + 2", "[-3x + 2]"},
                    Case{"-x^5", "[-1, 1, 1, 1, x]"}));

TEST(PolyIsPrimitive, LooksAtEveryCoefficient)
{
    for (const char* f : {"6x^2 + 10x + 15", "-x - 1", "x^2 - 3x + 2", "-1"})
        EXPECT_TRUE(poly_is_primitive(P(f))) << f;
    for (const char* f : {"2x - 4", "-3x + 3", "3", "0"})
        EXPECT_FALSE(poly_is_primitive(P(f))) << f;
    Poly extreme;
    extreme.terms = {Term{0, INT64_MIN}, Term{1, 2}};
    EXPECT_FALSE(poly_is_primitive(extreme));
}

TEST(SquarefreeIntDeathTest, RefusesZeroAndCommonDivisors)
{
    const auto without_input = [] { (void)std::freopen("/dev/null", "r", stdin); };
    EXPECT_EXIT((without_input(), squarefree_int(Poly{})), testing::ExitedWithCode(EXIT_CANNOT_COMPUTE), "");
    for (const char* f : {"2x + 2", "2x^2 - 2", "6x^2 + 12x + 6", "-4x^2 - 8x - 4"})
        EXPECT_EXIT((without_input(), squarefree_int(P(f))), testing::ExitedWithCode(EXIT_CANNOT_COMPUTE), "") << f;
}

// --- the same factorization computed two ways -------------------------------------------------

NTL::ZZX to_ntl(const Poly& f)
{
    NTL::ZZX g;
    for (const Term& t : f.terms)
        NTL::SetCoeff(g, t.exponent, t.coefficient);
    return g;
}

Poly from_ntl(const NTL::ZZX& g)
{
    Poly f;
    for (long i = 0; i <= NTL::deg(g); ++i)
        if (!NTL::IsZero(NTL::coeff(g, i)))
            f.terms.push_back(Term{i, NTL::conv<long>(NTL::coeff(g, i))});
    return f;
}

NTL::ZZX power_of(const NTL::ZZX& a, std::int64_t e)
{
    NTL::ZZX result(1);
    for (std::int64_t i = 0; i < e; ++i)
        result *= a;
    return result;
}

// ±a_1^m_1 ⋯ a_r^m_r with random primitive factors, coefficients of the product within 32 bits.
NTL::ZZX random_input(std::mt19937_64& rng)
{
    for (;;) {
        NTL::ZZX f(rng() % 2 == 0 ? 1 : -1);
        const int factors = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < factors; ++i) {
            NTL::ZZX a;
            const long degree = 1 + static_cast<long>(rng() % 3);
            for (long e = 0; e <= degree; ++e)
                NTL::SetCoeff(a, e, static_cast<long>(rng() % 19) - 9);
            if (NTL::deg(a) < 1)
                continue;
            if (NTL::LeadCoeff(a) < 0)
                a = -a;
            NTL::ZZ content;
            NTL::content(content, a);
            f *= power_of(a / content, 1 + static_cast<long>(rng() % 4));
        }
        NTL::ZZ largest;
        for (long i = 0; i <= NTL::deg(f); ++i)
            if (NTL::abs(NTL::coeff(f, i)) > largest)
                largest = NTL::abs(NTL::coeff(f, i));
        if (NTL::deg(f) >= 1 && NTL::NumBits(largest) <= 31)
            return f;
    }
}

TEST(SquarefreeIntProperty, RandomProductsAgreeWithNtl)
{
    const std::uint64_t seed = 4;
    std::mt19937_64 rng(seed);
    for (int round = 0; round < 400; ++round) {
        const NTL::ZZX f = random_input(rng);
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round) + ", f = " + show(from_ntl(f)));
        const FactorList list = squarefree_int(from_ntl(f));

        NTL::ZZX product(1);
        std::vector<NTL::ZZX> nodes;
        for (std::int64_t k = 1; k <= list.length; ++k) {
            const NTL::ZZX node = to_ntl(factor_list_at(list, k));
            product *= power_of(node, k);
            EXPECT_TRUE(poly_is_primitive(factor_list_at(list, k))) << "position " << k;
            if (k > 1) {
                EXPECT_GT(NTL::LeadCoeff(node), 0) << "position " << k;
            }
            if (NTL::deg(node) > 0) {
                EXPECT_EQ(NTL::deg(NTL::GCD(node, NTL::diff(node))), 0) << "position " << k << " is not square-free";
                for (const NTL::ZZX& other : nodes)
                    EXPECT_EQ(NTL::deg(NTL::GCD(node, other)), 0) << "position " << k << " shares a factor";
                nodes.push_back(node);
            }
        }
        EXPECT_EQ(product, f);
        EXPECT_EQ(NTL::sign(NTL::LeadCoeff(to_ntl(factor_list_at(list, 1)))), NTL::sign(NTL::LeadCoeff(f)));
        EXPECT_GE(NTL::deg(to_ntl(factor_list_at(list, list.length))), 1) << "the last position is a constant";

        NTL::vec_pair_ZZX_long expected;
        NTL::SquareFreeDecomp(expected, NTL::sign(NTL::LeadCoeff(f)) < 0 ? NTL::ZZX(-f) : f);
        std::map<long, NTL::ZZX> by_multiplicity;
        for (long i = 0; i < expected.length(); ++i)
            by_multiplicity[expected[i].b] = expected[i].a;
        EXPECT_EQ(list.length, by_multiplicity.rbegin()->first);
        for (std::int64_t k = 1; k <= list.length; ++k) {
            NTL::ZZX want = by_multiplicity.count(k) ? by_multiplicity[k] : NTL::ZZX(1);
            if (k == 1 && NTL::sign(NTL::LeadCoeff(f)) < 0)
                want = -want;
            EXPECT_EQ(to_ntl(factor_list_at(list, k)), want) << "position " << k;
        }
        if (HasFailure())
            return;
    }
}

}  // namespace
