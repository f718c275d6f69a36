#include <gtest/gtest.h>

#include "intgcd/intpoly.h"
#include "poly/failure.h"
#include "support/notation.h"

namespace {

IntPoly I(const char* text)
{
    return int_poly_from_poly(P(text));
}

std::string show(const IntPoly& f)
{
    return show(decimal_from_int_poly(f));
}

struct Case {
    const char* a;
    const char* b;
    const char* gcd;
};

class PolyGcdInt : public testing::TestWithParam<Case> {};

TEST_P(PolyGcdInt, KeepsTheContentAndMakesTheLeadPositive)
{
    const Case& c = GetParam();
    EXPECT_EQ(show(poly_gcd_int(I(c.a), I(c.b))), c.gcd);
    EXPECT_EQ(show(poly_gcd_int(I(c.b), I(c.a))), c.gcd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PolyGcdInt,
    testing::Values(Case{"x^2 - 1", "x - 1", "x - 1"}, Case{"2x^2 + 4x + 2", "4x + 4", "2x + 2"},
                    Case{"-x + 1", "x - 1", "x - 1"}, Case{"-3x^2 + 1", "0", "3x^2 - 1"}, Case{"0", "0", "0"},
                    Case{"x^2 + 1", "x", "1"}, Case{"6", "4x + 2", "2"},
                    Case{"x^300 - 1", "x^200 - 1", "x^100 - 1"}));

// Coefficients that fit no 64-bit integer are written through GMP's conversion, sign included.
TEST(IntPoly, DecimalDigitsOfCoefficientsPast63Bits)
{
    // (2^62 x^2)' = 2^63 x, and 2^63 x - (-2^63 x) = 2^64 x.
    const IntPoly big = int_poly_derivative(I("4611686018427387904x^2"));
    EXPECT_EQ(show(big), "9223372036854775808x");
    const IntPoly twice = int_poly_subtract(big, int_poly_negate(big));
    EXPECT_EQ(show(twice), "18446744073709551616x");
    EXPECT_EQ(show(int_poly_negate(twice)), "-18446744073709551616x");
}

TEST(IntPoly, InexactDivisionIsAnInvalidOperation)
{
    for (const auto& [a, b] : {std::pair{"4x + 3", "2"}, std::pair{"x^2", "2x + 1"}, std::pair{"6", "-4"}}) {
        try {
            int_poly_exact_quotient(I(a), I(b));
            ADD_FAILURE() << a << " / " << b << " was taken as exact";
        } catch (const ComputationFailure& failure) {
            EXPECT_EQ(failure.failure, Failure::invalid_operation);
        }
    }
    EXPECT_EQ(show(int_poly_exact_quotient(I("0"), I("x + 2"))), "0");
}

TEST(IntPoly, ImagesModuloAPrime)
{
    EXPECT_EQ(show(int_poly_reduce(I("-x^2 + 2147483648x + 7"), 2147483647)), "2147483646x^2 + x + 7");
    EXPECT_EQ(int_poly_degree(I("0")), -1);
    EXPECT_EQ(int_poly_lead_sign(I("-3x^4 + 1")), -1);
}

}  // namespace
