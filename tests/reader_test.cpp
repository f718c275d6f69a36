#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "frontend/ending.h"
#include "frontend/frontend.h"
#include "support/notation.h"
#include "support/notation_cases.h"

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

class ReadPolynomial : public testing::TestWithParam<AcceptedLine> {};

TEST_P(ReadPolynomial, BuildsTheTermsAsTyped)
{
    const AcceptedLine& l = GetParam();
    const Poly f = read_from(std::string(l.text) + "\nrest", [&](std::FILE* in) { return read_polynomial(in, l.p); });
    EXPECT_EQ(terms_of(f), l.terms) << "line '" << l.text << "'";
}

INSTANTIATE_TEST_SUITE_P(Lines, ReadPolynomial, testing::ValuesIn(kAcceptedLines));

class ReadPolynomialRejects : public testing::TestWithParam<const char*> {};

TEST_P(ReadPolynomialRejects, TheLine)
{
    EXPECT_EQ(ending_of(std::string(GetParam()) + "\n", [](std::FILE* in) { return read_polynomial(in, 0); }),
              EXIT_BAD_POLYNOMIAL);
}

INSTANTIATE_TEST_SUITE_P(Lines, ReadPolynomialRejects, testing::ValuesIn(kRejectedLines));

TEST(ReadPolynomial, LineWithoutItsLineFeedIsRejected)
{
    for (const char* text : {"x", "", "x^2 + 1"})
        EXPECT_EQ(ending_of(text, [](std::FILE* in) { return read_polynomial(in, 0); }), EXIT_BAD_POLYNOMIAL) << text;
}

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
