// The real program, run as a user runs it: bytes on standard input, exact bytes on standard
// output and the exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/notation_cases.h"
#include "support/process.h"

namespace {

const std::string kAskCharacteristic =
    "Zadajte charakteristiku telesa:\n\t0 pre pocitanie v Z\n\tp pre pocitanie v Zp\n";
const std::string kAskPolynomial =
    "\nZadajte polynom v tvare: coefx^deg + coefx^deg ... (napr. x^3 + 3x^2 - 5x + 7)\n";
const std::string kPrompts = kAskCharacteristic + kAskPolynomial;
const std::string kHeader = "\nBezstvorcova faktorizacia zadaneho polynomu: \n";
const std::string kNoMemory = "Nedostatok pamate! Program bude ukonceny.\n";
const std::string kInvalidOperation = "Nespravny vstup, neopravnena operacia! Program bude ukonceny.\n";
const std::string kCannotCompute = "Program nedokaze spocitat vysledok! Program bude ukonceny.\n";
const std::string kBadCharacteristic = "Chyba pri zadani charakteristiky telesa! Program bude ukonceny.\n";
const std::string kBadPolynomial = "Chyba pri zadani polynomu! Program bude ukonceny.\n";
const std::string kNotPrimitive =
    "Polynomy nie su primitivne nad Q, cize nemoze tvorit bezstvorcovu faktorizaciu nad Z. \n";

struct Dialogue {
    std::string characteristic;
    std::string line;
    std::string result;  // what follows the header
};

void PrintTo(const Dialogue& d, std::ostream* os)
{
    *os << testing::PrintToString(d.characteristic + "\n" + d.line);
}

std::string dialogue_input(const Dialogue& d)
{
    return d.characteristic + "\n" + d.line + "\n";
}

class Factorization : public testing::TestWithParam<Dialogue> {};

TEST_P(Factorization, PrintsTheResultLineAndExitsZero)
{
    const Dialogue& d = GetParam();
    const RunResult run = run_program(dialogue_input(d));
    EXPECT_EQ(run.out, kPrompts + kHeader + d.result);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, "");
}

// Over the integers: the road of one request, and the node lists of the integer factorization.
INSTANTIATE_TEST_SUITE_P(
    OverZ, Factorization,
    testing::Values(
        Dialogue{"0", "x^3 + 3x^2 - 4", "-4 x^0 + 3 x^2 + 1 x^3 = (-1 x^0 + 1 x^1 )^1 * (2 x^0 + 1 x^1 )^2 "},
        Dialogue{"0", "5", "5 x^0 = (5 x^0 )^1 "},
        Dialogue{"0", "-7", "-7 x^0 = (-7 x^0 )^1 "},
        Dialogue{"0", "6", "6 x^0 = (6 x^0 )^1 "},
        Dialogue{"0", "x", "1 x^1 = (1 x^1 )^1 "},
        Dialogue{"0", "x^2 - 3x + 2", "2 x^0 -3 x^1 + 1 x^2 = (2 x^0 -3 x^1 + 1 x^2 )^1 "},
        Dialogue{"0", "x^4 - 1", "-1 x^0 + 1 x^4 = (-1 x^0 + 1 x^4 )^1 "},
        Dialogue{"0", "x^2 + 2x + 1", "1 x^0 + 2 x^1 + 1 x^2 = (1 x^0 + 1 x^1 )^2 "},
        Dialogue{"0", "-x^2 - 2x - 1", "-1 x^0 -2 x^1 -1 x^2 = (-1 x^0 )^1 * (1 x^0 + 1 x^1 )^2 "},
        Dialogue{"0", "x^3 - 3x^2 + 3x - 1", "-1 x^0 + 3 x^1 -3 x^2 + 1 x^3 = (-1 x^0 + 1 x^1 )^3 "},
        Dialogue{"0", "x^4 + 3x^3 + 3x^2 + x", "1 x^1 + 3 x^2 + 3 x^3 + 1 x^4 = (1 x^1 )^1 * (1 x^0 + 1 x^1 )^3 "},
        Dialogue{"0", "x^4 + 3x^3 - 7x^2 - 15x + 18",
                 "18 x^0 -15 x^1 -7 x^2 + 3 x^3 + 1 x^4 = (2 x^0 -3 x^1 + 1 x^2 )^1 * (3 x^0 + 1 x^1 )^2 "},
        Dialogue{"0", "2x^4 + 7x^3 + 12x^2 + 11x + 4",
                 "4 x^0 + 11 x^1 + 12 x^2 + 7 x^3 + 2 x^4 = (4 x^0 + 3 x^1 + 2 x^2 )^1 * (1 x^0 + 1 x^1 )^2 "},
        Dialogue{"0", "x^3 + x^2 - x - 1", "-1 x^0 -1 x^1 + 1 x^2 + 1 x^3 = (-1 x^0 + 1 x^1 )^1 * (1 x^0 + 1 x^1 )^2 "},
        // The derivative leaves 32 bits; the computation does not.
        Dialogue{"0", "1000000000x^3 + 1", "1 x^0 + 1000000000 x^3 = (1 x^0 + 1000000000 x^3 )^1 "},
        Dialogue{"0", "-2147483648x^2 + 1", "1 x^0 -2147483648 x^2 = (1 x^0 -2147483648 x^2 )^1 "}));

