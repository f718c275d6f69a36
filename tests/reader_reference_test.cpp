// The program's readers against the reference reading of the notation's rules: on every line of
// the notation tables and on seeded random lines, the same status, characteristic, terms and
// number of bytes consumed.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "reference/program_reading.h"
#include "reference/reference_reader.h"
#include "support/notation_cases.h"

namespace {

// Both readings of every input. The program's prompts are captured while it reads; the
// comparison comes after, so that a failure's message reaches the test's output.
void expect_same_readings(const std::vector<std::string>& inputs)
{
    std::vector<ReaderOutcome> program;
    testing::internal::CaptureStdout();
    for (const std::string& input : inputs)
        program.push_back(program_read(input));
    testing::internal::GetCapturedStdout();
    for (std::size_t i = 0; i < inputs.size(); ++i)
        EXPECT_EQ(describe(program[i]), describe(reference_read(inputs[i])))
            << "input " << testing::PrintToString(inputs[i]) << " (program, then reference)";
}

// A characteristic line, the polynomial line and its line feed, and a rest that neither reader
// may take.
std::string dialogue_input(const std::string& characteristic, const std::string& line)
{
    return characteristic + "\n" + line + "\nx\n";
}

TEST(ReaderReference, AgreesOnTheNotationTables)
{
    std::vector<std::string> inputs;
    for (const AcceptedLine& l : kAcceptedLines)
        inputs.push_back(dialogue_input(std::to_string(l.p), l.text));
    for (const char* text : kRejectedLines)
        for (const char* p : {"0", "3"})
            inputs.push_back(dialogue_input(p, text));
    // The characteristic's own cases: refused values, a missing number, a blank as its discarded
    // character, the polynomial on the same line, end of input anywhere.
    for (const char* start : {"abc\nx\n", "7 \nx\n", "5 x^2 + 1\n", "\n \n\t+5\nx\n", "-0\nx\n", "-\nx\n",
                              "+x\nx\n", "1\nx\n", "4\nx\n", "2147483647\nx\n", "2147483646\nx\n",
                              "2147483648\nx\n", "4294967311\nx\n", "-7\nx\n", "", "7", "7\n", "7\nx", " \n"})
        inputs.push_back(start);
    expect_same_readings(inputs);
}

// Random inputs drawn mostly from the notation's alphabet.
class RandomInputs {
public:
    explicit RandomInputs(std::uint64_t seed) : rng_(seed) {}

    std::string next()
    {
        std::string input = characteristic();
        const int length = uniform(0, 12);
        for (int i = 0; i < length; ++i)
            input += notation_piece();
        if (uniform(0, 99) < 92)
            input += '\n';
        for (int i = uniform(0, 3); i > 0; --i)
            input += notation_piece();
        return input;
    }

private:
    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    template <std::size_t N>
    const char* pick(const char* const (&choices)[N])
    {
        return choices[uniform(0, static_cast<int>(N) - 1)];
    }

    std::string digits(int count)
    {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += static_cast<char>('0' + uniform(0, 9));
        return out;
    }

    // Mostly 0 or a prime, small or large; now and then a number that is neither or that leaves
    // 32 bits, a sign, white space before it, something that is not a number, another character
    // after it.
    std::string characteristic()
    {
        static constexpr const char* kAccepted[] = {"0", "2", "3", "5", "7", "11", "101", "65537", "2147483647"};
        std::string out;
        if (uniform(0, 9) == 0)
            out += uniform(0, 1) == 0 ? "\n" : " \t";
        const int kind = uniform(0, 99);
        if (kind < 4)
            out += uniform(0, 1) == 0 ? "+" : "-";
        if (kind < 85)
            out += pick(kAccepted);
        else if (kind < 92)
            out += std::to_string(uniform(0, 40));
        else if (kind < 94)
            out += std::to_string(2147483647 - uniform(1, 100));
        else if (kind < 97)
            out += digits(uniform(5, 12));
        else
            out += uniform(0, 1) == 0 ? "x" : "";
        const int end = uniform(0, 19);
        out += end < 17 ? "\n" : end < 19 ? " " : ",";
        return out;
    }

    // A short stretch of the line: a number, an x, a caret, a sign, a blank, mostly as the
    // notation puts them together, and now and then any byte.
    std::string notation_piece()
    {
        const int kind = uniform(0, 99);
        if (kind < 2)
            return std::string(1, static_cast<char>(uniform(0, 255)));
        if (kind < 3)
            return digits(uniform(9, 11));
        if (kind < 5) {
            // at the ends of the 32-bit range and of the exponents
            static constexpr const char* kEnds[] = {"2147483647", "2147483648", "x^1073741823",
                                                    "x^1073741824", "x^2147483647", "x^2147483648"};
            return pick(kEnds);
        }
        if (kind < 30)
            return digits(uniform(1, 2));
        if (kind < 40)
            return "x";
        if (kind < 48)
            return "x^" + digits(uniform(1, 2));
        if (kind < 55)
            return "^";
        if (kind < 70) {
            static constexpr const char* kSigns[] = {" + ", " - ", "+", "-", " +", "- "};
            return pick(kSigns);
        }
        if (kind < 95)
            return " ";
        return "\t";
    }

    std::mt19937_64 rng_;
};

TEST(ReaderReference, AgreesOnRandomLines)
{
    RandomInputs random(20240615);
    std::vector<std::string> inputs;
    for (int i = 0; i < 4000; ++i)
        inputs.push_back(random.next());
    expect_same_readings(inputs);
}

}  // namespace
