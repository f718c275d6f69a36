#include <gtest/gtest.h>

#include <random>

#include "frontend/fatal.h"
#include "squarefree/squarefree.h"
#include "tests/support/notation.h"
#include "tests/support/oracle.h"

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
