// Polynomials in tests are written as text: "3x^2 - x + 1", "-1", "0".
#pragma once

#include <string>
#include <vector>

#include "poly/poly.h"

// Parses a sum of terms c, cx, cx^e, x, x^e with + or - between them (blanks optional). Terms
// with the same exponent are added.
Poly P(const std::string& text);

// The polynomial written back in the same notation, highest term first ("0" for zero).
std::string show(const Poly& f);

// The positions of a factor list, each written as above: "[x, 1, x + 1, 1]".
std::string show(const FactorList& list);
