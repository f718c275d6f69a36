#include "residue/modulus.h"
#include "poly/poly.h"

void poly_make_monic(std::int64_t p, Poly& f)
{
    const Modulus mod(p);
    const std::uint64_t lc = static_cast<std::uint64_t>(coef_reduce(poly_lead(f), p));
    if (lc == 0)
        return;  // the zero polynomial (or a lead that p divides) has no inverse: unchanged
    const std::uint64_t inv = mod.inverse(lc);
    for (Term& t : f.terms)
        t.coefficient = static_cast<Coef>(mod.mul(static_cast<std::uint64_t>(coef_reduce(t.coefficient, p)), inv));
}
