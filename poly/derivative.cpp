#include "poly/poly.h"

Poly poly_derivative(const Poly& f, std::int64_t p)
{
    Poly result;
    result.terms.reserve(f.terms.size());
    for (const Term& t : f.terms) {
        if (t.exponent == 0)
            continue;
        // The exponent multiplies the coefficient before the reduction, so terms in x^(kp) vanish.
        // Both factors are reduced first: their product fits in 62 bits.
        const Coef v = coef_reduce(t.exponent % p, p) * coef_reduce(t.coefficient, p) % p;
        if (v != 0)
            result.terms.push_back(Term{t.exponent - 1, v});
    }
    return result;
}
