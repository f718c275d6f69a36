#include "support/oracle.h"

#include <NTL/ZZXFactoring.h>
#include <NTL/lzz_pXFactoring.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "squarefree/squarefree.h"
#include "support/notation.h"

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

NTL::zz_pX random_long_input_mod(std::mt19937_64& rng, std::int64_t p, long max_degree)
{
    const double lowest = std::log(200.0), highest = std::log(static_cast<double>(max_degree));
    const long degree =
        static_cast<long>(std::exp(lowest + (highest - lowest) * static_cast<double>(rng() % 1000001) / 1e6));
    NTL::zz_pX f;
    NTL::SetCoeff(f, 0, 1 + random_below(rng, p - 1));
    for (long left = degree; left > 0;) {
        // A multiplicity, then a factor degree that fits what is left.
        long multiplicity = 1 + random_below(rng, 3);
        if (p <= 101 && rng() % 3 == 0) {
            const long around_p[] = {static_cast<long>(p) - 1, static_cast<long>(p), static_cast<long>(p) + 1,
                                     2 * static_cast<long>(p)};
            multiplicity = std::max(1L, around_p[rng() % 4]);
        }
        if (multiplicity > left)
            multiplicity = 1;
        const long factor_degree = 1 + random_below(rng, std::max(1L, left / multiplicity));
        NTL::zz_pX a;
        for (long e = 0; e < factor_degree; ++e)
            NTL::SetCoeff(a, e, random_below(rng, p));
        NTL::SetCoeff(a, factor_degree, 1);
        f *= NTL::power(a, multiplicity);
        left -= factor_degree * multiplicity;
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

NTL::ZZX random_input_wide(std::mt19937_64& rng, int count)
{
    // Distinct primes q give distinct cyclotomic factors (x^q - 1)/(x - 1), so the product below is
    // (x - 1)^count times one square-free factor whose coefficients grow like q^(count - 1).
    static const long primes[] = {79, 83, 89, 97, 101, 103, 107, 109, 113, 127, 131, 137, 139, 149, 151,
                                  157, 163, 167, 173, 179, 181, 191, 193, 197, 199};
    constexpr long kPrimes = sizeof primes / sizeof primes[0];
    const long first = random_below(rng, kPrimes - count + 1);
    NTL::ZZX f(1);
    for (long i = first; i < first + count; ++i) {
        NTL::ZZX binomial;
        NTL::SetCoeff(binomial, primes[i], 1);
        NTL::SetCoeff(binomial, 0, -1);
        f *= binomial;
    }
    // A small extra factor, now and then squared, and a random sign.
    NTL::ZZX extra;
    NTL::SetCoeff(extra, 1 + random_below(rng, 3), 1);
    NTL::SetCoeff(extra, 0, 2 + random_below(rng, 5));
    f *= rng() % 3 == 0 ? extra * extra : extra;
    return rng() % 2 == 0 ? f : NTL::ZZX(-f);
}

NTL::ZZX random_input_unlucky(std::mt19937_64& rng)
{
    constexpr long p1 = 1048573, p2 = 2147483647, p3 = 2147483629;  // the first primes of the images
    NTL::ZZX x;
    NTL::SetCoeff(x, 1, 1);
    const NTL::ZZX linear = x + 1 + random_below(rng, 5), square = linear * linear;
    NTL::ZZX f;
    switch (rng() % 6) {
    case 0:  // the first prime divides the leading coefficient
        f = p1 * x * x + (1 + random_below(rng, 1000)) * x + 1;
        break;
    case 1:  // the first prime sees a square factor
        f = (x * x - p1) * square;
        break;
    case 2:  // the first two see it
        f = (x * x - NTL::ZZ(p1) * p2) * (x + 1 + random_below(rng, 5));
        break;
    case 3:  // the first two primes see squares, and the input is square-free
        f = (x * x - p1) * (x * x - p2);
        break;
    case 4:  // the second divides the lead, the third sees a square
        f = (p2 * x * x - p3) * square;
        break;
    default:  // unlucky at a multiplicity above one: the square factor's image is a fourth power
        f = (x * x - p1) * (x * x - p1) * x;
        break;
    }
    return rng() % 2 == 0 ? f : NTL::ZZX(-f);
}

SparseInput random_input_sparse(std::mt19937_64& rng)
{
    SparseInput input;
    const long shapes[] = {1, 2, 3, 1000, 65536, 999983, 1000000};
    input.g = shapes[rng() % 7];
    input.k = rng() % 3 == 0 ? 0 : 1 + random_below(rng, 1000000);
    do
        input.h = random_input_int(rng, 3);
    while (NTL::deg(input.h) < 1 || NTL::IsZero(NTL::ConstTerm(input.h)));
    return input;
}

void check_squarefree_mod(std::int64_t p, const NTL::zz_pX& f)
{
    SCOPED_TRACE("modulo " + std::to_string(p) + ": " + show(poly_from_ntl(f)));
    const FactorList list = squarefree_mod(p, poly_from_ntl(f));
    ASSERT_GE(list.length, 1);
    NTL::zz_pX product(1);
    std::vector<NTL::zz_pX> nodes;
    for (std::int64_t k = 1; k <= list.length; ++k) {
        const NTL::zz_pX node = to_zz_pX(factor_at(list, k, poly_one()));
        product *= power_of(node, k);
        if (k > 1) {
            EXPECT_TRUE(NTL::IsOne(NTL::LeadCoeff(node))) << "multiplicity " << k << " is not monic";
        }
        if (NTL::deg(node) > 0) {
            EXPECT_TRUE(NTL::IsOne(NTL::GCD(node, NTL::diff(node)))) << "multiplicity " << k << " is not square-free";
            for (const NTL::zz_pX& other : nodes)
                EXPECT_TRUE(NTL::IsOne(NTL::GCD(node, other))) << "multiplicity " << k << " shares a factor";
            nodes.push_back(node);
        }
    }
    EXPECT_EQ(product, f) << "the factors multiplied back are not the input";
    EXPECT_EQ(NTL::LeadCoeff(to_zz_pX(factor_at(list, 1, poly_one()))), NTL::LeadCoeff(f));

    // NTL's decomposition of f made monic; multiplicity 1 then carries the leading coefficient.
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
        EXPECT_EQ(to_zz_pX(factor_at(list, k, poly_one())), want) << "multiplicity " << k;
    }
}

long check_squarefree_int(const NTL::ZZX& f, IntFactorList (*factorize)(Poly))
{
    long widest = 0;
    SCOPED_TRACE("over Z: " + show(poly_from_ntl(f)));
    const IntFactorList list = factorize(poly_from_ntl(f));
    const auto factor = [&list](std::int64_t k) { return to_ZZX(factor_at(list, k, DecimalPoly{{{0, "1"}}})); };
    EXPECT_GE(list.length, 1);
    if (NTL::deg(f) < 1) {
        EXPECT_EQ(factor(1), f);
        EXPECT_EQ(list.length, 1);
        return widest;
    }
    NTL::ZZX product(1);
    std::vector<NTL::ZZX> factors;
    for (std::int64_t k = 1; k <= list.length; ++k) {
        const NTL::ZZX a = factor(k);
        product *= power_of(a, k);
        for (long i = 0; i <= NTL::deg(a); ++i)
            widest = std::max(widest, NTL::NumBits(NTL::coeff(a, i)));
        if (k > 1) {
            EXPECT_GT(NTL::LeadCoeff(a), 0) << "multiplicity " << k;
        }
        if (NTL::deg(a) > 0) {
            EXPECT_TRUE(NTL::IsOne(NTL::abs(NTL::content(a)))) << "multiplicity " << k << " is not primitive";
            EXPECT_EQ(NTL::deg(NTL::GCD(a, NTL::diff(a))), 0) << "multiplicity " << k << " is not square-free";
            for (const NTL::ZZX& other : factors)
                EXPECT_EQ(NTL::deg(NTL::GCD(a, other)), 0) << "multiplicity " << k << " shares a factor";
            factors.push_back(a);
        }
    }
    EXPECT_EQ(product, f) << "the factors multiplied back are not the input";
    EXPECT_EQ(NTL::sign(NTL::LeadCoeff(factor(1))), NTL::sign(NTL::LeadCoeff(f)));
    EXPECT_GE(NTL::deg(factor(list.length)), 1) << "the last multiplicity holds a constant";

    // NTL's decomposition wants a positive leading coefficient; multiplicity 1 then carries the sign.
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
        EXPECT_EQ(factor(k), want) << "multiplicity " << k;
    }
    return widest;
}