// Modulo p: the node lists of the modular factorization, constant-one positions counted.
INSTANTIATE_TEST_SUITE_P(
    ModuloP, Factorization,
    testing::Values(
        Dialogue{"3", "x^3 + 1", "1 x^0 + 1 x^3 = (1 x^0 + 1 x^1 )^3 "},
        Dialogue{"5", "4", "4 x^0 = (4 x^0 )^1 "},
        Dialogue{"5", "x", "1 x^1 = (1 x^1 )^1 "},
        Dialogue{"5", "2x^2 + 4x + 2", "2 x^0 + 4 x^1 + 2 x^2 = (2 x^0 )^1 * (1 x^0 + 1 x^1 )^2 "},
        Dialogue{"7", "x^3 + 3x^2 + 3x + 1", "1 x^0 + 3 x^1 + 3 x^2 + 1 x^3 = (1 x^0 + 1 x^1 )^3 "},
        Dialogue{"2", "x^3 + x^2 + x + 1", "1 x^0 + 1 x^1 + 1 x^2 + 1 x^3 = (1 x^0 + 1 x^1 )^3 "},
        Dialogue{"3", "x^3", "1 x^3 = (1 x^1 )^3 "},
        Dialogue{"5", "x^5", "1 x^5 = (1 x^1 )^5 "},
        Dialogue{"2", "x^4 + x^2", "1 x^2 + 1 x^4 = (1 x^1 + 1 x^2 )^2 "},
        Dialogue{"3", "x^6 + 2x^3 + 1", "1 x^0 + 2 x^3 + 1 x^6 = (1 x^0 + 1 x^1 )^6 "},
        Dialogue{"3", "x^4 + x", "1 x^1 + 1 x^4 = (1 x^1 )^1 * (1 x^0 + 1 x^1 )^3 "},
        Dialogue{"3", "x^5 + 2x^4 + x^3", "1 x^3 + 2 x^4 + 1 x^5 = (1 x^0 + 1 x^1 )^2 * (1 x^1 )^3 "},
        Dialogue{"3", "2x^3 + 2", "2 x^0 + 2 x^3 = (2 x^0 )^1 * (1 x^0 + 1 x^1 )^3 "},
        Dialogue{"7", "3x^7 + 3", "3 x^0 + 3 x^7 = (3 x^0 )^1 * (1 x^0 + 1 x^1 )^7 "},
        Dialogue{"3", "2x^4 + 2x^3", "2 x^3 + 2 x^4 = (2 x^0 + 2 x^1 )^1 * (1 x^1 )^3 "},
        Dialogue{"5", "7x^2 - 1", "4 x^0 + 2 x^2 = (4 x^0 + 2 x^2 )^1 "},
        Dialogue{"2147483647", "x^2 - 2x + 1",
                 "1 x^0 + 2147483645 x^1 + 1 x^2 = (2147483646 x^0 + 1 x^1 )^2 "},
        Dialogue{"2147483647", "-x^2 + 1", "1 x^0 + 2147483646 x^2 = (1 x^0 + 2147483646 x^2 )^1 "}));

