#include <utility>

#include "poly/dense.h"

// Euclid's algorithm on dense residues, each remainder computed in place in the larger operand.
Poly poly_gcd_mod(const Poly& a, const Poly& b, std::int64_t p)
{
    const Modulus mod(p);
    Residues big = residues_from_poly(a, mod);
    Residues small = residues_from_poly(b, mod);
    std::int64_t deg_big = poly_degree(a);
    std::int64_t deg_small = poly_degree(b);
    if (deg_big < deg_small) {
        std::swap(big, small);
        std::swap(deg_big, deg_small);
    }
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
