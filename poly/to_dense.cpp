#include "to_dense.h"

#include <algorithm>

#include "poly/failure.h"

Residues residues_from_poly(const Poly& f, const Modulus& mod)
{
    require_dense_length(static_cast<std::uint64_t>(poly_degree(f) + 1));
    Residues r(static_cast<std::size_t>(poly_degree(f) + 1), 0);
    for (const Term& t : f.terms)
        r[static_cast<std::size_t>(t.exponent)] =
            static_cast<Residue>(coef_reduce(t.coefficient, static_cast<std::int64_t>(mod.p)));
    return r;
}

Dense dense_from_poly(const Poly& f, const Modulus& mod)
{
    Residues a = residues_from_poly(f, mod);
    dense_trim(a);
    return a;
}

Poly poly_from_residues(const Residues& r, std::size_t length)
{
    const auto end = r.begin() + static_cast<std::ptrdiff_t>(length);
    Poly f;
    f.terms.resize(length - static_cast<std::size_t>(std::count(r.begin(), end, Residue{0})));
    Term* next = f.terms.data();
    for (std::size_t i = 0; i < length; ++i)
        if (r[i] != 0)
            *next++ = Term{static_cast<Exponent>(i), static_cast<Coef>(r[i])};
    return f;
}
