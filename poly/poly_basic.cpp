#include <algorithm>

#include "poly/poly.h"

bool poly_equal(const Poly& a, const Poly& b)
{
    return a.terms == b.terms;
}

const Poly* poly_greater(const Poly& a, const Poly& b)
{
    if (poly_equal(a, b))
        return nullptr;
    const std::size_t na = a.terms.size();
    const std::size_t nb = b.terms.size();
    const std::size_t m = std::min(na, nb);
    // Highest terms first, moving down together: exponent decides, then coefficient.
    for (std::size_t k = 0; k < m; ++k) {
        const Term& ta = a.terms[na - 1 - k];
        const Term& tb = b.terms[nb - 1 - k];
        if (ta.exponent != tb.exponent)
            return ta.exponent > tb.exponent ? &a : &b;
        if (ta.coefficient != tb.coefficient)
            return ta.coefficient > tb.coefficient ? &a : &b;
    }
    // One is the other with more terms below: only a negative constant next term makes the
    // longer one the smaller.
    const Poly& longer = na > nb ? a : b;
    const Poly& shorter = na > nb ? b : a;
    const Term& next = longer.terms[longer.terms.size() - 1 - m];
    if (next.exponent == 0 && next.coefficient < 0)
        return &shorter;
    return &longer;
}

Poly poly_copy(const Poly& f)
{
    return f;
}

Poly poly_one()
{
    return Poly{{Term{0, 1}}};
}

Poly poly_from_dense(const std::vector<Coef>& dense, std::int64_t p)
{
    Poly result;
    for (std::size_t i = 0; i < dense.size(); ++i) {
        const Coef v = p != 0 ? coef_reduce(dense[i], p) : dense[i];
        if (v != 0)
            result.terms.push_back(Term{static_cast<Exponent>(i), v});
    }
    return result;
}