// The characteristic line is read like scanf "%d" and one more character.
INSTANTIATE_TEST_SUITE_P(
    CharacteristicLine, Factorization,
    testing::Values(Dialogue{"\n\n  7", "x^0", "1 x^0 = "},
                    Dialogue{"+5", "x", "1 x^1 = (1 x^1 )^1 "},
                    Dialogue{"0", "x^0", "1 x^0 = "}));

TEST(Dialogue, CharacteristicAndPolynomialOnOneLine)
{
    // The blank after 5 is the discarded character: the rest of the line is the polynomial.
    const RunResult run = run_program("5 x^2 + 1\n");
    EXPECT_EQ(run.out, kPrompts + kHeader + "1 x^0 + 1 x^2 = (1 x^0 + 1 x^2 )^1 ");
    EXPECT_EQ(run.exit_code, 0);
}

// The echo shows the polynomial as read: every line of the reader's table, run through the program.
// A line read over the integers is run modulo the largest prime instead, where every polynomial but
// zero is answered, so that the echo is always visible; its coefficients appear reduced.
std::string echo_of(const char* terms, std::int64_t p)
{
    std::string echo;
    long long exponent = 0, coefficient = 0;
    for (const char* at = terms; std::sscanf(at, "{%lld, %lld} ", &exponent, &coefficient) == 2;
         at = std::strchr(at, '}') + 2) {
        if (p != 0)
            coefficient = ((coefficient % p) + p) % p;
        if (coefficient == 0)
            continue;
        echo += (!echo.empty() && coefficient > 0 ? "+ " : "") + std::to_string(coefficient) + " x^" + std::to_string(exponent) + " ";
    }
    return echo;
}

class ReaderEcho : public testing::TestWithParam<AcceptedLine> {};

TEST_P(ReaderEcho, EchoesThePolynomialAsRead)
{
    const AcceptedLine& line = GetParam();
    const std::int64_t p = line.p != 0 ? line.p : 2147483647;
    const RunResult run = run_program(std::to_string(p) + "\n" + line.text + "\n");
    const std::string echo = echo_of(line.terms, p);
    if (echo.empty()) {  // the zero polynomial
        EXPECT_EQ(run.out, kPrompts + kCannotCompute);
        EXPECT_EQ(run.exit_code, 3);
        return;
    }
    const std::string expected = kPrompts + kHeader + echo + "= ";
    EXPECT_EQ(run.out.substr(0, expected.size()), expected) << run.out;
    EXPECT_EQ(run.exit_code, 0);
}

INSTANTIATE_TEST_SUITE_P(AcceptedLines, ReaderEcho, testing::ValuesIn(kAcceptedLines));

class RejectedLine : public testing::TestWithParam<const char*> {};

