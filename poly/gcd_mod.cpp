#include <utility>

#include "poly/residues.h"
#include "poly/thresholds.h"

namespace {

// Euclid on dense residues, each remainder computed in place in the larger operand.
Poly gcd_dense(const Poly& big_poly, const Poly& small_poly, const Modulus& mod)
{
    Residues big = residues_from_poly(big_poly, mod);
    Residues small = residues_from_poly(small_poly, mod);
    std::int64_t deg_big = poly_degree(big_poly);
    std::int64_t deg_small = poly_degree(small_poly);
    while (deg_small >= 0) {
        residues_divide(big, deg_big, small, deg_small, mod, nullptr);
        const std::int64_t deg_remainder = residues_degree(big, deg_small);
        std::swap(big, small);
        deg_big = deg_small;
        deg_small = deg_remainder;
    }
    Poly g = poly_from_residues(big, static_cast<std::size_t>(deg_big + 1));
    poly_make_monic(static_cast<std::int64_t>(mod.p), g);
    return g;
}

// Euclid on term lists while the larger operand has few terms and wide gaps; dense once the
// remainders fill in.
Poly gcd_terms(Poly big, Poly small, const Modulus& mod)
{
    while (!poly_is_zero(small) && poly_is_sparse(big)) {
        Poly remainder;
        if (!sparse_divide_mod(big, small, mod, nullptr, remainder, sparse_term_limit(big, small)))
            break;
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

Poly poly_gcd_mod(const Poly& a, const Poly& b, std::int64_t p)
{
    const Modulus mod(p);
    const Poly& big = poly_degree(a) >= poly_degree(b) ? a : b;
    const Poly& small = poly_degree(a) >= poly_degree(b) ? b : a;
    if (poly_is_sparse(big) && !poly_is_zero(small))
        return gcd_terms(big, small, mod);
    return gcd_dense(big, small, mod);
}
