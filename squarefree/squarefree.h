// Square-free factorization: position k of the returned list holds the product of the factors
// that occur exactly k times. Both drivers take over the polynomial they are given.
#pragma once

#include "poly/poly.h"

// Over the integers. Position 1 carries the sign of the leading coefficient, every other position
// has a positive leading coefficient, and every factor is primitive. A constant comes back as the
// only factor; the zero polynomial, and a polynomial whose coefficients share a divisor greater
// than 1, end the run with EXIT_CANNOT_COMPUTE.
FactorList squarefree_int(Poly f);

// Modulo a prime p. Position 1 carries the leading coefficient, every other position is monic;
// positions without a factor hold the constant one, also at the end of the list. The zero
// polynomial ends the run with EXIT_CANNOT_COMPUTE.
FactorList squarefree_mod(std::int64_t p, Poly f);

// True when the coefficients of a have no common divisor greater than 1.
bool poly_is_primitive(const Poly& a);
