// Internal to the term-list layer: term lists to dense residue vectors and back.
#pragma once

#include <cstddef>

#include "dense/dense.h"
#include "poly/poly.h"

// The residues of f by exponent, deg f + 1 of them; its coefficients are reduced again so that any
// integer polynomial is accepted (the top may then be zero).
Residues residues_from_poly(const Poly& f, const Modulus& mod);
Dense dense_from_poly(const Poly& f, const Modulus& mod);
// The polynomial of the first `length` residues, zeros dropped.
Poly poly_from_residues(const Residues& r, std::size_t length);
inline Poly poly_from_dense(const Dense& a)
{
    return poly_from_residues(a, a.size());
}
