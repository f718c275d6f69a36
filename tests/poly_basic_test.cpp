#include <gtest/gtest.h>

#include "poly/factor_list.h"
#include "poly/poly.h"
#include "support/notation.h"

namespace {

TEST(PolyEqual, ComparesEveryTerm)
{
    EXPECT_TRUE(poly_equal(P("0"), P("0")));
    EXPECT_FALSE(poly_equal(P("0"), P("1")));
    EXPECT_FALSE(poly_equal(P("3x^2 + 1"), P("3x^2 + 2")));
    EXPECT_FALSE(poly_equal(P("3x^2 + 1"), P("3x^3 + 1")));
    EXPECT_FALSE(poly_equal(P("3x^2 + 1"), P("3x^2")));
    EXPECT_TRUE(poly_equal(P("x^3 - 5x + 7"), P("7 - 5x + x^3")));
}

TEST(CoefReduce, TruncatesThenMovesIntoRange)
{
    EXPECT_EQ(coef_reduce(-7, 5), 3);
    EXPECT_EQ(coef_reduce(7, 5), 2);
    EXPECT_EQ(coef_reduce(-10, 5), 0);
    EXPECT_EQ(coef_reduce(-1, 2147483647), 2147483646);
    EXPECT_EQ(coef_reduce(INT64_MIN, 2147483647), 2147483645);  // 2^31 = 1, so -2^63 = -2
}

TEST(PolyReduce, KeepsTheNonZeroImages)
{
    EXPECT_EQ(show(poly_reduce(P("5x^2 + 10x - 15"), 5)), "0");
    EXPECT_EQ(show(poly_reduce(P("-12 + 7x^2 + 8x^3"), 7)), "x^3 + 2");
}

TEST(PolyOne, IsTheConstantOne)
{
    EXPECT_TRUE(poly_is_one(poly_one()));
    EXPECT_TRUE(poly_is_constant(P("-3")));
    EXPECT_FALSE(poly_is_constant(P("0")));
    EXPECT_FALSE(poly_is_one(P("x")));
}

TEST(FactorList, CountsTheConstantOnes)
{
    FactorList list;
    factor_list_append(list, P("x"));
    factor_list_append(list, poly_one());
    factor_list_append(list, P("x + 1"));
    factor_list_append_ones(list, 2);
    EXPECT_EQ(list.length, 5);
    EXPECT_EQ(list.factors.size(), 2u);
    EXPECT_EQ(show(list), "[x, 1, x + 1, 1, 1]");
}

}  // namespace
