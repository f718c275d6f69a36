#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "frontend/ending.h"
#include "frontend/frontend.h"
#include "tests/support/notation.h"

namespace {

// Runs a reader on `text` as its input, with its prompt kept off the test's output.
template <typename Reader>
auto read_from(const std::string& text, Reader reader)
{
    std::FILE* in = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    testing::internal::CaptureStdout();
    try {
        auto value = reader(in);
        testing::internal::GetCapturedStdout();
        std::fclose(in);
        return value;
    } catch (...) {
        testing::internal::GetCapturedStdout();
        std::fclose(in);
        throw;
    }
}

// The ending that a reader raises on `text`, or 0 when it returns.
template <typename Reader>
int ending_of(const std::string& text, Reader reader)
{
    try {
        read_from(text, reader);
    } catch (const RunEnding& ending) {
        return ending.code;
    }
    return 0;
}

std::string terms_of(const Poly& f)
{
    std::string out;
    for (const Term& t : f.terms)
        out.append("{").append(std::to_string(t.exponent)).append(", ").append(std::to_string(t.coefficient)).append("} ");
    return out;
}

struct Line {
    const char* text;  // without its line feed
    std::int64_t p;
    const char* terms;
};

class ReadPolynomial : public testing::TestWithParam<Line> {};

TEST_P(ReadPolynomial, BuildsTheTermsAsTyped)
{
    const Line& l = GetParam();
    const Poly f = read_from(std::string(l.text) + "\nrest", [&](std::FILE* in) { return read_polynomial(in, l.p); });
    EXPECT_EQ(terms_of(f), l.terms) << "line '" << l.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadPolynomial,
    testing::Values(
        Line{"x^3 + 3x^2 - 5x + 7", 0, "{0, 7} {1, -5} {2, 3} {3, 1} "}, Line{"-x", 0, "{1, -1} "},
        Line{"7", 0, "{0, 7} "}, Line{"x^0", 0, "{0, 1} "}, Line{"+5", 0, "{0, 5} "}, Line{"- 3 x", 0, "{1, -3} "},
        Line{"3 x^2", 0, "{2, 3} "}, Line{"x ^2", 0, "{2, 1} "}, Line{"7 + x^3", 0, "{0, 7} {3, 1} "},
        Line{"x^2 + 5x^2", 0, "{2, 5} "}, Line{"x^2 + 3 - 3", 0, "{0, -3} {2, 1} "}, Line{"x^2 +", 0, "{2, 1} "},
        Line{"x^2 + 3 +", 0, "{2, 1} "}, Line{"x^", 0, "{1, 1} "}, Line{"0", 0, ""}, Line{"0x^2", 0, "{2, 1} "},
        Line{"2x3", 0, "{1, 23} "}, Line{"2x 3", 0, "{1, 23} "}, Line{"x2", 0, "{1, 12} "},
        Line{"x3 4", 0, "{1, 134} "}, Line{" x", 0, "{1, 1} "}, Line{" -5", 0, "{0, -5} "},
        Line{"x^200 + 1", 0, "{0, 1} {200, 1} "}, Line{"7x^2 - 1", 5, "{0, 4} {2, 2} "}, Line{"5x + 1", 5, "{0, 1} "},
        Line{"5x", 5, ""}, Line{"-12x^2", 7, "{2, 2} "}, Line{"-35", 0, "{0, -35} "}, Line{"-x3", 0, "{1, -13} "},
        Line{"-05x", 0, "{1, -5} "}, Line{"-0x", 0, "{1, -1} "}, Line{"-0", 0, ""}, Line{"-0 + x", 0, "{1, 1} "},
        Line{"-00012", 0, "{0, -12} "}, Line{"x^129 + x^128 + x^127", 0, "{127, 1} {128, 1} {129, 1} "},
        Line{"2147483647 - 2147483648x", 0, "{0, 2147483647} {1, -2147483648} "},
        Line{"-2147483648", 2147483647, "{0, 2147483646} "}));

class ReadPolynomialRejects : public testing::TestWithParam<const char*> {};

TEST_P(ReadPolynomialRejects, TheLine)
{
    EXPECT_EQ(ending_of(GetParam(), [](std::FILE* in) { return read_polynomial(in, 0); }), EXIT_BAD_POLYNOMIAL);
}

INSTANTIATE_TEST_SUITE_P(Lines, ReadPolynomialRejects,
                         testing::Values("\n", "  \n", "-\n", "3 4\n", " 5\n", "x^ 2\n", "x^2^3\n", "^2\n", "3^2\n",
                                         "x + + 1\n", "x +- 1\n", "+ -1\n", "x^-2\n", "x^2+1\n", "x^2 3\n", "2X\n",
                                         "2*x\n", "x y\n", "2 x3\n", " x2\n", "-0 5\n", "x", "", "x\r\n",
                                         "2147483648\n", "x^2147483648\n"));

TEST(ReadPolynomial, ExponentOf2To30IsOutOfMemoryWhenItsTermIsComplete)
{
    const auto read = [](std::FILE* in) { return read_polynomial(in, 0); };
    EXPECT_EQ(ending_of("x^1073741824\n", read), EXIT_NO_MEMORY);
    EXPECT_EQ(ending_of("x^1073741824 + x\n", read), EXIT_NO_MEMORY);
    EXPECT_EQ(ending_of("x^1073741824 + *\n", read), EXIT_NO_MEMORY);  // before the bad character
    EXPECT_EQ(ending_of("x^1073741823\n", read), 0);
}

struct Characteristic {
    const char* text;
    std::int64_t value;
};

class ReadCharacteristic : public testing::TestWithParam<Characteristic> {};

TEST_P(ReadCharacteristic, ReadsZeroOrAPrimeAndOneMoreCharacter)
{
    const Characteristic& c = GetParam();
    std::string rest;
    const std::int64_t p = read_from(c.text, [&](std::FILE* in) {
        const std::int64_t value = read_characteristic(in);
        for (int ch = std::getc(in); ch != EOF; ch = std::getc(in))
            rest += static_cast<char>(ch);
        return value;
    });
    EXPECT_EQ(p, c.value);
    EXPECT_EQ(rest, "next");
}

INSTANTIATE_TEST_SUITE_P(Lines, ReadCharacteristic,
                         testing::Values(Characteristic{"7\nnext", 7}, Characteristic{"0\nnext", 0},
                                         Characteristic{"\n \n\t+5 next", 5}, Characteristic{"2147483647xnext", 2147483647},
                                         Characteristic{"2\nnext", 2}, Characteristic{"65537\nnext", 65537}));

class ReadCharacteristicRefuses : public testing::TestWithParam<const char*> {};

TEST_P(ReadCharacteristicRefuses, AnythingButZeroOrAPrime)
{
    EXPECT_EQ(ending_of(GetParam(), [](std::FILE* in) { return read_characteristic(in); }), EXIT_BAD_CHARACTERISTIC);
}

INSTANTIATE_TEST_SUITE_P(Lines, ReadCharacteristicRefuses,
                         testing::Values("abc\n", "", "-\n", "+x\n", "1\n", "-1\n", "-7\n", "4\n", "9\n", "65535\n",
                                         "2147483646\n", "2147483648\n", "-2147483648\n", "-2147483649\n",
                                         "10000000000000000000000000\n"));

}  // namespace
