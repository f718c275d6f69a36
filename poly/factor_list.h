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

// Appends f as the factor of the next multiplicity.
void factor_list_append(FactorList& list, Poly f);
// Appends `count` multiplicities that hold the constant one.
void factor_list_append_ones(FactorList& list, std::int64_t count);
