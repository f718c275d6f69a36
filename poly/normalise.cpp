#include "poly/dense.h"

void poly_make_monic(std::int64_t p, Poly& f)
{
    const Coef lead = poly_lead(f);
    const Modulus mod(p);
    const std::uint64_t lc = static_cast<std::uint64_t>(coef_reduce(lead, p));
    if (lc == 0)
        return;  // the zero polynomial (or a lead that p divides) has no inverse: unchanged
    const std::uint64_t inv = mod.inverse(lc);
    for (Term& t : f.terms)
        t.coefficient = static_cast<Coef>(mod.mul(static_cast<std::uint64_t>(coef_reduce(t.coefficient, p)), inv));
}

Poly& poly_deflate(Poly& f, std::int64_t p)
{
    if (poly_is_constant(f))
        fatal_exit(EXIT_CANNOT_COMPUTE);
    for (Term& t : f.terms)
        t.exponent /= p;
    return f;
}
