#include <utility>

#include "poly/dense.h"

// Euclid's algorithm: on term lists while the operands have few terms and wide gaps, then on dense
// residues, each remainder computed in place in the larger operand.
Poly poly_gcd_mod(const Poly& a, const Poly& b, std::int64_t p)
{
    const Modulus mod(p);
    Poly big_terms = poly_degree(a) >= poly_degree(b) ? a : b;
    Poly small_terms = poly_degree(a) >= poly_degree(b) ? b : a;
    while (!poly_is_zero(small_terms) && poly_is_sparse(big_terms)) {
        Poly remainder;
        if (!sparse_divide_mod(big_terms, small_terms, mod, nullptr, remainder, sparse_term_limit(big_terms, small_terms)))
            break;
        big_terms = std::move(small_terms);
        small_terms = std::move(remainder);
    }
    if (poly_is_zero(small_terms)) {
        poly_make_monic(p, big_terms);
        return big_terms;
    }

    Residues big = residues_from_poly(big_terms, mod);
    Residues small = residues_from_poly(small_terms, mod);
    std::int64_t deg_big = poly_degree(big_terms);
    std::int64_t deg_small = poly_degree(small_terms);
    while (deg_small >= 0) {
        residues_divide(big, deg_big, small, deg_small, mod, nullptr);
        const std::int64_t deg_remainder = residues_degree(big, deg_small);
        std::swap(big, small);
        deg_big = deg_small;
        deg_small = deg_remainder;
    }
    Poly g = poly_from_residues(big, static_cast<std::size_t>(deg_big + 1));
    poly_make_monic(p, g);
    return g;
}
