#include "residue/modulus.h"
#include "poly/poly.h"

Poly poly_derivative(const Poly& f, std::int64_t p)
{
    const Modulus mod(p);
    Poly result;
    result.terms.reserve(f.terms.size());
    for (const Term& t : f.terms) {
        if (t.exponent == 0)
            continue;
        // The exponent multiplies the coefficient before the reduction, so terms in x^(kp) vanish.
        // Both factors are reduced first: their product fits in 62 bits.
        const std::uint64_t exponent = mod.reduce(static_cast<std::uint64_t>(t.exponent));
        const Coef v = static_cast<Coef>(mod.mul(exponent, static_cast<std::uint64_t>(coef_reduce(t.coefficient, p))));
        if (v != 0)
            result.terms.push_back(Term{t.exponent - 1, v});
    }
    return result;
}
