#include "tests/support/oracle.h"

#include <NTL/ZZXFactoring.h>
#include <NTL/lzz_pXFactoring.h>
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "squarefree/squarefree.h"
#include "tests/support/notation.h"

namespace {

template <typename NtlPoly>
NtlPoly power_of(const NtlPoly& a, std::int64_t e)
{
    NtlPoly result(1);
    for (std::int64_t i = 0; i < e; ++i)
        result *= a;
    return result;
}

long random_below(std::mt19937_64& rng, std::int64_t n)
{
    return static_cast<long>(rng() % static_cast<std::uint64_t>(n));
}

}  // namespace

NTL::zz_pX random_input_mod(std::mt19937_64& rng, std::int64_t p, int max_factors)
{
    NTL::zz_pX f;
    NTL::SetCoeff(f, 0, 1 + random_below(rng, p - 1));
    if (rng() % 20 == 0)
        return f;  // a constant
    const bool square_free = rng() % 10 == 0;
    const int factors = 1 + static_cast<int>(random_below(rng, max_factors));
    for (int i = 0; i < factors; ++i) {
        NTL::zz_pX a;
        const long degree = 1 + random_below(rng, 4);
        for (long e = 0; e < degree; ++e)
            NTL::SetCoeff(a, e, random_below(rng, p));
        NTL::SetCoeff(a, degree, 1);
        long multiplicity = square_free ? 1 : 1 + random_below(rng, 4);
        if (!square_free && p <= 7 && rng() % 3 == 0)
            multiplicity = p * (1 + random_below(rng, 2)) + random_below(rng, 2);
        f *= power_of(a, multiplicity);
    }
    return f;
}

NTL::ZZX random_input_int(std::mt19937_64& rng, int max_factors)
{
    for (;;) {
        NTL::ZZX f(rng() % 2 == 0 ? 1 : -1);
        if (rng() % 20 == 0)
            return f * (1 + random_below(rng, 1000));  // a constant
        const int factors = 1 + static_cast<int>(random_below(rng, max_factors));
        for (int i = 0; i < factors; ++i) {
            NTL::ZZX a;
            const long degree = 1 + random_below(rng, 3);
            for (long e = 0; e <= degree; ++e)
                NTL::SetCoeff(a, e, random_below(rng, 19) - 9);
            if (NTL::deg(a) < 1)
                continue;
            if (NTL::LeadCoeff(a) < 0)
                a = -a;
            NTL::ZZ c;
            NTL::content(c, a);
            f *= power_of(NTL::ZZX(a / c), 1 + random_below(rng, 4));
        }
        NTL::ZZ largest;
        for (long i = 0; i <= NTL::deg(f); ++i)
            if (NTL::abs(NTL::coeff(f, i)) > largest)
                largest = NTL::abs(NTL::coeff(f, i));
        if (NTL::deg(f) >= 1 && NTL::NumBits(largest) <= 31)
            return f;
    }
}

