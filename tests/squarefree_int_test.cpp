#include <gtest/gtest.h>

#include <random>

#include "poly/failure.h"
#include "squarefree/squarefree.h"
#include "support/notation.h"
#include "support/oracle.h"
#include "support/process.h"

namespace {

struct Case {
    const char* f;
    const char* factors;
};

class SquarefreeInt : public testing::TestWithParam<Case> {};

TEST_P(SquarefreeInt, BuildsTheListFactorByFactor)
{
    const Case& c = GetParam();
    EXPECT_EQ(show(squarefree_int(P(c.f))), c.factors) << c.f;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SquarefreeInt,
    testing::Values(Case{"5", "[5]"}, Case{"-7", "[-7]"}, Case{"6", "[6]"}, Case{"x", "[x]"}, Case{"-x", "[-x]"},
                    Case{"x^2 - 3x + 2", "[x^2 - 3x + 2]"}, Case{"x^4 - 1", "[x^4 - 1]"}, Case{"x^2 + 2x + 1", "[1, x + 1]"},
                    Case{"-x^2 - 2x - 1", "[-1, x + 1]"}, Case{"x^3 + 3x^2 - 4", "[x - 1, x + 2]"},
                    Case{"x^3 - 3x^2 + 3x - 1", "[1, 1, x - 1]"}, Case{"x^4 + 3x^3 + 3x^2 + x", "[x, 1, x + 1]"},
                    Case{"x^4 + 3x^3 - 7x^2 - 15x + 18", "[x^2 - 3x + 2, x + 3]"},
                    Case{"2x^4 + 7x^3 + 12x^2 + 11x + 4", "[2x^2 + 3x + 4, x + 1]"}, Case{"-3x + 2", "[-3x + 2]"},
                    // The leading coefficient 12 shared by two factors, (3x + 1)(2x + 1)^2.
                    Case{"12x^3 + 16x^2 + 7x + 1", "[3x + 1, 2x + 1]"}, Case{"-12x^3 - 16x^2 - 7x - 1", "[-3x - 1, 2x + 1]"},
                    Case{"-x^5", "[-1, 1, 1, 1, x]"}, Case{"x^5", "[1, 1, 1, 1, x]"},
                    // The certificate's first prime divides the lead; the second proves it square-free.
                    Case{"2147483647x^2 + 1", "[2147483647x^2 + 1]"},
                    // The first prime sees the square-free factor as a square (its discriminant is
                    // -2147483647); the second prime's factors lift.
                    Case{"x^4 + 5x^3 + 536870920x^2 + 2147483652x + 2147483648", "[x^2 + x + 536870912, x + 2]"},
                    // Both certificate primes see a square; NTL's gcd decides.
                    Case{"x^4 - 4294967276x^2 + 4611685975477714963", "[x^4 - 4294967276x^2 + 4611685975477714963]"}));

TEST(SquarefreeInt, RefusesZeroAndCommonDivisors)
{
    try {
        squarefree_int(Poly{});
        ADD_FAILURE() << "zero was factored";
    } catch (const ComputationFailure& failure) {
        EXPECT_EQ(failure.failure, Failure::cannot_compute);
    }
    for (const char* f : {"2x + 2", "2x^2 - 2", "6x^2 + 12x + 6", "-4x^2 - 8x - 4", "2x^7"}) {
        try {
            squarefree_int(P(f));
            ADD_FAILURE() << f << " was factored";
        } catch (const ComputationFailure& failure) {
            EXPECT_EQ(failure.failure, Failure::not_primitive) << f;
        }
    }
}

TEST(SquarefreeIntProperty, RandomProductsAgreeWithNtl)
{
    const std::uint64_t seed = 4;
    std::mt19937_64 rng(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    const std::uint64_t gcds = int_gcd_count();
    for (int round = 0; round < 400 && !HasFailure(); ++round)
        check_squarefree_int(random_input_int(rng));
    EXPECT_EQ(int_gcd_count(), gcds) << "NTL's gcd ran";
}

TEST(SquarefreeIntProperty, FactorsPast64And128BitsAgreeWithNtl)
{
    std::mt19937_64 rng(9);
    const std::uint64_t gcds = int_gcd_count();
    for (const int count : {12, 14}) {
        const long widest = check_squarefree_int(random_input_wide(rng, count));
        EXPECT_GT(widest, 64);
        EXPECT_LE(widest, 128) << "the 64-bit cases grew past 128 bits";
    }
    EXPECT_GT(check_squarefree_int(random_input_wide(rng, 20)), 128);
    EXPECT_EQ(int_gcd_count(), gcds) << "NTL's gcd ran";
}

TEST(SquarefreeIntProperty, FixturesWithWideFactorsAgreeWithNtl)
{
    const std::uint64_t gcds = int_gcd_count();
    for (const char* name : {"factor-near-2-63.in", "factor-past-2-63.in"}) {
        // The second line is the polynomial; its stray blanks ("5x ^14", "3 x^2") do not matter here.
        std::string line = read_fixture(name);
        line = line.substr(line.find('\n') + 1);
        line = line.substr(0, line.find('\n'));
        std::erase(line, ' ');
        const long widest = check_squarefree_int(to_ZZX(P(line)));
        EXPECT_GT(widest, 60) << name;
    }
    EXPECT_EQ(int_gcd_count(), gcds) << "NTL's gcd ran";
}

// Settled by the images alone: NTL's gcd never runs.
TEST(SquarefreeIntProperty, InputsUnluckyForTheFirstImagesAgreeWithNtl)
{
    std::mt19937_64 rng(5);
    const std::uint64_t gcds = int_gcd_count();
    for (int round = 0; round < 60 && !HasFailure(); ++round)
        check_squarefree_int(random_input_unlucky(rng));
    EXPECT_EQ(int_gcd_count(), gcds);
}

// x^k·h(x^g), g and k up to 10^6 and h of small degree: degree up to about 10^7. Its
// factors are h's with x^g for x, which NTL's decomposition of h gives.
TEST(SquarefreeIntProperty, SparseInputsOfHighDegreeAgreeWithNtlOnTheirRoot)
{
    std::mt19937_64 rng(6);
    const std::uint64_t gcds = int_gcd_count();
    for (int round = 0; round < 80 && !HasFailure(); ++round)
        check_squarefree_int_sparse(random_input_sparse(rng));
    EXPECT_EQ(int_gcd_count(), gcds);
}

// Yun's gcds, which squarefree_int falls back on when its images prove nothing, on their own.
TEST(SquarefreeIntProperty, YunsGcdsAloneAgreeWithNtl)
{
    std::mt19937_64 rng(7);
    for (int round = 0; round < 100 && !HasFailure(); ++round) {
        const NTL::ZZX f = random_input_int(rng);
        if (NTL::deg(f) >= 1 && NTL::IsOne(NTL::abs(NTL::content(f))) && f.rep.length() > 1 && !NTL::IsZero(NTL::ConstTerm(f)))
            check_squarefree_int(f, squarefree_int_by_gcds);
    }
    check_squarefree_int(random_input_wide(rng, 14), squarefree_int_by_gcds);
}

}  // namespace
