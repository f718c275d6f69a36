#include <gtest/gtest.h>

#include <NTL/lzz_pXFactoring.h>

#include <random>

#include "frontend/fatal.h"
#include "squarefree/squarefree.h"
#include "tests/support/notation.h"

namespace {

struct Case {
    std::int64_t p;
    const char* f;
    const char* positions;
};

class SquarefreeMod : public testing::TestWithParam<Case> {};

TEST_P(SquarefreeMod, BuildsTheListPositionByPosition)
{
    const Case& c = GetParam();
    EXPECT_EQ(show(squarefree_mod(c.p, P(c.f))), c.positions) << c.f << " modulo " << c.p;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SquarefreeMod,
    testing::Values(Case{5, "4", "[4]"}, Case{5, "x", "[x]"}, Case{5, "2x^2 + 4x + 2", "[2, x + 1]"},
                    Case{7, "x^3 + 3x^2 + 3x + 1", "[1, 1, x + 1]"}, Case{2, "x^3 + x^2 + x + 1", "[1, 1, x + 1]"},
                    Case{3, "x^3", "[1, 1, x]"}, Case{5, "x^5", "[1, 1, 1, 1, x]"}, Case{2, "x^4 + x^2", "[1, x^2 + x]"},
                    Case{3, "x^6 + 2x^3 + 1", "[1, 1, 1, 1, 1, x + 1]"}, Case{3, "x^4 + x", "[x, 1, x + 1, 1]"},
                    Case{3, "x^5 + 2x^4 + x^3", "[1, x + 1, x, 1, 1]"}, Case{3, "2x^3 + 2", "[2, 1, x + 1, 1]"},
                    Case{7, "3x^7 + 3", "[3, 1, 1, 1, 1, 1, x + 1, 1]"}, Case{3, "2x^4 + 2x^3", "[2x + 2, 1, x, 1]"},
                    Case{5, "3x^2 + 1", "[3x^2 + 1]"}, Case{2147483647, "x^2 + 2x + 1", "[1, x + 1]"}));

TEST(SquarefreeModDeathTest, ZeroPolynomialCannotBeComputed)
{
    EXPECT_EXIT(
        {
            (void)std::freopen("/dev/null", "r", stdin);
            squarefree_mod(5, Poly{});
        },
        testing::ExitedWithCode(EXIT_CANNOT_COMPUTE), "");
}

// --- the same factorization computed two ways -------------------------------------------------

NTL::zz_pX to_ntl(const Poly& f)
{
    NTL::zz_pX g;
    for (const Term& t : f.terms)
        NTL::SetCoeff(g, t.exponent, t.coefficient);
    return g;
}

Poly from_ntl(const NTL::zz_pX& g)
{
    Poly f;
    for (long i = 0; i <= NTL::deg(g); ++i)
        if (!NTL::IsZero(NTL::coeff(g, i)))
            f.terms.push_back(Term{i, NTL::rep(NTL::coeff(g, i))});
    return f;
}

// c · a_1^m_1 ⋯ a_r^m_r with random factors; small primes also get multiplicities that are
// multiples of p, so that p-th powers occur.
NTL::zz_pX random_input(std::mt19937_64& rng, std::int64_t p)
{
    NTL::zz_pX f;
    NTL::SetCoeff(f, 0, static_cast<long>(1 + rng() % static_cast<std::uint64_t>(p - 1)));
    const int factors = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < factors; ++i) {
        NTL::zz_pX a;
        const long degree = 1 + static_cast<long>(rng() % 4);
        for (long e = 0; e < degree; ++e)
            NTL::SetCoeff(a, e, static_cast<long>(rng() % static_cast<std::uint64_t>(p)));
        NTL::SetCoeff(a, degree, 1);
        long multiplicity = 1 + static_cast<long>(rng() % 4);
        if (p <= 7 && rng() % 3 == 0)
            multiplicity = p * (1 + static_cast<long>(rng() % 2)) + (rng() % 2 == 0 ? 0 : 1);
        f *= NTL::power(a, multiplicity);
    }
    return f;
}

void expect_valid_factorization(const FactorList& list, const NTL::zz_pX& f)
{
    ASSERT_GE(list.length, 1);
    NTL::zz_pX product(1);
    std::vector<NTL::zz_pX> nodes;
    for (std::int64_t k = 1; k <= list.length; ++k) {
        const NTL::zz_pX node = to_ntl(factor_list_at(list, k));
        product *= NTL::power(node, k);
        if (k > 1) {
            EXPECT_TRUE(NTL::IsOne(NTL::LeadCoeff(node))) << "position " << k << " is not monic";
        }
        if (NTL::deg(node) > 0) {
            EXPECT_TRUE(NTL::IsOne(NTL::GCD(node, NTL::diff(node)))) << "position " << k << " is not square-free";
            for (const NTL::zz_pX& other : nodes)
                EXPECT_TRUE(NTL::IsOne(NTL::GCD(node, other))) << "position " << k << " shares a factor";
            nodes.push_back(node);
        }
    }
    EXPECT_EQ(product, f) << "the product of the positions is not the input";
    EXPECT_EQ(NTL::LeadCoeff(to_ntl(factor_list_at(list, 1))), NTL::LeadCoeff(f));

    // NTL's own square-free decomposition of f made monic, brought to the same positions.
    NTL::vec_pair_zz_pX_long expected;
    NTL::SquareFreeDecomp(expected, f / NTL::LeadCoeff(f));
    std::map<long, NTL::zz_pX> by_multiplicity;
    for (long i = 0; i < expected.length(); ++i)
        by_multiplicity[expected[i].b] = expected[i].a;
    for (std::int64_t k = 1; k <= list.length; ++k) {
        NTL::zz_pX want = by_multiplicity.count(k) ? by_multiplicity[k] : NTL::zz_pX(1);
        if (k == 1)
            want *= NTL::LeadCoeff(f);
        EXPECT_EQ(to_ntl(factor_list_at(list, k)), want) << "position " << k;
    }
    if (!by_multiplicity.empty()) {
        EXPECT_GE(list.length, by_multiplicity.rbegin()->first);
    }
}

TEST(SquarefreeModProperty, RandomProductsAgreeWithNtl)
{
    const std::uint64_t seed = 20261210;
    std::mt19937_64 rng(seed);
    for (const std::int64_t p : {2L, 3L, 5L, 7L, 101L, 65537L, 2147483647L}) {
        NTL::zz_p::init(p);
        for (int round = 0; round < 150; ++round) {
            const NTL::zz_pX f = random_input(rng, p);
            SCOPED_TRACE("seed " + std::to_string(seed) + ", p = " + std::to_string(p) + ", f = " + show(from_ntl(f)));
            expect_valid_factorization(squarefree_mod(p, from_ntl(f)), f);
            if (HasFailure())
                return;
        }
    }
}

}  // namespace
