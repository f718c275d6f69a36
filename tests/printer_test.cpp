#include <gtest/gtest.h>

#include "frontend/frontend.h"
#include "support/notation.h"

namespace {

const std::string kHeader = "\nBezstvorcova faktorizacia zadaneho polynomu: \n";

FactorList list_of(const std::vector<std::string>& positions)
{
    FactorList list;
    for (const std::string& f : positions)
        factor_list_append(list, P(f));
    return list;
}

std::string printed(const FactorList& list, const Poly& input)
{
    testing::internal::CaptureStdout();
    print_factorization(list, input);
    return testing::internal::GetCapturedStdout();
}

TEST(PrintFactorization, WritesHeaderEchoAndEveryFactor)
{
    EXPECT_EQ(printed(list_of({"x - 1", "x + 1"}), P("x^3 + x^2 - x - 1")),
              kHeader + "-1 x^0 -1 x^1 + 1 x^2 + 1 x^3 = (-1 x^0 + 1 x^1 )^1 * (1 x^0 + 1 x^1 )^2 ");
}

struct Case {
    std::vector<std::string> list;
    const char* input;
    const char* line;  // what follows the header
};

class PrintFormats : public testing::TestWithParam<Case> {};

TEST_P(PrintFormats, PrintsTheLine)
{
    const Case& c = GetParam();
    EXPECT_EQ(printed(list_of(c.list), P(c.input)), kHeader + c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintFormats,
    testing::Values(
        // A constant-one position is counted but not printed, and no "* " stands before the first factor.
        Case{{"1", "x + 1"}, "x^2 + 2x + 1", "1 x^0 + 2 x^1 + 1 x^2 = (1 x^0 + 1 x^1 )^2 "},
        Case{{"x", "1", "x + 1"}, "x^4 + 3x^3 + 3x^2 + x", "1 x^1 + 3 x^2 + 3 x^3 + 1 x^4 = (1 x^1 )^1 * (1 x^0 + 1 x^1 )^3 "},
        Case{{"x^3 + 3x^2 - 5x + 7"}, "x^3 + 3x^2 - 5x + 7",
             "7 x^0 -5 x^1 + 3 x^2 + 1 x^3 = (7 x^0 -5 x^1 + 3 x^2 + 1 x^3 )^1 "},
        Case{{"1"}, "1", "1 x^0 = "}, Case{{"1", "1", "1"}, "1", "1 x^0 = "},
        Case{{"-1", "x"}, "-x^2", "-1 x^2 = (-1 x^0 )^1 * (1 x^1 )^2 "},
        Case{{"x", "1", "x + 1", "1"}, "x^4 + x", "1 x^1 + 1 x^4 = (1 x^1 )^1 * (1 x^0 + 1 x^1 )^3 "},
        Case{{"9000000000x"}, "9000000000x", "9000000000 x^1 = (9000000000 x^1 )^1 "}));

TEST(PrintFactorization, IntegerFactorsOfAnySize)
{
    IntFactorList list;
    list.factors.push_back({1, DecimalPoly{{{0, "-1"}}}});
    list.factors.push_back({3, DecimalPoly{{{0, "-170141183460469231731687303715884105729"}, {1, "18446744073709551616"}}}});
    list.length = 3;
    testing::internal::CaptureStdout();
    print_factorization(list, P("-x"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              kHeader + "-1 x^1 = (-1 x^0 )^1 * (-170141183460469231731687303715884105729 x^0 + 18446744073709551616 x^1 )^3 ");
}

}  // namespace
