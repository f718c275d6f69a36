#include "poly/poly.h"

bool poly_equal(const Poly& a, const Poly& b)
{
    return a.terms == b.terms;
}

Poly poly_copy(const Poly& f)
{
    return f;
}

Poly poly_one()
{
    return Poly{{Term{0, 1}}};
}

Poly poly_reduce(const Poly& f, std::int64_t p)
{
    Poly image;
    image.terms.reserve(f.terms.size());
    for (const Term& t : f.terms)
        if (const Coef c = coef_reduce(t.coefficient, p); c != 0)
            image.terms.push_back(Term{t.exponent, c});
    return image;
}
