// Polynomials in tests are written as text: "3x^2 - x + 1", "-1", "0".
#pragma once

#include <string>
#include <vector>

#include "intgcd/intpoly.h"
#include "poly/factor_list.h"
#include "poly/poly.h"

// Parses a sum of terms c, cx, cx^e, x, x^e with + or - between them (blanks optional). Terms
// with the same exponent are added.
Poly P(const std::string& text);

// The polynomial whose coefficient of x^i is dense[i], reduced modulo p when p != 0.
Poly poly_of(const std::vector<Coef>& dense, std::int64_t p);

// The polynomial written back in the same notation, highest term first ("0" for zero).
std::string show(const Poly& f);
std::string show(const DecimalPoly& f);

// The factor of multiplicity k (1 <= k <= length), the constant one where the list holds none.
template <typename P>
P factor_at(const FactorListOf<P>& list, std::int64_t k, const P& one)
{
    for (const FactorOf<P>& factor : list.factors)
        if (factor.multiplicity == k)
            return factor.poly;
    return one;
}

// A list written factor by factor from multiplicity 1: "[x, 1, x + 1, 1]".
template <typename P>
std::string show(const FactorListOf<P>& list)
{
    std::string out = "[";
    const auto next = [&out] { out.append(out.size() > 1 ? ", " : ""); };
    std::int64_t k = 1;
    for (const FactorOf<P>& factor : list.factors) {
        for (; k < factor.multiplicity; ++k) {
            next();
            out.append("1");
        }
        next();
        out.append(show(factor.poly));
        ++k;
    }
    for (; k <= list.length; ++k) {
        next();
        out.append("1");
    }
    out.append("]");
    return out;
}
