// Internal to the term-list layer: division and remainders of polynomials with few terms and wide
// gaps, whose work follows the terms, not the degree.
#pragma once

#include <cstddef>

#include "dense/dense.h"
#include "poly/poly.h"

// Long division on term lists, for operands with few terms and wide gaps (x^k by k·x^(k-1)). Gives
// up, returning false, as soon as the remainder or the quotient holds more than `max_terms` terms,
// or its updates exceed kSparseUpdatesPerTerm times that (poly/thresholds.h); the dense division
// then takes over.
bool sparse_divide_mod(const Poly& a, const Poly& b, const Modulus& mod, Poly* quotient, Poly& remainder,
                       std::size_t max_terms);

// a mod g for a term list a of any degree and a non-zero g: the sum of its terms' c·(x^e mod g).
Dense remainder_of_sparse(const Poly& a, const Dense& g, const Modulus& mod);
