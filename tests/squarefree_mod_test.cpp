#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "poly/failure.h"
#include "poly/thresholds.h"
#include "squarefree/squarefree.h"
#include "support/notation.h"
#include "support/oracle.h"

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

TEST(SquarefreeMod, ZeroPolynomialCannotBeComputed)
{
    EXPECT_THROW(squarefree_mod(5, Poly{}), ComputationFailure);
}

TEST(SquarefreeModProperty, RandomProductsAgreeWithNtl)
{
    const std::uint64_t seed = 20261210;
    std::mt19937_64 rng(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (const std::int64_t p : {2L, 3L, 5L, 7L, 101L, 65537L, 2147483647L}) {
        NTL::zz_p::init(p);
        for (int round = 0; round < 150 && !HasFailure(); ++round)
            check_squarefree_mod(p, random_input_mod(rng, p));
    }
}

}  // namespace

namespace {

// The factorization modulo p written as plainly as possible: the recursion on gcd(f, f'), one call
// per level, with every position held explicitly. The program's driver must build the same list.
std::vector<Poly> reference_squarefree_mod(std::int64_t p, Poly f)
{
    if (poly_is_constant(f))
        return {f};
    const Poly g = poly_gcd_mod(poly_derivative(f, p), f, p);
    if (poly_is_one(g))
        return {f};
    if (poly_equal(g, f)) {
        poly_deflate(f, p);
        std::vector<Poly> spread;
        for (const Poly& node : reference_squarefree_mod(p, f)) {
            for (std::int64_t i = 0; i + 1 < p; ++i)
                spread.push_back(poly_one());
            spread.push_back(node);
        }
        return spread;
    }
    Poly w = poly_quotient(f, p, g);
    std::vector<Poly> list = reference_squarefree_mod(p, g);
    list.push_back(poly_one());
    for (std::size_t k = 0; k + 1 < list.size(); ++k) {
        const Poly y = poly_gcd_mod(list[k], w, p);
        list[k] = poly_quotient(list[k], p, y);
        list[k + 1] = poly_multiply(list[k + 1], p, y);
        w = poly_quotient(w, p, y);
    }
    list[0] = poly_multiply(list[0], p, w);
    return list;
}

std::string show(const std::vector<Poly>& list)
{
    std::string out = "[";
    for (std::size_t k = 0; k < list.size(); ++k)
        out += (k > 0 ? ", " : "") + show(list[k]);
    return out + "]";
}

TEST(SquarefreeModReference, SameListAsThePlainRecursion)
{
    std::mt19937_64 rng(77);
    for (const std::int64_t p : {2L, 3L, 5L, 7L, 11L, 101L}) {
        NTL::zz_p::init(p);
        for (int round = 0; round < 120; ++round) {
            Poly f = poly_from_ntl(random_input_mod(rng, p, 3));
            if (round % 4 == 0) {  // monomials c·x^k, alone and times a random factor
                const Coef c = 1 + static_cast<Coef>(rng() % static_cast<std::uint64_t>(p - 1));
                const Poly monomial{{Term{1 + static_cast<Exponent>(rng() % 60), round % 8 == 0 ? 1 : c}}};
                f = round % 8 == 4 ? poly_multiply(monomial, p, f) : monomial;
            }
            EXPECT_EQ(show(squarefree_mod(p, f)), show(reference_squarefree_mod(p, f))) << show(f) << " modulo " << p;
        }
    }
}

// Long dense factors with multiplicities below, at and above p, times a power of x: the chain of
// gcds then runs on degrees above the half-gcd's crossovers, and its shortcut for a power of x
// left in g is taken. The reference shares the program's gcd, so NTL checks both as well.
TEST(SquarefreeModReference, SameListForLongFactors)
{
    std::mt19937_64 rng(78);
    for (const std::int64_t p : {2L, 3L, 5L, 1000003L}) {
        NTL::zz_p::init(p);
        const auto random_monic = [&rng, p](long degree) {
            NTL::zz_pX a;
            for (long e = 0; e < degree; ++e)
                NTL::SetCoeff(a, e, static_cast<long>(rng() % static_cast<std::uint64_t>(p)));
            NTL::SetCoeff(a, degree, 1);
            return a;
        };
        const long small = p < 1000 ? p : 4;  // a multiplicity that p divides where p is small
        const NTL::zz_pX f = NTL::zz_p(p - 1) * random_monic(900) * NTL::power(random_monic(700), 2) *
                             NTL::power(random_monic(300), small) * NTL::power(random_monic(100), small + 1);
        for (const long k : {0L, 1L, small, 3 * small + 2}) {
            NTL::zz_pX g = f;
            g <<= k;
            const Poly input = poly_from_ntl(g);
            EXPECT_EQ(show(squarefree_mod(p, input)), show(reference_squarefree_mod(p, input))) << p << " x^" << k;
            check_squarefree_mod(p, g);  // the reference's gcds are the program's: NTL's too
        }
    }
}

// Dense products whose factors go past multiplicity p in the chain, next to factors whose
// multiplicity p divides: short factors with multiplicities up to p^3 + 2 (their powers left in g
// take several rounds of w(x^P) to collect), and a long factor just above p with little else left
// in g (no w(x^P) short enough).
TEST(SquarefreeModReference, SameListForMultiplicitiesAboveP)
{
    struct Shape {
        std::int64_t p;
        std::vector<std::pair<long, long>> factors;  // (degree, multiplicity)
    };
    const Shape cases[] = {
        {2, {{60, 1}, {3, 5}, {2, 11}, {330, 4}}},
        {3, {{80, 1}, {4, 8}, {1, 29}, {2, 13}, {1100, 6}}},
        {3, {{90, 2}, {2, 4}, {1, 34}, {450, 3}}},
        {5, {{70, 1}, {3, 7}, {2, 27}, {2100, 5}}},
        {3, {{50, 1}, {60, 5}, {10, 3}}},
    };
    std::mt19937_64 rng(79);
    for (const Shape& c : cases) {
        NTL::zz_p::init(c.p);
        NTL::zz_pX f(1);
        for (const auto& [degree, multiplicity] : c.factors) {
            NTL::zz_pX a;
            for (long e = 0; e < degree; ++e)
                NTL::SetCoeff(a, e, static_cast<long>(rng() % static_cast<std::uint64_t>(c.p)));
            NTL::SetCoeff(a, degree, 1);
            f *= NTL::power(a, multiplicity);
        }
        const Poly input = poly_from_ntl(f);
        ASSERT_FALSE(poly_is_sparse(input));
        EXPECT_EQ(show(squarefree_mod(c.p, input)), show(reference_squarefree_mod(c.p, input))) << "modulo " << c.p;
        check_squarefree_mod(c.p, f);
    }
}

TEST(SquarefreeModReference, HugeMonomialsAreImmediate)
{
    EXPECT_EQ(squarefree_mod(2147483647, P("x^1073741823")).length, 1073741823);
    // 2·x^(2·3^12): made monic (one more position), then deflated twelve times down to x^2.
    EXPECT_EQ(squarefree_mod(3, P("2x^1062882")).length, 1062882 + 1);
    const FactorList list = squarefree_mod(7, P("3x^50"));
    EXPECT_EQ(show(factor_at(list, 1, poly_one())), "3");
    EXPECT_EQ(show(factor_at(list, 50, poly_one())), "x");
}

// Sparse inputs whose factors have multiplicities far above p: x^(10^9)·(x + 1)^3 and
// (x + 1)^(3^18 + 1) modulo 3. Every level of the recursion stays sparse; one round per
// multiplicity, or a quotient by x + 1 of (x + 1)^(3^18), would not finish.
TEST(SquarefreeModReference, SparseHighMultiplicitiesAreImmediate)
{
    const FactorList power_of_x = squarefree_mod(3, P("x^1000000003 + x^1000000000"));
    EXPECT_EQ(show(factor_at(power_of_x, 3, poly_one())), "x + 1");
    EXPECT_EQ(show(factor_at(power_of_x, 1000000000, poly_one())), "x");
    const FactorList binomial = squarefree_mod(3, P("x^387420490 + x^387420489 + x + 1"));
    ASSERT_EQ(binomial.factors.size(), 1U);
    EXPECT_EQ(binomial.factors[0].multiplicity, 387420490);
    EXPECT_EQ(show(binomial.factors[0].poly), "x + 1");
}

}  // namespace
