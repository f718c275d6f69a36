// The result of a square-free factorization: the factor of multiplicity k for k = 1 .. length.
// Multiplicities without a factor hold the constant one; they are counted in `length` but not
// stored, so long runs of them cost nothing.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "poly/poly.h"

template <typename P>
struct FactorOf {
    std::int64_t multiplicity;
    P poly;
};

template <typename P>
struct FactorListOf {
    std::vector<FactorOf<P>> factors;  // ascending multiplicity, none of them the constant one
    std::int64_t length = 0;           // the highest multiplicity the list covers
};

// Modulo p the factors are term-list polynomials.
using Factor = FactorOf<Poly>;
using FactorList = FactorListOf<Poly>;

// Whether a factor is the constant one, for every kind of factor: each kind has its own overload
// (poly_is_one here; over the integers, beside their decimal polynomials).
inline bool factor_is_one(const Poly& f)
{
    return poly_is_one(f);
}

// Appends f as the factor of the next multiplicity.
template <typename P>
void factor_list_append(FactorListOf<P>& list, P f)
{
    ++list.length;
    if (!factor_is_one(f))
        list.factors.push_back(FactorOf<P>{list.length, std::move(f)});
}

// Appends `count` multiplicities that hold the constant one.
template <typename P>
void factor_list_append_ones(FactorListOf<P>& list, std::int64_t count)
{
    list.length += count;
}

// The list of c·x^k (k >= 1) up to multiplicity k: c at multiplicity 1 and x at multiplicity k,
// c·x alone when k = 1; `make` turns a term-list polynomial into a factor.
template <typename P, typename Make>
FactorListOf<P> monomial_factor_list(const Term& monomial, Make make)
{
    FactorListOf<P> list;
    if (monomial.exponent == 1) {
        factor_list_append(list, make(Poly{{monomial}}));
        return list;
    }
    factor_list_append(list, make(Poly{{Term{0, monomial.coefficient}}}));
    factor_list_append_ones(list, monomial.exponent - 2);
    factor_list_append(list, make(Poly{{Term{1, 1}}}));
    return list;
}
