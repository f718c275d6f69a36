#include "dense/dense.h"
#include "poly/thresholds.h"
#include "sparse.h"
#include "to_dense.h"

namespace {

struct Division {
    Poly quotient;
    Poly remainder;
};

// The remainder is left empty when not wanted and the dense division can skip it.
Division divide(const Poly& a, std::int64_t p, const Poly& b, bool want_remainder = true)
{
    if (poly_is_one(b))
        return Division{poly_reduce(a, p), Poly{}};
    const Modulus mod(p);
    if (poly_is_sparse(a)) {
        Division sparse;
        if (sparse_divide_mod(a, b, mod, &sparse.quotient, sparse.remainder, sparse_term_limit(a, b)))
            return sparse;
    }
    Dense q, r;
    dense_divide(dense_from_poly(a, mod), dense_from_poly(b, mod), mod, &q, want_remainder ? &r : nullptr);
    return Division{poly_from_dense(q), poly_from_dense(r)};
}

}  // namespace

Poly poly_quotient(const Poly& a, std::int64_t p, const Poly& b)
{
    return divide(a, p, b, false).quotient;
}

Poly poly_remainder(const Poly& a, std::int64_t p, const Poly& b)
{
    if (remainder_by_powers(a, b)) {  // no dense quotient of the dividend's degree
        const Modulus mod(p);
        Division sparse;
        if (sparse_divide_mod(a, b, mod, nullptr, sparse.remainder, sparse_term_limit(a, b)))
            return sparse.remainder;
        return poly_from_dense(remainder_of_sparse(a, dense_from_poly(b, mod), mod));
    }
    return divide(a, p, b).remainder;
}
