#include <gtest/gtest.h>

#include "poly/poly.h"
#include "tests/support/notation.h"

namespace {

TEST(PolyEqual, ComparesEveryTerm)
{
    EXPECT_TRUE(poly_equal(P("0"), P("0")));
    EXPECT_FALSE(poly_equal(P("0"), P("1")));
    EXPECT_FALSE(poly_equal(P("3x^2 + 1"), P("3x^2 + 2")));
    EXPECT_FALSE(poly_equal(P("3x^2 + 1"), P("3x^3 + 1")));
    const Poly f = P("x^3 - 5x + 7");
    EXPECT_TRUE(poly_equal(poly_copy(f), poly_copy(f)));
}

struct Order {
    const char* a;
    const char* b;
    const char* greater;  // nullptr when equal
};

class PolyGreater : public testing::TestWithParam<Order> {};

TEST_P(PolyGreater, FollowsTheTermOrderWhicheverWayRound)
{
    const Order& o = GetParam();
    const Poly a = P(o.a), b = P(o.b);
    for (const bool swapped : {false, true}) {
        const Poly* g = swapped ? poly_greater(b, a) : poly_greater(a, b);
        if (o.greater == nullptr) {
            EXPECT_EQ(g, nullptr);
        } else {
            ASSERT_NE(g, nullptr);
            EXPECT_EQ(g, show(a) == o.greater ? &a : &b) << o.a << " vs " << o.b;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PolyGreater,
    testing::Values(Order{"x^2 + 5", "x^2 + 5", nullptr}, Order{"0", "0", nullptr},
                    Order{"-x^3", "x^2 + 5", "-x^3"},  // the higher exponent decides first
                    Order{"2x", "3x", "3x"}, Order{"x^2 + 2x", "x^2 + 3x", "x^2 + 3x"},
                    Order{"x^2 + 1", "x^2", "x^2 + 1"},
                    Order{"x^2 - 1", "x^2", "x^2"},      // a negative constant next term
                    Order{"x^2 - x", "x^2", "x^2 - x"},  // a negative non-constant next term does not count
                    Order{"0", "-5", "0"}, Order{"0", "5", "5"}, Order{"0", "-x", "-x"}));

TEST(CoefReduce, TruncatesThenMovesIntoRange)
{
    EXPECT_EQ(coef_reduce(-7, 5), 3);
    EXPECT_EQ(coef_reduce(7, 5), 2);
    EXPECT_EQ(coef_reduce(-10, 5), 0);
    EXPECT_EQ(coef_reduce(-1, 2147483647), 2147483646);
    EXPECT_EQ(coef_reduce(INT64_MIN, 2147483647), 2147483645);  // 2^31 = 1, so -2^63 = -2
}

TEST(PolyFromDense, KeepsNonZeroSlotsInOrder)
{
    EXPECT_EQ(show(poly_from_dense({}, 0)), "0");
    EXPECT_EQ(show(poly_from_dense({0, 0, 0}, 0)), "0");
    EXPECT_EQ(show(poly_from_dense({5, 10, -15}, 5)), "0");
    EXPECT_EQ(show(poly_from_dense({-12, 0, 7, 0}, 7)), "2");
    EXPECT_EQ(show(poly_from_dense({7, -5, 0, 1}, 0)), "x^3 - 5x + 7");
}

TEST(PolyOne, IsTheConstantOne)
{
    EXPECT_TRUE(poly_is_one(poly_one()));
    EXPECT_TRUE(poly_is_constant(P("-3")));
    EXPECT_FALSE(poly_is_constant(P("0")));
    EXPECT_FALSE(poly_is_one(P("x")));
}

TEST(FactorList, PositionsCountConstantOnes)
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
