#include <algorithm>

#include "dense/dense.h"
#include "dense/thresholds.h"
#include "poly/failure.h"
#include "poly/poly.h"
#include "residue/kernels.h"
#include "to_dense.h"

Poly poly_multiply(const Poly& a, std::int64_t p, const Poly& b)
{
    if (poly_is_zero(a) || poly_is_zero(b))
        return Poly{};
    const Modulus mod(p);
    const std::size_t a_length = static_cast<std::size_t>(poly_degree(a) + 1), b_length = static_cast<std::size_t>(poly_degree(b) + 1);
    const std::size_t length = a_length + b_length - 1;
    const Poly& shorter = a.terms.size() <= b.terms.size() ? a : b;
    const Poly& longer = a.terms.size() <= b.terms.size() ? b : a;
    const std::size_t longer_degree = static_cast<std::size_t>(poly_degree(longer));
    const std::size_t shorter_length = std::min(a_length, b_length);
    const bool longer_dense = longer.terms.size() * kDenseRowRatio > longer_degree;
    if (longer_dense && shorter.terms.size() * kDenseRowRatio > static_cast<std::size_t>(poly_degree(shorter)) &&
        !plain_product_is_cheaper(a_length, b_length, transform_primes(shorter_length, mod),
                                  plain_product_share(shorter_length, mod))) {
        // Two operands with many terms: the fast dense product.
        return poly_from_dense(dense_multiply(dense_from_poly(a, mod), dense_from_poly(b, mod), mod));
    }
    const bool square = &a == &b || a.terms == b.terms;
    if (longer_dense && (square || (2 * shorter.terms.size() > static_cast<std::size_t>(poly_degree(shorter)) &&
                                    residues_sums_fit(shorter_length, mod)))) {
        // A dense square, or two operands at least half full and a modulus small enough for the
        // plain product's sums: that product costs about as much per slot of the shorter operand as
        // the rows below cost per term.
        const Dense x = dense_from_poly(a, mod);
        return poly_from_dense(square ? dense_multiply_plain(x, x, mod) : dense_multiply_plain(x, dense_from_poly(b, mod), mod));
    }
    require_dense_length(length);
    Residues product(length, 0);
    if (longer_dense) {
        // A dense operand: one vectorized row per term of the other.
        const Residues row = residues_from_poly(longer, mod);
        for (const Term& t : shorter.terms) {
            const Residue c = static_cast<Residue>(coef_reduce(t.coefficient, p));
            residues_add_multiple(product.data() + t.exponent, row.data(), row.size(), c, mod.shoup(c),
                                  static_cast<std::uint32_t>(p));
        }
    } else {
        for (const Term& ta : shorter.terms) {
            const std::uint64_t ca = static_cast<std::uint64_t>(coef_reduce(ta.coefficient, p));
            Residue* row = product.data() + ta.exponent;
            for (const Term& tb : longer.terms) {
                const std::uint64_t cb = static_cast<std::uint64_t>(coef_reduce(tb.coefficient, p));
                row[tb.exponent] = static_cast<Residue>(mod.reduce(row[tb.exponent] + ca * cb));
            }
        }
    }
    return poly_from_residues(product, length);
}
