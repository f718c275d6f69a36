#include <algorithm>
#include <utility>

#include "dense/dense.h"
#include "poly/thresholds.h"
#include "sparse.h"
#include "to_dense.h"

namespace {

Poly gcd_dense(const Poly& big, const Poly& small, const Modulus& mod)
{
    return poly_from_dense(dense_gcd(dense_from_poly(big, mod), dense_from_poly(small, mod), mod));
}

// Euclid on term lists while the larger operand has few terms and wide gaps; dense once the
// remainders fill in.
Poly gcd_terms(Poly big, Poly small, const Modulus& mod)
{
    while (!poly_is_zero(small) && poly_is_sparse(big)) {
        Poly remainder;
        if (!sparse_divide_mod(big, small, mod, nullptr, remainder, sparse_term_limit(big, small))) {
            if (!remainder_by_powers(big, small))
                break;
            remainder = poly_from_dense(remainder_of_sparse(big, dense_from_poly(small, mod), mod));
        }
        big = std::move(small);
        small = std::move(remainder);
    }
    if (poly_is_zero(small)) {
        poly_make_monic(static_cast<std::int64_t>(mod.p), big);
        return big;
    }
    return gcd_dense(big, small, mod);
}

}  // namespace

bool poly_derivative_is_zero(const Poly& f, std::int64_t p)
{
    return std::all_of(f.terms.begin(), f.terms.end(),
                       [p](const Term& t) { return t.exponent % p == 0 || coef_reduce(t.coefficient, p) == 0; });
}

Poly poly_gcd_with_derivative(const Poly& f, std::int64_t p)
{
    if (poly_is_sparse(f))
        return poly_gcd_mod(poly_derivative(f, p), f, p);
    const Modulus mod(p);
    Dense dense = dense_from_poly(f, mod);
    // f' by exponent: coefficient e + 1 of f times e + 1.
    Residues derivative(dense.size() > 1 ? dense.size() - 1 : 0);
    for (std::size_t e = 0; e < derivative.size(); ++e)
        derivative[e] = static_cast<Residue>(mod.mul(dense[e + 1], mod.reduce(e + 1)));
    dense_trim(derivative);
    return poly_from_dense(dense_gcd(std::move(derivative), std::move(dense), mod));
}

Poly poly_gcd_mod(const Poly& a, const Poly& b, std::int64_t p)
{
    const Modulus mod(p);
    const Poly& big = poly_degree(a) >= poly_degree(b) ? a : b;
    const Poly& small = poly_degree(a) >= poly_degree(b) ? b : a;
    if (poly_is_zero(small)) {  // gcd(f, 0) = f made monic, whatever f's degree
        Poly g = poly_reduce(big, p);
        poly_make_monic(p, g);
        return g;
    }
    if (poly_is_sparse(big))
        return gcd_terms(big, small, mod);
    return gcd_dense(big, small, mod);
}
