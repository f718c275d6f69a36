#include "poly/dense.h"

Poly poly_derivative(const Poly& f, std::int64_t p)
{
    Poly result;
    result.terms.reserve(f.terms.size());
    for (const Term& t : f.terms) {
        if (t.exponent == 0)
            continue;
        // The exponent multiplies the coefficient before the reduction, so terms in x^(kp) vanish.
        Coef v;
        if (p != 0)  // both factors reduced first: their product fits in 62 bits
            v = coef_reduce(t.exponent % p, p) * coef_reduce(t.coefficient, p) % p;
        else
            v = checked_coef(static_cast<Int128>(t.exponent) * t.coefficient);
        if (v != 0)
            result.terms.push_back(Term{t.exponent - 1, v});
    }
    return result;
}