TEST_P(RejectedLine, EndsWithTheNotationMessage)
{
    const RunResult run = run_program(std::string("0\n") + GetParam() + "\n");
    EXPECT_EQ(run.out, kPrompts + kBadPolynomial);
    EXPECT_EQ(run.exit_code, 5);
    EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(Lines, RejectedLine, testing::ValuesIn(kRejectedLines));

// A run that ends early: the exact output, the status, and no output on standard error.
struct Ending {
    std::string input;
    std::string out;
    int status;
};

void PrintTo(const Ending& e, std::ostream* os)
{
    *os << testing::PrintToString(e.input);
}

class EarlyEnding : public testing::TestWithParam<Ending> {};

TEST_P(EarlyEnding, PrintsTheMessageAndExitsWithItsStatus)
{
    const Ending& e = GetParam();
    const RunResult run = run_program(e.input);
    EXPECT_EQ(run.out, e.out);
    EXPECT_EQ(run.exit_code, e.status);
    EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Characteristic, EarlyEnding,
    testing::Values(Ending{"abc\n", kAskCharacteristic + kBadCharacteristic, 4},
                    Ending{"", kAskCharacteristic + kBadCharacteristic, 4},
                    Ending{"\n\n", kAskCharacteristic + kBadCharacteristic, 4},
                    Ending{"-\n", kAskCharacteristic + kBadCharacteristic, 4},
                    Ending{"1\nx\n", kAskCharacteristic + kBadCharacteristic, 4},
                    Ending{"4\nx\n", kAskCharacteristic + kBadCharacteristic, 4},
                    Ending{"-3\nx\n", kAskCharacteristic + kBadCharacteristic, 4},
                    Ending{"2147483646\nx\n", kAskCharacteristic + kBadCharacteristic, 4},
                    Ending{"2147483648\nx\n", kAskCharacteristic + kBadCharacteristic, 4},
                    Ending{"4294967303\nx\n", kAskCharacteristic + kBadCharacteristic, 4},
                    Ending{"99999999999999999999999\nx\n", kAskCharacteristic + kBadCharacteristic, 4}));

// What only the whole dialogue shows: the characteristic's discarded character, input that ends
// without a line feed, bytes the reader never sees as text.
INSTANTIATE_TEST_SUITE_P(
    PolynomialLine, EarlyEnding,
    testing::Values(Ending{"7 \nx\n", kPrompts + kBadPolynomial, 5}, Ending{"0\nx^2 + 1", kPrompts + kBadPolynomial, 5},
                    Ending{"0\nx^2 + 1\r\n", kPrompts + kBadPolynomial, 5},
                    Ending{std::string("0\nx\0\n", 5), kPrompts + kBadPolynomial, 5},
                    Ending{"0\nx\xc3\xa1\n", kPrompts + kBadPolynomial, 5},
                    // The exponent limit ends at the term's commit, as exhausted memory.
                    Ending{"0\nx^1073741824 + 1\n", kPrompts + kNoMemory, 1},
                    Ending{"0\nx^2147483647\n", kPrompts + kNoMemory, 1}));

INSTANTIATE_TEST_SUITE_P(
    Computation, EarlyEnding,
    testing::Values(Ending{"0\n0\n", kPrompts + kCannotCompute, 3}, Ending{"0\n0x^0 - 0\n", kPrompts + kCannotCompute, 3},
                    Ending{"5\n5x\n", kPrompts + kCannotCompute, 3}, Ending{"3\n0\n", kPrompts + kCannotCompute, 3},
                    Ending{"0\n2x + 2\n", kPrompts + kNotPrimitive + kCannotCompute, 3},
                    Ending{"0\n2x^2 - 2\n", kPrompts + kNotPrimitive + kCannotCompute, 3},
                    Ending{"0\n6x^2 + 12x + 6\n", kPrompts + kNotPrimitive + kCannotCompute, 3},
                    Ending{"0\n-4x^2 - 8x - 4\n", kPrompts + kNotPrimitive + kCannotCompute, 3},
                    Ending{"0\n2x3\n", kPrompts + kNotPrimitive + kCannotCompute, 3}));

// How many characters the pause after a message takes, seen with input that stays open: a program
// still running after kWaits has stopped to wait for more input.
constexpr int kWaits = 1500;
constexpr int kEndsAtOnce = 5000;

RunResult run_with_input_open(const std::string& input, int timeout_ms)
{
    RunOptions options;
    options.close_stdin = false;
    options.timeout_ms = timeout_ms;
    return run_program(input, options);
}

TEST(Pause, RejectedFirstCharacterWithTwoMoreEndsWithoutWaiting)
{
    const RunResult run = run_with_input_open("0\n^ab\n", kEndsAtOnce);
    EXPECT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_code, 5);
    EXPECT_EQ(run.out, kPrompts + kBadPolynomial);
}

TEST(Pause, RejectedEmptyLineWaitsForThreeCharacters)
{
    const RunResult waiting = run_with_input_open("0\n\nab", kWaits);
    EXPECT_TRUE(waiting.timed_out) << "ended after two of the three pause characters";
    EXPECT_EQ(waiting.out, kPrompts + kBadPolynomial);

    const RunResult done = run_with_input_open("0\n\nabc", kEndsAtOnce);
    EXPECT_FALSE(done.timed_out);
    EXPECT_EQ(done.exit_code, 5);
}

TEST(Pause, BadCharacteristicDiscardsOneCharacterThenPausesForTwo)
{
    EXPECT_TRUE(run_with_input_open("ab", kWaits).timed_out);
    const RunResult run = run_with_input_open("abc", kEndsAtOnce);
    EXPECT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_code, 4);
}

TEST(Pause, NormalRunWaitsForOneCharacter)
{
    const RunResult waiting = run_with_input_open("3\nx^3 + 1\n", kWaits);
    EXPECT_TRUE(waiting.timed_out);
    // The result line is visible while the program waits.
    EXPECT_EQ(waiting.out, kPrompts + kHeader + "1 x^0 + 1 x^3 = (1 x^0 + 1 x^1 )^3 ");

    const RunResult done = run_with_input_open("3\nx^3 + 1\nq", kEndsAtOnce);
    EXPECT_FALSE(done.timed_out);
    EXPECT_EQ(done.exit_code, 0);
}

