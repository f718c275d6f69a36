#include "poly/failure.h"
#include "poly/poly.h"

Poly& poly_deflate(Poly& f, std::int64_t p)
{
    if (poly_is_constant(f))
        raise_failure(Failure::cannot_compute);
    for (Term& t : f.terms)
        t.exponent /= p;
    return f;
}
