#include <gtest/gtest.h>

#include "frontend/fatal.h"
#include "intgcd/intgcd.h"
#include "tests/support/notation.h"

namespace {

struct Case {
    const char* a;
    const char* b;
    const char* gcd;
};

class PolyGcdInt : public testing::TestWithParam<Case> {};

TEST_P(PolyGcdInt, KeepsTheContentAndMakesTheLeadPositive)
{
    const Case& c = GetParam();
    const Poly a = P(c.a), b = P(c.b);
    EXPECT_EQ(show(poly_gcd_int(a, b)), c.gcd);
    EXPECT_EQ(show(poly_gcd_int(b, a)), c.gcd);
    EXPECT_EQ(show(a), show(P(c.a)));
    EXPECT_EQ(show(b), show(P(c.b)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PolyGcdInt,
    testing::Values(Case{"x^2 - 1", "x - 1", "x - 1"}, Case{"2x^2 + 4x + 2", "4x + 4", "2x + 2"},
                    Case{"-x + 1", "x - 1", "x - 1"}, Case{"-3x^2 + 1", "0", "3x^2 - 1"}, Case{"0", "0", "0"},
                    Case{"x^2 + 1", "x", "1"}, Case{"6", "4x + 2", "2"},
                    Case{"x^300 - 1", "x^200 - 1", "x^100 - 1"},
                    Case{"9000000000000000000x^2", "9000000000000000000x", "9000000000000000000x"}));

TEST(PolyGcdIntDeathTest, CoefficientBeyond64BitsCannotBeComputed)
{
    // gcd(c·x, 0) = c·x with c = -(-2^63) = 2^63, one more than the largest signed 64-bit value.
    Poly a;
    a.terms = {Term{1, INT64_MIN}};
    EXPECT_EXIT(
        {
            (void)std::freopen("/dev/null", "r", stdin);
            poly_gcd_int(a, Poly{});
        },
        testing::ExitedWithCode(EXIT_CANNOT_COMPUTE), "");
}

}  // namespace
