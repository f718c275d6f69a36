// The reconstruction of integer factors from modular images, fed images modulo small primes so
// that unlucky ones are easy to make; every proven list checked against NTL's decomposition.
#include <gtest/gtest.h>

#include <NTL/ZZXFactoring.h>

#include <algorithm>
#include <sstream>
#include <utility>
#include <vector>

#include "multimodular/multimodular.h"
#include "ntl_convert.h"
#include "squarefree/squarefree.h"
#include "support/notation.h"

namespace {

using Image = FactorReconstruction::Image;

// f's square-free factors by NTL, written as the reconstruction lists them (f primitive with a
// positive lead).
std::string ntl_factors(const NTL::ZZX& f)
{
    NTL::vec_pair_ZZX_long pairs;
    NTL::SquareFreeDecomp(pairs, f);
    std::vector<std::pair<long, NTL::ZZX>> sorted;
    for (long i = 0; i < pairs.length(); ++i)
        sorted.emplace_back(pairs[i].b, pairs[i].a);
    std::sort(sorted.begin(), sorted.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    FactorListOf<DecimalPoly> list;
    for (const auto& [k, a] : sorted) {
        DecimalPoly factor;
        for (long e = 0; e <= NTL::deg(a); ++e)
            if (!NTL::IsZero(NTL::coeff(a, e))) {
                std::ostringstream digits;
                digits << NTL::coeff(a, e);
                factor.terms.push_back(DecimalTerm{e, digits.str()});
            }
        factor_list_append_ones(list, k - 1 - list.length);
        factor_list_append(list, std::move(factor));
    }
    return show(list);
}

Image add(FactorReconstruction& r, const Poly& f, std::int64_t p)
{
    return r.add(p, squarefree_mod(p, poly_reduce(f, p)));
}

TEST(PrimeBelow, GivesTheLargestPrimeBelow)
{
    EXPECT_EQ(prime_below(std::int64_t{1} << 31), 2147483647);
    EXPECT_EQ(prime_below(2147483647), 2147483629);
    EXPECT_EQ(prime_below(std::int64_t{1} << 20), 1048573);
    EXPECT_EQ(prime_below(std::int64_t{1} << 30), 1073741789);
    EXPECT_EQ(prime_below(102), 101);
    EXPECT_EQ(prime_below(101), 97);
    EXPECT_EQ(prime_below(3), 2);
}

// (x + 1)^2·(x^2 - 101·103·107): modulo 101, 103 and 107 the quadratic is x^2, a square that the
// integers do not have. Those images agree with each other (the same e, the same shape), so their
// candidates are combined, and fail the proof. The image modulo 109 has a smaller e: it restarts
// the candidates, and they are proven.
TEST(FactorReconstruction, UnluckyImagesGiveWayToALuckyOne)
{
    const NTL::ZZX ntl_f = to_ZZX(P("x^2 - 1113121")) * to_ZZX(P("x + 1")) * to_ZZX(P("x + 1"));
    const Poly f = poly_from_ntl(ntl_f);
    FactorReconstruction r(f);
    for (const std::int64_t p : {101, 103, 107}) {
        EXPECT_EQ(add(r, f, p), Image::combined) << p;
        EXPECT_FALSE(r.prove()) << p;
    }
    EXPECT_EQ(add(r, f, 109), Image::restarted);
    EXPECT_EQ(r.primes(), 1u);
    // 1113121 needs more than 109: three more lucky images, and an unlucky one left out between them.
    EXPECT_EQ(add(r, f, 113), Image::combined);
    EXPECT_EQ(add(r, f, 103), Image::unlucky);
    EXPECT_EQ(add(r, f, 127), Image::combined);
    EXPECT_EQ(add(r, f, 131), Image::combined);
    EXPECT_EQ(r.primes(), 4u);
    ASSERT_TRUE(r.prove());
    EXPECT_EQ(show(*r.prove()), "[x^2 - 1113121, x + 1]");
    EXPECT_EQ(show(*r.prove()), ntl_factors(ntl_f));
    EXPECT_EQ(add(r, f, 137), Image::combined);
    EXPECT_TRUE(r.stable());
}

// A factor whose coefficients one small prime cannot hold: its symmetric residues are wrong, yet
// their lead (the input is monic) passes, and the check modulo further primes rejects them. More
// images make them exact; they stop changing, and are proven.
TEST(FactorReconstruction, WideCoefficientsNeedMoreImages)
{
    const NTL::ZZX a = to_ZZX(P("x^3 + 6000x^2 - 5999x + 7")), b = to_ZZX(P("x - 3"));
    const NTL::ZZX ntl_f = a * a * b;
    const Poly f = poly_from_ntl(ntl_f);
    FactorReconstruction r(f);
    EXPECT_EQ(add(r, f, 101), Image::combined);
    EXPECT_FALSE(r.stable());
    EXPECT_FALSE(r.prove());
    EXPECT_EQ(add(r, f, 103), Image::combined);  // 101·103 = 10403: 6000 is still out of range
    EXPECT_FALSE(r.stable());
    EXPECT_FALSE(r.prove());
    EXPECT_EQ(add(r, f, 107), Image::combined);
    EXPECT_FALSE(r.stable());  // 6000 and -5999 have just come into range
    ASSERT_TRUE(r.prove());
    EXPECT_EQ(show(*r.prove()), ntl_factors(ntl_f));
    EXPECT_EQ(add(r, f, 109), Image::combined);
    EXPECT_TRUE(r.stable());
    EXPECT_EQ(show(*r.prove()), ntl_factors(ntl_f));
}

// Leads that the factors share: (3x + 1)·(2x + 1)^2·(6x^2 - 5), lc 72. The residues stand for
// lc(f)/lc(a_k)·a_k; their contents give back the leads, whose product must be lc(f).
TEST(FactorReconstruction, SharedLeadsComeBackFromTheContents)
{
    const NTL::ZZX ntl_f = to_ZZX(P("3x + 1")) * (to_ZZX(P("2x + 1")) * to_ZZX(P("2x + 1"))) * to_ZZX(P("6x^2 - 5"));
    const Poly f = poly_from_ntl(ntl_f);
    FactorReconstruction r(f);
    EXPECT_EQ(add(r, f, 2147483647), Image::combined);
    ASSERT_TRUE(r.prove());
    EXPECT_EQ(show(*r.prove()), ntl_factors(ntl_f));
}

// The bound needs more than the primes combined: ‖f‖∞ near 2^31 with a single 7-bit prime, so the
// proof checks P ≡ f modulo further primes before it stands.
TEST(FactorReconstruction, TheProofChecksFurtherPrimesUpToItsBound)
{
    const NTL::ZZX ntl_f = to_ZZX(P("x^2 + 1000000000x + 1")) * (to_ZZX(P("x + 1")) * to_ZZX(P("x + 1")));
    const Poly f = poly_from_ntl(ntl_f);
    FactorReconstruction r(f);
    EXPECT_EQ(add(r, f, 101), Image::combined);
    EXPECT_FALSE(r.prove());  // 1000000000 is out of range, and the check primes see it
    for (const std::int64_t p : {103, 107, 109, 113})
        add(r, f, p);
    EXPECT_FALSE(r.past_bound());
    ASSERT_TRUE(r.prove());
    EXPECT_EQ(show(*r.prove()), ntl_factors(ntl_f));
}

// A square-free image of full degree settles it: f itself, whatever came before.
TEST(FactorReconstruction, ASquareFreeImageProvesTheInputSquareFree)
{
    const Poly f = P("x^4 - 1113121");  // x^4 - 1113121 modulo 101 is x^4
    FactorReconstruction r(f);
    EXPECT_NE(add(r, f, 101), Image::square_free);
    EXPECT_EQ(add(r, f, 109), Image::square_free);
    EXPECT_EQ(show(*r.prove()), "[x^4 - 1113121]");
}

// An image of the same e as the ones combined but of another shape is left out: the lucky shape is
// unique, so one of the two is unlucky, and the ones kept are proven or replaced later. Built by
// hand, since for a prime above the degree equal e means a lucky image.
TEST(FactorReconstruction, AnImageOfTheSameEButAnotherShapeIsLeftOut)
{
    const NTL::ZZX ntl_f = (to_ZZX(P("x + 1")) * to_ZZX(P("x + 1"))) * (to_ZZX(P("x + 2")) * to_ZZX(P("x + 2"))) * to_ZZX(P("x^3 + 5"));
    const Poly f = poly_from_ntl(ntl_f);
    FactorReconstruction r(f);
    EXPECT_EQ(add(r, f, 101), Image::combined);  // e = 2: (x + 1)(x + 2) at multiplicity 2
    FactorList other;                            // e = 2 as well: a linear factor at multiplicity 3
    factor_list_append(other, P("x^4 + x + 1"));
    factor_list_append(other, poly_one());
    factor_list_append(other, P("x + 7"));
    EXPECT_EQ(r.add(103, other), Image::unlucky);
    EXPECT_EQ(r.primes(), 1u);
    EXPECT_EQ(show(*r.prove()), ntl_factors(ntl_f));
}

}  // namespace
