// Square-free factorization: the factor of multiplicity k is the product of the irreducible
// factors that occur exactly k times. Over the integers the driver takes over the polynomial it is
// given; modulo p it reads it and leaves it to the caller, who prints it (at a high degree one
// copy of the input is all the memory there is to spare).
#pragma once

#include <cstdint>

#include "intgcd/intpoly.h"
#include "poly/factor_list.h"
#include "poly/poly.h"

// Over the integers the factors are exact, whatever the size of their coefficients.
using IntFactorList = FactorListOf<DecimalPoly>;

// Over the integers. The factor of multiplicity 1 carries the sign of the leading coefficient,
// every other factor has a positive leading coefficient, and every non-constant factor is
// primitive. A constant comes back as the only factor. The zero polynomial raises
// Failure::cannot_compute; a non-constant polynomial whose coefficients share a divisor greater
// than 1 raises Failure::not_primitive.
IntFactorList squarefree_int(Poly f);
// The same by Yun's gcds on NTL alone (what squarefree_int falls back on when its images do not
// prove the factors), for f primitive with at least two terms.
IntFactorList squarefree_int_by_gcds(Poly f);

// Modulo a prime p. The factor of multiplicity 1 carries the leading coefficient, every other
// factor is monic; multiplicities without a factor hold the constant one, also at the end of the
// list. The zero polynomial raises Failure::cannot_compute.
FactorList squarefree_mod(std::int64_t p, const Poly& f);
