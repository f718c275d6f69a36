// Internal to the arithmetic: dense coefficient vectors and the two coefficient rings.
//
// Modulo p the dense vectors hold residues in 0..p-1 (p < 2^31: a residue fits in 32 bits, the sum of
// two as well, and a product of two in 62 bits); over the integers they hold signed 64-bit values and
// every step is checked.
#pragma once

#include <cstdint>
#include <vector>

#include "frontend/fatal.h"
#include "poly/poly.h"

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

using Residue = std::uint32_t;
using Residues = std::vector<Residue>;

// Arithmetic modulo one prime p < 2^31 with Barrett reduction: no division instruction on the
// hot paths.
struct Modulus {
    std::uint64_t p;
    std::uint64_t barrett;  // floor((2^64 - 1) / p)

    explicit Modulus(std::int64_t prime)
        : p(static_cast<std::uint64_t>(prime)), barrett(~std::uint64_t{0} / static_cast<std::uint64_t>(prime))
    {
    }

    // x mod p for any 64-bit x.
    std::uint64_t reduce(std::uint64_t x) const
    {
        const std::uint64_t q = static_cast<std::uint64_t>((static_cast<UInt128>(x) * barrett) >> 64);
        std::uint64_t r = x - q * p;
        if (r >= p)
            r -= p;
        return r;
    }
    std::uint64_t mul(std::uint64_t a, std::uint64_t b) const { return reduce(a * b); }
    // floor(w·2^32 / p) for a residue w, the constant of Shoup's multiplication by w.
    std::uint32_t shoup(std::uint32_t w) const
    {
        const std::uint64_t scaled = static_cast<std::uint64_t>(w) << 32;
        std::uint64_t q = static_cast<std::uint64_t>((static_cast<UInt128>(scaled) * barrett) >> 64);
        if (scaled - q * p >= p)
            ++q;
        return static_cast<std::uint32_t>(q);
    }
    std::uint64_t neg(std::uint64_t a) const { return a == 0 ? 0 : p - a; }
    // The inverse of a non-zero residue, by the extended Euclidean algorithm; the remainders stay
    // below 2^31, so the divisions are 32-bit ones.
    std::uint64_t inverse(std::uint64_t a) const
    {
        std::uint32_t r0 = static_cast<std::uint32_t>(p), r1 = static_cast<std::uint32_t>(a);
        std::int64_t t0 = 0, t1 = 1;
        while (r1 != 0) {
            const std::uint32_t q = r0 / r1;
            const std::uint32_t r2 = r0 - q * r1;
            r0 = r1;
            r1 = r2;
            const std::int64_t t2 = t0 - static_cast<std::int64_t>(q) * t1;
            t0 = t1;
            t1 = t2;
        }
        return static_cast<std::uint64_t>(t0 < 0 ? t0 + static_cast<std::int64_t>(p) : t0);
    }
};

// window[t] = (window[t] + w·b[t]) mod p for t < n, all values residues: the inner loop of the
// long division, one row of the divisor scaled by one quotient coefficient.
// w_shoup is Modulus::shoup(w). The processor's vector unit is used where it has one; the portable
// loop gives the same results everywhere.
void residues_add_multiple(Residue* window, const Residue* b, std::size_t n, Residue w, std::uint32_t w_shoup,
                           std::uint32_t p);
void residues_add_multiple_portable(Residue* window, const Residue* b, std::size_t n, Residue w,
                                    std::uint32_t w_shoup, std::uint32_t p);

// Dense residues of f (index = exponent); its coefficients are reduced again so that any
// integer polynomial is accepted.
Residues residues_from_poly(const Poly& f, const Modulus& mod);
// The polynomial of the first `length` residues, zeros dropped.
Poly poly_from_residues(const Residues& r, std::size_t length);
// Index of the highest non-zero entry below `length`, or -1.
std::int64_t residues_degree(const Residues& r, std::int64_t length);

// Divides r (its first deg_r + 1 entries) by the monic-able divisor b of degree deg_b >= 0 in
// place: afterwards entries 0..deg_b-1 hold the remainder. When `quotient` is not null it receives
// the quotient's deg_r - deg_b + 1 coefficients.
void residues_divide(Residues& r, std::int64_t deg_r, const Residues& b, std::int64_t deg_b, const Modulus& mod,
                     Residues* quotient);

// Long division modulo p on term lists, for operands with few terms and wide gaps (x^k by
// k·x^(k-1)): the work follows the terms, not the degree. Gives up, returning false, as soon as the
// remainder or the quotient holds more than `max_terms` terms; the dense division then takes over.
bool sparse_divide_mod(const Poly& a, const Poly& b, const Modulus& mod, Poly* quotient, Poly& remainder,
                       std::size_t max_terms);

// True when f has so few terms against its degree that term-list arithmetic is cheaper than dense.
inline bool poly_is_sparse(const Poly& f)
{
    return static_cast<std::int64_t>(f.terms.size()) * 16 < poly_degree(f);
}
inline std::size_t sparse_term_limit(const Poly& a, const Poly& b)
{
    return 4 * (a.terms.size() + b.terms.size()) + 64;
}

// Over the integers: a result that leaves signed 64 bits cannot be represented.
[[noreturn]] inline void integer_overflow()
{
    fatal_exit(EXIT_CANNOT_COMPUTE);
}
inline Coef checked_coef(Int128 v)
{
    if (v > INT64_MAX || v < INT64_MIN)
        integer_overflow();
    return static_cast<Coef>(v);
}
