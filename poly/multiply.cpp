#include "poly/dense.h"

namespace {

Poly multiply_mod(const Poly& a, const Poly& b, std::int64_t p)
{
    const Modulus mod(p);
    const std::size_t length = static_cast<std::size_t>(poly_degree(a) + poly_degree(b) + 1);
    const Poly& shorter = a.terms.size() <= b.terms.size() ? a : b;
    const Poly& longer = a.terms.size() <= b.terms.size() ? b : a;
    Residues product(length, 0);
    const std::size_t longer_degree = static_cast<std::size_t>(poly_degree(longer));
    if (longer.terms.size() * 4 > longer_degree) {
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

Poly multiply_int(const Poly& a, const Poly& b)
{
    const std::size_t length = static_cast<std::size_t>(poly_degree(a) + poly_degree(b) + 1);
    std::vector<Int128> acc(length, 0);
    for (const Term& ta : a.terms) {
        Int128* row = acc.data() + ta.exponent;
        for (const Term& tb : b.terms) {
            const Int128 product = static_cast<Int128>(ta.coefficient) * tb.coefficient;
            if (__builtin_add_overflow(row[tb.exponent], product, &row[tb.exponent]))
                integer_overflow();
        }
    }
    Poly result;
    for (std::size_t i = 0; i < length; ++i)
        if (acc[i] != 0)
            result.terms.push_back(Term{static_cast<Exponent>(i), checked_coef(acc[i])});
    return result;
}

}  // namespace

Poly poly_multiply(const Poly& a, std::int64_t p, const Poly& b)
{
    if (poly_is_zero(a) || poly_is_zero(b))
        return Poly{};
    return p != 0 ? multiply_mod(a, b, p) : multiply_int(a, b);
}

Poly poly_subtract(const Poly& a, const Poly& b)
{
    // Merge the two ascending term lists.
    Poly result;
    result.terms.reserve(a.terms.size() + b.terms.size());
    std::size_t i = 0, j = 0;
    while (i < a.terms.size() || j < b.terms.size()) {
        if (j == b.terms.size() || (i < a.terms.size() && a.terms[i].exponent < b.terms[j].exponent)) {
            result.terms.push_back(a.terms[i++]);
            continue;
        }
        if (i == a.terms.size() || b.terms[j].exponent < a.terms[i].exponent) {
            result.terms.push_back(Term{b.terms[j].exponent, checked_coef(-static_cast<Int128>(b.terms[j].coefficient))});
            ++j;
            continue;
        }
        const Int128 difference = static_cast<Int128>(a.terms[i].coefficient) - b.terms[j].coefficient;
        if (difference != 0)
            result.terms.push_back(Term{a.terms[i].exponent, checked_coef(difference)});
        ++i;
        ++j;
    }
    return result;
}
