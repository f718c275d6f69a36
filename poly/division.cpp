#include <algorithm>

#include "poly/residues.h"
#include "poly/thresholds.h"

namespace {

struct Division {
    Poly quotient;
    Poly remainder;
};

Division divide(const Poly& a, std::int64_t p, const Poly& b)
{
    if (poly_is_one(b))
        return Division{poly_reduce(a, p), Poly{}};
    const Modulus mod(p);
    if (poly_is_sparse(a)) {
        Division sparse;
        if (sparse_divide_mod(a, b, mod, &sparse.quotient, sparse.remainder, sparse_term_limit(a, b)))
            return sparse;
    }
    Residues r = residues_from_poly(a, mod);
    const Residues divisor = residues_from_poly(b, mod);
    const std::int64_t deg_b = poly_degree(b);
    Residues q;
    residues_divide(r, poly_degree(a), divisor, deg_b, mod, &q);
    const std::size_t remainder_length = std::min(r.size(), static_cast<std::size_t>(deg_b));
    return Division{poly_from_residues(q, q.size()), poly_from_residues(r, remainder_length)};
}

}  // namespace

Poly poly_quotient(const Poly& a, std::int64_t p, const Poly& b)
{
    return divide(a, p, b).quotient;
}

Poly poly_remainder(const Poly& a, std::int64_t p, const Poly& b)
{
    return divide(a, p, b).remainder;
}
