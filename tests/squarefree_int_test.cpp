#include <gtest/gtest.h>

#include <random>

#include "frontend/fatal.h"
#include "squarefree/squarefree.h"
#include "tests/support/notation.h"
#include "tests/support/oracle.h"

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

TEST(SquarefreeIntProperty, RandomProductsAgreeWithNtl)
{
    const std::uint64_t seed = 4;
    std::mt19937_64 rng(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int round = 0; round < 400 && !HasFailure(); ++round)
        check_squarefree_int(random_input_int(rng));
}

}  // namespace