void check_squarefree_mod(std::int64_t p, const NTL::zz_pX& f)
{
    SCOPED_TRACE("modulo " + std::to_string(p) + ": " + show(poly_from_ntl(f)));
    const FactorList list = squarefree_mod(p, poly_from_ntl(f));
    ASSERT_GE(list.length, 1);
    NTL::zz_pX product(1);
    std::vector<NTL::zz_pX> nodes;
    for (std::int64_t k = 1; k <= list.length; ++k) {
        const NTL::zz_pX node = to_zz_pX(factor_list_at(list, k));
        product *= power_of(node, k);
        if (k > 1) {
            EXPECT_TRUE(NTL::IsOne(NTL::LeadCoeff(node))) << "position " << k << " is not monic";
        }
        if (NTL::deg(node) > 0) {
            EXPECT_TRUE(NTL::IsOne(NTL::GCD(node, NTL::diff(node)))) << "position " << k << " is not square-free";
            for (const NTL::zz_pX& other : nodes)
                EXPECT_TRUE(NTL::IsOne(NTL::GCD(node, other))) << "position " << k << " shares a factor";
            nodes.push_back(node);
        }
    }
    EXPECT_EQ(product, f) << "the positions multiplied back are not the input";
    EXPECT_EQ(NTL::LeadCoeff(to_zz_pX(factor_list_at(list, 1))), NTL::LeadCoeff(f));

    // NTL's decomposition of f made monic; position 1 then carries the leading coefficient.
    if (NTL::deg(f) < 1)
        return;
    NTL::vec_pair_zz_pX_long expected;
    NTL::SquareFreeDecomp(expected, f / NTL::LeadCoeff(f));
    std::map<long, NTL::zz_pX> by_multiplicity;
    for (long i = 0; i < expected.length(); ++i)
        by_multiplicity[expected[i].b] = expected[i].a;
    EXPECT_GE(list.length, by_multiplicity.rbegin()->first);
    for (std::int64_t k = 1; k <= list.length; ++k) {
        NTL::zz_pX want = by_multiplicity.count(k) ? by_multiplicity[k] : NTL::zz_pX(1);
        if (k == 1)
            want *= NTL::LeadCoeff(f);
        EXPECT_EQ(to_zz_pX(factor_list_at(list, k)), want) << "position " << k;
    }
}

void check_squarefree_int(const NTL::ZZX& f)
{
    SCOPED_TRACE("over Z: " + show(poly_from_ntl(f)));
    const FactorList list = squarefree_int(poly_from_ntl(f));
    ASSERT_GE(list.length, 1);
    if (NTL::deg(f) < 1) {
        EXPECT_EQ(show(factor_list_at(list, 1)), show(poly_from_ntl(f)));
        EXPECT_EQ(list.length, 1);
        return;
    }
    NTL::ZZX product(1);
    std::vector<NTL::ZZX> nodes;
    for (std::int64_t k = 1; k <= list.length; ++k) {
        const Poly position = factor_list_at(list, k);
        const NTL::ZZX node = to_ZZX(position);
        product *= power_of(node, k);
        EXPECT_TRUE(poly_is_primitive(position)) << "position " << k;
        if (k > 1) {
            EXPECT_GT(NTL::LeadCoeff(node), 0) << "position " << k;
        }
        if (NTL::deg(node) > 0) {
            EXPECT_EQ(NTL::deg(NTL::GCD(node, NTL::diff(node))), 0) << "position " << k << " is not square-free";
            for (const NTL::ZZX& other : nodes)
                EXPECT_EQ(NTL::deg(NTL::GCD(node, other)), 0) << "position " << k << " shares a factor";
            nodes.push_back(node);
        }
    }
    EXPECT_EQ(product, f) << "the positions multiplied back are not the input";
    EXPECT_EQ(NTL::sign(NTL::LeadCoeff(to_ZZX(factor_list_at(list, 1)))), NTL::sign(NTL::LeadCoeff(f)));
    EXPECT_GE(NTL::deg(to_ZZX(factor_list_at(list, list.length))), 1) << "the last position is a constant";

    // NTL's decomposition wants a positive leading coefficient; position 1 then carries the sign.
    const bool negative = NTL::sign(NTL::LeadCoeff(f)) < 0;
    NTL::vec_pair_ZZX_long expected;
    NTL::SquareFreeDecomp(expected, negative ? NTL::ZZX(-f) : f);
    std::map<long, NTL::ZZX> by_multiplicity;
    for (long i = 0; i < expected.length(); ++i)
        by_multiplicity[expected[i].b] = expected[i].a;
    EXPECT_EQ(list.length, by_multiplicity.rbegin()->first);
    for (std::int64_t k = 1; k <= list.length; ++k) {
        NTL::ZZX want = by_multiplicity.count(k) ? by_multiplicity[k] : NTL::ZZX(1);
        if (k == 1 && negative)
            want = -want;
        EXPECT_EQ(to_ZZX(factor_list_at(list, k)), want) << "position " << k;
    }
}
