#include "poly/dense.h"

namespace {

Poly multiply_mod(const Poly& a, const Poly& b, std::int64_t p)
{
    const Modulus mod(p);
    const std::size_t length = static_cast<std::size_t>(poly_degree(a) + poly_degree(b) + 1);
    // Products of residues fit in 62 bits; a 128-bit accumulator per slot defers every reduction
    // to one per slot.
    std::vector<UInt128> acc(length, 0);
    std::vector<std::uint64_t> b_residues(b.terms.size());
    for (std::size_t j = 0; j < b.terms.size(); ++j)
        b_residues[j] = static_cast<std::uint64_t>(coef_reduce(b.terms[j].coefficient, p));
    for (const Term& ta : a.terms) {
        const std::uint64_t ca = static_cast<std::uint64_t>(coef_reduce(ta.coefficient, p));
        UInt128* row = acc.data() + ta.exponent;
        for (std::size_t j = 0; j < b.terms.size(); ++j)
            row[b.terms[j].exponent] += static_cast<UInt128>(ca * b_residues[j]);
    }
    Poly result;
    result.terms.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint64_t v = mod.reduce_wide(acc[i]);
        if (v != 0)
            result.terms.push_back(Term{static_cast<Exponent>(i), static_cast<Coef>(v)});
    }
    return result;
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