void check_squarefree_int_sparse(const SparseInput& input)
{
    // f = x^k·h(x^g).
    Poly h = poly_from_ntl(input.h), f;
    for (const Term& t : h.terms)
        f.terms.push_back(Term{t.exponent * input.g + input.k, t.coefficient});
    SCOPED_TRACE("over Z: x^" + std::to_string(input.k) + "·h(x^" + std::to_string(input.g) + "), h = " + show(h));
    const IntFactorList list = squarefree_int(f);

    // What it must be: NTL's decomposition of h, x^g for x, and x joining multiplicity k.
    const bool negative = NTL::sign(NTL::LeadCoeff(input.h)) < 0;
    NTL::vec_pair_ZZX_long pairs;
    NTL::SquareFreeDecomp(pairs, negative ? NTL::ZZX(-input.h) : input.h);
    std::map<long, Poly> expected;
    for (long i = 0; i < pairs.length(); ++i) {
        Poly a = poly_from_ntl(pairs[i].a);
        for (Term& t : a.terms)
            t.exponent *= input.g;
        expected[pairs[i].b] = std::move(a);
    }
    if (input.k > 0) {
        Poly& at_k = expected[input.k];
        if (at_k.terms.empty())
            at_k = Poly{{Term{1, 1}}};
        else
            for (Term& t : at_k.terms)
                ++t.exponent;
    }
    if (negative) {
        Poly& first = expected[1];
        if (first.terms.empty())
            first = Poly{{Term{0, -1}}};
        else
            for (Term& t : first.terms)
                t.coefficient = -t.coefficient;
    }
    EXPECT_EQ(list.length, expected.rbegin()->first);
    for (std::int64_t k = 1; k <= list.length; ++k)
        EXPECT_EQ(show(factor_at(list, k, DecimalPoly{{{0, "1"}}})), expected.count(k) ? show(expected[k]) : "1")
            << "multiplicity " << k;
}
