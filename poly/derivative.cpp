#include "poly/dense.h"

Poly poly_derivative(const Poly& f, std::int64_t p)
{
    Poly result;
    result.terms.reserve(f.terms.size());
    for (const Term& t : f.terms) {
        if (t.exponent == 0)
            continue;
        // The exponent multiplies the coefficient before the reduction, so terms in x^(kp) vanish.
        const Int128 product = static_cast<Int128>(t.exponent) * t.coefficient;
        const Coef v = p != 0 ? coef_reduce(static_cast<Coef>(product % p), p) : checked_coef(product);
        if (v != 0)
            result.terms.push_back(Term{t.exponent - 1, v});
    }
    return result;
}