TEST(Pause, PromptsAreVisibleBeforeEachRead)
{
    EXPECT_EQ(run_with_input_open("", kWaits).out, kAskCharacteristic);
    EXPECT_EQ(run_with_input_open("0\n", kWaits).out, kPrompts);
}

// The depth of the modular factorization reaches the degree; it must not need a deep stack.
TEST(Deep, HighMultiplicityUnderSmallStack)
{
    RunOptions small_stack;
    small_stack.stack_limit = 256 * 1024;
    const RunResult run = run_program("10007\nx^5000\n", small_stack);
    EXPECT_EQ(run.out, kPrompts + kHeader + "1 x^5000 = (1 x^1 )^5000 ");
    EXPECT_EQ(run.exit_code, 0);

    const RunResult sum = run_program("10007\nx^3000 + 3x^2000\n", small_stack);
    EXPECT_EQ(sum.out, kPrompts + kHeader + "3 x^2000 + 1 x^3000 = (3 x^0 + 1 x^1000 )^1 * (1 x^1 )^2000 ");
    EXPECT_EQ(sum.exit_code, 0);
}

}  // namespace

// --- hostile input -------------------------------------------------------------------------------

namespace {

TEST(Hostile, TenMegabyteLine)
{
    // 2.5 million terms that each replace the one before: the line is read to its end.
    std::string line;
    line.reserve(10'000'000);
    while (line.size() < 10'000'000)
        line += "3x^2 + ";
    line += "1";
    const RunResult run = run_program("0\n" + line + "\n");
    EXPECT_EQ(run.out, kPrompts + kHeader + "1 x^0 + 3 x^2 = (1 x^0 + 3 x^2 )^1 ");
    EXPECT_EQ(run.exit_code, 0);

    // Ten million digits: rejected at the digit that leaves 32 bits, the rest never read.
    const RunResult digits = run_program("0\n" + std::string(10'000'000, '7') + "\n");
    EXPECT_EQ(digits.out, kPrompts + kBadPolynomial);
    EXPECT_EQ(digits.exit_code, 5);
}

TEST(Hostile, EndOfInputAtEveryPosition)
{
    const std::string dialogue = "3\nx^4 + x\nq";
    for (std::size_t cut = 0; cut < dialogue.size(); ++cut) {
        const std::string input = dialogue.substr(0, cut);
        const RunResult run = run_program(input);
        SCOPED_TRACE(testing::PrintToString(input));
        EXPECT_EQ(run.signal, 0);
        EXPECT_EQ(run.err, "");
        if (cut <= 1) {  // no digit of the characteristic arrived, or its number ends the input
            EXPECT_EQ(run.exit_code, cut == 0 ? 4 : 5);
        } else if (cut < dialogue.size() - 1) {  // the polynomial line never got its line feed
            EXPECT_EQ(run.out, kPrompts + kBadPolynomial);
            EXPECT_EQ(run.exit_code, 5);
        } else {  // the whole line: the result, and end of input is the closing keystroke
            EXPECT_EQ(run.out, kPrompts + kHeader + "1 x^1 + 1 x^4 = (1 x^1 )^1 * (1 x^0 + 1 x^1 )^3 ");
            EXPECT_EQ(run.exit_code, 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, Factorization,
    testing::Values(
        Dialogue{"0", "2147483647x^2 - 2147483648", "-2147483648 x^0 + 2147483647 x^2 = (-2147483648 x^0 + 2147483647 x^2 )^1 "},
        Dialogue{"0", "-2147483648x^3 + 2147483647", "2147483647 x^0 -2147483648 x^3 = (2147483647 x^0 -2147483648 x^3 )^1 "},
        Dialogue{"2147483647", "2147483646x^2 + 2147483645x + 2147483646",
                 "2147483646 x^0 + 2147483645 x^1 + 2147483646 x^2 = (2147483646 x^0 )^1 * (1 x^0 + 1 x^1 )^2 "},
        Dialogue{"2147483647", "-2147483648x^2 - 1", "2147483646 x^0 + 2147483646 x^2 = (2147483646 x^0 + 2147483646 x^2 )^1 "},
        Dialogue{"0", "x^100000 - 1", "-1 x^0 + 1 x^100000 = (-1 x^0 + 1 x^100000 )^1 "},
        Dialogue{"1000003", "x^200000", "1 x^200000 = (1 x^1 )^200000 "},
        Dialogue{"0", "x^60000", "1 x^60000 = (1 x^1 )^60000 "},
        Dialogue{"2", "x^1048576 + 1", "1 x^0 + 1 x^1048576 = (1 x^0 + 1 x^1 )^1048576 "},
        // Sparse input over the integers costs what its terms cost: square-free by its images, a
        // monomial by its shape.
        Dialogue{"0", "x^1000000000 + 1", "1 x^0 + 1 x^1000000000 = (1 x^0 + 1 x^1000000000 )^1 "},
        Dialogue{"0", "-x^1073741823", "-1 x^1073741823 = (-1 x^0 )^1 * (1 x^1 )^1073741823 "},
        // Over Z a polynomial in x^g is factored through its g-th root, the power of x apart.
        Dialogue{"0", "x^200000000 + 2x^100000000 + 1",
                 "1 x^0 + 2 x^100000000 + 1 x^200000000 = (1 x^0 + 1 x^100000000 )^2 "},
        Dialogue{"0", "x^999999990 - 3x^666666660 + 3x^333333330 - 1",
                 "-1 x^0 + 3 x^333333330 -3 x^666666660 + 1 x^999999990 = (-1 x^0 + 1 x^333333330 )^3 "},
        Dialogue{"0", "x^200000005 + 2x^100000005 + x^5",
                 "1 x^5 + 2 x^100000005 + 1 x^200000005 = (1 x^0 + 1 x^100000000 )^2 * (1 x^1 )^5 "},
        Dialogue{"0", "-x^300000003 - 3x^200000003 - 3x^100000003 - x^3",
                 "-1 x^3 -3 x^100000003 -3 x^200000003 -1 x^300000003 = (-1 x^0 )^1 * (1 x^1 + 1 x^100000001 )^3 "},
        Dialogue{"0", "x^1073741823 + x + 1",
                 "1 x^0 + 1 x^1 + 1 x^1073741823 = (1 x^0 + 1 x^1 + 1 x^1073741823 )^1 "},
        Dialogue{"3", "x^1000000000 + 1", "1 x^0 + 1 x^1000000000 = (1 x^0 + 1 x^1000000000 )^1 "},
        // The remainders of the gcd with the derivative come from powers of x modulo a small divisor.
        Dialogue{"2147483647", "x^1073741823 + x + 1",
                 "1 x^0 + 1 x^1 + 1 x^1073741823 = (1 x^0 + 1 x^1 + 1 x^1073741823 )^1 "},
        // A polynomial in x^p of huge degree: its derivative is zero, its p-th roots are taken.
        Dialogue{"3", "x^999999999 + 1", "1 x^0 + 1 x^999999999 = (1 x^0 + 1 x^12345679 )^81 "},
        Dialogue{"3", "x^999999999 + x^3 + 1", "1 x^0 + 1 x^3 + 1 x^999999999 = (1 x^0 + 1 x^1 + 1 x^333333333 )^3 "},
        Dialogue{"3", "x^1073741823 + 2x^536870912 + x^2", "1 x^2 + 2 x^536870912 + 1 x^1073741823 = (1 x^0 + 2 x^536870910 + 1 x^1073741821 )^1 * (1 x^1 )^2 "}));

#if !defined(__SANITIZE_ADDRESS__)
// Exhausted memory ends the run with its message and status, not with an abort. (The address
// sanitizer reserves address space of its own, so these run in the plain build only.)
class Memory : public testing::TestWithParam<std::string> {};

TEST_P(Memory, ExhaustedAddressSpaceEndsWithNoMemory)
{
    RunOptions limited;
    limited.address_space_limit = 160L << 20;
    const RunResult run = run_program(GetParam(), limited);
    EXPECT_EQ(run.out, kPrompts + kNoMemory);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(Inputs, Memory,
                         testing::Values(// (x^10000000 + x + 1)^2 over Z: its image modulo a prime, refused
                                         // before it lays out the polynomial densely
                                         "0\nx^20000000 + 2x^10000001 + 2x^10000000 + x^2 + 2x + 1\n",
                                         // the modular gcd, once its remainders fill in
                                         "1000003\nx^33554430 + 2x^16777216 + 2x^16777215 + x^2 + 2x + 1\n",
                                         "0\nx^5000000 + 2x^2500001 + 2x^2500000 + x^2 + 2x + 1\n"));
#endif

// Without any limit: over Z, (x^500000000 + x + 1)^2, whose gcd with its derivative no term-list
// division finds and whose dense polynomials could never fit in the machine's memory, is refused
// at once instead of exhausting it.
TEST(Memory, ForeseenlyTooLargeIntegerGcdEndsWithNoMemory)
{
    const RunResult run = run_program("0\nx^1000000000 + 2x^500000001 + 2x^500000000 + x^2 + 2x + 1\n");
    EXPECT_EQ(run.out, kPrompts + kNoMemory);
    EXPECT_EQ(run.exit_code, 1);
}

// Factors whose coefficients leave 64 bits, while the input's stay within 32: printed exactly.
TEST(WideFactors, FixturesGiveTheExactFactors)
{
    struct Fixture {
        const char* name;
        const char* tail;  // the end of the result line
    };
    for (const Fixture& fixture :
         {Fixture{"factor-near-2-63.in", "-658848597 x^166 )^1 * (-1 x^0 + 1 x^1 )^9 "},
          Fixture{"factor-past-2-63.in", "+ 369441228 x^182 )^1 * (-1 x^0 + 1 x^1 )^11 "}}) {
        const std::string input = read_fixture(fixture.name);
        ASSERT_FALSE(input.empty()) << fixture.name;
        const RunResult run = run_program(input);
        EXPECT_EQ(run.exit_code, 0) << fixture.name;
        ASSERT_GE(run.out.size(), std::string(fixture.tail).size());
        EXPECT_EQ(run.out.substr(run.out.size() - std::string(fixture.tail).size()), fixture.tail) << fixture.name;
    }
}

}  // namespace

// --- the command line and the output device -----------------------------------------------------

namespace {

RunResult run_with_arguments(std::vector<std::string> arguments, const std::string& input = "")
{
    RunOptions options;
    options.arguments = std::move(arguments);
    return run_program(input, options);
}

TEST(CommandLine, HelpPrintsTheUsageAndExitsZero)
{
    for (const char* flag : {"--help", "-h"}) {
        const RunResult run = run_with_arguments({flag}, "0\nx\n\n");
        EXPECT_EQ(run.exit_code, 0) << flag;
        EXPECT_EQ(run.out.rfind("Pouzitie: squarefree", 0), 0u) << run.out;
        EXPECT_NE(run.out.find("6  standardny vystup sa neda zapisat"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("Zadajte"), std::string::npos) << "the dialogue started";
        EXPECT_EQ(run.err, "");
    }
}

TEST(CommandLine, VersionPrintsOneLine)
{
    const RunResult run = run_with_arguments({"--version"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out.rfind("squarefree ", 0), 0u);
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1);
}

TEST(CommandLine, AnyOtherArgumentEndsWithStatusSixWithoutTheDialogue)
{
    for (const auto& arguments : {std::vector<std::string>{"--frobnicate"}, std::vector<std::string>{"0"},
                                  std::vector<std::string>{"--help", "extra"}}) {
        const RunResult run = run_with_arguments(arguments, "0\nx\n\n");
        EXPECT_EQ(run.exit_code, 6);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "squarefree: neznamy argument '" + arguments.back() + "' (pozri squarefree --help)\n");
    }
}

TEST(Output, UnwritableStandardOutputEndsWithStatusSix)
{
    RunOptions full;
    full.output_to_full_device = true;
    for (const char* input : {"0\nx^2 - 1\n\n", "3\nx^4 + x\nq", "0\n2x + 2\n\n\n", "abc"}) {
        const RunResult run = run_program(input, full);
        EXPECT_EQ(run.exit_code, 6) << input;
        EXPECT_EQ(run.err, "Standardny vystup sa neda zapisat! Program bude ukonceny.\n") << input;
    }
    full.arguments = {"--help"};
    EXPECT_EQ(run_program("", full).exit_code, 6);
}

}  // namespace
