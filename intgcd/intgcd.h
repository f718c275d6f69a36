// The greatest common divisor of two integer polynomials, computed with arbitrary precision.
#pragma once

#include "poly/poly.h"

// The gcd in Z[x]: the gcd of the contents times the gcd of the primitive parts, with a positive
// leading coefficient (the zero polynomial when both arguments are zero). A coefficient outside
// signed 64 bits ends the run with EXIT_CANNOT_COMPUTE.
Poly poly_gcd_int(const Poly& a, const Poly& b);
