#include <algorithm>
#include <cstdlib>

#include "poly/dense.h"

Residues residues_from_poly(const Poly& f, const Modulus& mod)
{
    Residues r(static_cast<std::size_t>(poly_degree(f) + 1), 0);
    for (const Term& t : f.terms)
        r[static_cast<std::size_t>(t.exponent)] =
            static_cast<Residue>(coef_reduce(t.coefficient, static_cast<std::int64_t>(mod.p)));
    return r;
}

Poly poly_from_residues(const Residues& r, std::size_t length)
{
    Poly f;
    f.terms.reserve(length - static_cast<std::size_t>(std::count(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(length), Residue{0})));
    for (std::size_t i = 0; i < length; ++i)
        if (r[i] != 0)
            f.terms.push_back(Term{static_cast<Exponent>(i), static_cast<Coef>(r[i])});
    return f;
}

std::int64_t residues_degree(const Residues& r, std::int64_t length)
{
    std::int64_t d = length - 1;
    while (d >= 0 && r[static_cast<std::size_t>(d)] == 0)
        --d;
    return d;
}

void residues_divide(Residues& r, std::int64_t deg_r, const Residues& b, std::int64_t deg_b, const Modulus& mod,
                     Residues* quotient)
{
    if (quotient != nullptr)
        quotient->assign(static_cast<std::size_t>(deg_r >= deg_b ? deg_r - deg_b + 1 : 0), 0);
    if (deg_r < deg_b)
        return;
    const std::uint64_t inv = mod.inverse(b[static_cast<std::size_t>(deg_b)]);
    const std::uint32_t p = static_cast<std::uint32_t>(mod.p);
    // A divisor with few terms is walked term by term instead of slot by slot.
    const std::size_t below_lead = static_cast<std::size_t>(deg_b);
    const std::size_t nonzero = below_lead - static_cast<std::size_t>(std::count(b.begin(), b.begin() + deg_b, Residue{0}));
    const bool sparse = nonzero * 4 < below_lead;
    std::vector<std::size_t> support;
    if (sparse) {
        support.reserve(nonzero);
        for (std::size_t t = 0; t < below_lead; ++t)
            if (b[t] != 0)
                support.push_back(t);
    }
    for (std::int64_t e = deg_r; e >= deg_b; --e) {
        const Residue lead = r[static_cast<std::size_t>(e)];
        if (lead == 0)
            continue;
        const Residue q = static_cast<Residue>(mod.mul(lead, inv));
        const Residue minus_q = static_cast<Residue>(mod.neg(q));
        const std::size_t s = static_cast<std::size_t>(e - deg_b);
        Residue* window = r.data() + s;
        if (sparse) {
            for (const std::size_t t : support)
                window[t] = static_cast<Residue>(mod.reduce(window[t] + static_cast<std::uint64_t>(minus_q) * b[t]));
        } else {
            residues_add_multiple(window, b.data(), below_lead, minus_q, mod.shoup(minus_q), p);
        }
        r[static_cast<std::size_t>(e)] = 0;
        if (quotient != nullptr)
            (*quotient)[s] = q;
    }
}

namespace {

struct Division {
    Poly quotient;
    Poly remainder;
};

Division divide_mod(const Poly& a, const Poly& b, std::int64_t p)
{
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

// Schoolbook division over the integers: every step must be exact, except that a constant
// divisor leaves a constant smaller in absolute value than its own value as the remainder.
Division divide_int(const Poly& a, const Poly& b)
{
    const std::int64_t deg_a = poly_degree(a);
    const std::int64_t deg_b = poly_degree(b);
    const Coef lc = poly_lead(b);
    std::vector<Int128> r(static_cast<std::size_t>(deg_a + 1), 0);
    for (const Term& t : a.terms)
        r[static_cast<std::size_t>(t.exponent)] = t.coefficient;
    std::vector<Coef> q(static_cast<std::size_t>(deg_a >= deg_b ? deg_a - deg_b + 1 : 0), 0);

    std::int64_t e = deg_a;
    while (e >= deg_b) {
        const Int128 v = r[static_cast<std::size_t>(e)];
        if (e == 0 && deg_b == 0 && (v == 0 || (v < 0 ? -v : v) < lc))
            break;
        if (v % lc != 0)
            fatal_exit(EXIT_INVALID_OPERATION);
        const Coef qc = checked_coef(v / lc);
        const std::size_t s = static_cast<std::size_t>(e - deg_b);
        q[s] = qc;
        for (const Term& t : b.terms) {
            Int128& slot = r[s + static_cast<std::size_t>(t.exponent)];
            if (__builtin_sub_overflow(slot, static_cast<Int128>(t.coefficient) * qc, &slot))
                integer_overflow();
        }
        if (e == 0)
            break;
        do
            --e;
        while (e > 0 && r[static_cast<std::size_t>(e)] == 0);
    }

    Division result;
    result.quotient = poly_from_dense(q, 0);
    for (std::size_t i = 0; i < r.size(); ++i)
        if (r[i] != 0)
            result.remainder.terms.push_back(Term{static_cast<Exponent>(i), checked_coef(r[i])});
    return result;
}

Division divide(const Poly& a, std::int64_t p, const Poly& b)
{
    if (poly_is_one(b))
        return Division{a, Poly{}};
    return p != 0 ? divide_mod(a, b, p) : divide_int(a, b);
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
