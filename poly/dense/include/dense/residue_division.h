// Long division in place on a residue buffer: the inner steps of Euclid's algorithm and of the
// plain division (and what squarefree_crossovers times them by).
#pragma once

#include <cstdint>

#include "residue/modulus.h"

// Divides r (its first deg_r + 1 entries) by b of degree deg_b >= 0 in place: afterwards entries
// 0..deg_b-1 hold the remainder. When `quotient` is not null it receives the quotient's
// deg_r - deg_b + 1 coefficients.
void residues_divide(Residues& r, std::int64_t deg_r, const Residues& b, std::int64_t deg_b, const Modulus& mod,
                     Residues* quotient);
// The same remainder times a non-zero constant, without inverting b's leading coefficient: each
// leading term of r is cancelled by r = lc(b)·r - lc(r)·x^s·b. Euclid's algorithm needs its
// remainders only up to such constants, and a short quotient then costs no inversion. Afterwards
// r's entries 0..deg_b-1 hold c·r - q·b, where c (in *scale when not null) is lc(b) to the number
// of terms cancelled and q (in *quotient when not null) has deg_r - deg_b + 1 coefficients.
void residues_remainder_up_to_unit(Residues& r, std::int64_t deg_r, const Residues& b, std::int64_t deg_b,
                                   const Modulus& mod, Residues* quotient, Residue* scale);
