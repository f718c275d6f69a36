#include <algorithm>
#include <bit>
#include <cassert>
#include <utility>

#include "dense/dense.h"
#include "dense/residue_division.h"
#include "dense/thresholds.h"
#include "ntt/ntt.h"
#include "spectra.h"

void dense_divide_plain(Dense a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder)
{
    assert(dense_is_trimmed(a) && dense_is_trimmed(b) && !b.empty());
    const std::int64_t deg_a = dense_degree(a), deg_b = dense_degree(b);
    Residues& r = a;  // divided in place: the remainder is left at the bottom
    residues_divide(r, deg_a, b, deg_b, mod, quotient);
    if (quotient != nullptr)
        dense_trim(*quotient);
    if (remainder != nullptr) {
        r.resize(std::min(r.size(), static_cast<std::size_t>(deg_b)));
        dense_trim(r);
        *remainder = std::move(r);
    }
}

Dense dense_inverse_series(const Dense& f, std::size_t n, const Modulus& mod)
{
    assert(dense_is_trimmed(f) && !f.empty() && f[0] != 0);
    // g ← g·(2 - f·g) doubles the number of correct coefficients: with f·g = 1 + x^k·h modulo
    // x^2k, the new g is g - x^k·(g·h mod x^k).
    Dense g{static_cast<Residue>(mod.inverse(f[0]))};
    Spectrum spectrum_g, spectrum_other, product;  // kept from one step to the next
    for (std::size_t k = 1; k < n;) {
        const std::size_t next = std::min(2 * k, n);
        const Dense f_low = dense_truncate(f, next);
        const std::size_t length = transform_length(next);
        const std::size_t primes = transform_primes(g.size(), mod);
        Dense t;
        if (length <= kMaxTransformLength &&
            !plain_is_cheaper_than_transforms(f_low.size(), g.size(), length, primes, 1.0,
                                              plain_product_share(std::min(f_low.size(), g.size()), mod))) {
            // Both products by transforms of length transform_length(next), sharing g's: the first wraps
            // around modulo x^length - 1 only into its k lowest coefficients, which are known (1 and
            // zeros) and not needed; the second, g·h, is shorter than length.
            spectrum_assign(spectrum_g, g.data(), g.size(), length, primes);
            spectrum_assign(spectrum_other, f_low.data(), f_low.size(), length, primes);
            spectrum_multiply(product, spectrum_other, spectrum_g);
            const Dense h = dense_shift_down(dense_from_spectrum(product, next, mod), k);
            spectrum_assign(spectrum_other, h.data(), h.size(), length, primes);
            spectrum_multiply(product, spectrum_g, spectrum_other);
            t = dense_from_spectrum(product, next - k, mod);
        } else {
            const Dense h = dense_shift_down(dense_truncate(dense_multiply(f_low, g, mod), next), k);
            t = dense_truncate(dense_multiply(g, h, mod), next - k);
        }
        g.resize(next, 0);
        for (std::size_t i = 0; i < t.size(); ++i)
            g[k + i] = static_cast<Residue>(mod.neg(t[i]));
        dense_trim(g);
        k = next;
    }
    return g;
}

namespace {

// The quotient of a by b (deg a >= deg b) from the inverse of rev(b) modulo x^(m+1),
// m = deg a - deg b: its reversal is rev(a)·rev(b)^-1 modulo x^(m+1). `product` is that product's
// low m + 1 coefficients.
Dense quotient_from_reversed(const Dense& reversed_product, std::size_t m)
{
    Dense q(m + 1, 0);
    for (std::size_t i = 0; i < std::min(reversed_product.size(), m + 1); ++i)
        q[m - i] = reversed_product[i];
    dense_trim(q);
    return q;
}

// rev(b): the coefficients in the other order, trimmed (zeros at the bottom of b drop out).
Dense reversed(const Dense& b)
{
    Dense r(b.rbegin(), b.rend());
    dense_trim(r);
    return r;
}

// The top m + 1 coefficients of a, reversed: rev(a) modulo x^(m+1).
Dense reversed_top(const Dense& a, std::size_t m)
{
    Dense top(a.rbegin(), a.rbegin() + static_cast<std::ptrdiff_t>(std::min(a.size(), m + 1)));
    dense_trim(top);
    return top;
}

// a - q·b mod (x^n - 1) for n = transform_length(deg b), cut to its first deg b coefficients, with
// the spectrum of b folded modulo x^n - 1 given. a - q·b has degree below deg b: its coefficients
// from deg b up cancel, so it is also (a - q·b) mod (x^n - 1) for any n >= deg b, where the product
// q·b wraps around: transforms of that length suffice, whatever the lengths of q and a.
Dense remainder_by_folding(const Dense& a, const Spectrum& folded_b, std::size_t low, const Dense& q,
                           const Modulus& mod)
{
    Spectrum product, spectrum_q;
    const Residues q_folded = dense_fold(q, folded_b.n, mod);
    spectrum_assign(spectrum_q, q_folded.data(), q_folded.size(), folded_b.n, folded_b.primes);
    spectrum_multiply(product, spectrum_q, folded_b);
    Residues a_folded = dense_fold(a, folded_b.n, mod);
    a_folded.resize(std::min(a_folded.size(), low));
    dense_trim(a_folded);
    return dense_subtract(a_folded, dense_from_spectrum(product, low, mod), mod);
}

// a - q·b, the remainder of a by b for their quotient q.
Dense remainder_from_quotient(const Dense& a, const Dense& b, const Dense& q, const Modulus& mod)
{
    const std::size_t low = b.size() - 1;
    if (low == 0 || q.empty())
        return dense_truncate(a, low);
    const std::size_t length = transform_length(low);
    const std::size_t q_terms = std::min(q.size(), length), b_terms = std::min(b.size(), length);
    const std::size_t primes = transform_primes(std::min(q_terms, b_terms), mod);
    if (length > kMaxTransformLength ||
        plain_is_cheaper_than_transforms(q_terms, b_terms, length, primes, 1.0,
                                         plain_product_share(std::min(q.size(), b.size()), mod)))
        return dense_subtract(dense_truncate(a, low), dense_truncate(dense_multiply(q, b, mod), low), mod);
    Spectrum folded_b;
    const Residues b_folded = dense_fold(b, length, mod);
    spectrum_assign(folded_b, b_folded.data(), b_folded.size(), length, primes);
    return remainder_by_folding(a, folded_b, low, q, mod);
}

}  // namespace

void dense_divide_newton(const Dense& a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder)
{
    assert(dense_is_trimmed(a) && dense_is_trimmed(b) && !b.empty());
    const std::int64_t deg_a = dense_degree(a), deg_b = dense_degree(b);
    if (deg_a < deg_b) {
        if (quotient != nullptr)
            quotient->clear();
        if (remainder != nullptr)
            *remainder = a;
        return;
    }
    const std::size_t m = static_cast<std::size_t>(deg_a - deg_b);
    const Dense inverse = dense_inverse_series(reversed(b), m + 1, mod);
    Dense q = quotient_from_reversed(dense_truncate(dense_multiply(reversed_top(a, m), inverse, mod), m + 1), m);
    if (remainder != nullptr)
        *remainder = remainder_from_quotient(a, b, q, mod);
    if (quotient != nullptr)
        *quotient = std::move(q);
}

void dense_divide(Dense a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder)
{
    const std::int64_t quotient_length = dense_degree(a) - dense_degree(b) + 1;
    if (quotient_length < static_cast<std::int64_t>(kNewtonDivisionCrossover) ||
        dense_degree(b) < static_cast<std::int64_t>(kNewtonDivisionCrossover))
        dense_divide_plain(std::move(a), b, mod, quotient, remainder);
    else
        dense_divide_newton(a, b, mod, quotient, remainder);
}

DenseModulus dense_modulus(Dense g, const Modulus& mod, std::size_t keep_from)
{
    assert(dense_is_trimmed(g) && !g.empty());
    DenseModulus kept;
    kept.g = std::move(g);
    const std::size_t degree = kept.g.size() - 1;
    if (degree < (keep_from > 0 ? keep_from : kKeptInverseCrossover) || degree < 2)
        return kept;
    const std::size_t inverse_length = transform_length(2 * degree - 1);
    if (inverse_length > kMaxTransformLength)
        return kept;
    // Every quotient has at most deg g coefficients, and so every sum in the two products at most
    // deg g terms.
    const std::size_t primes = transform_primes(degree, mod);
    kept.reversed_inverse = dense_inverse_series(reversed(kept.g), degree, mod);
    spectrum_assign(kept.inverse_spectrum, kept.reversed_inverse.data(), kept.reversed_inverse.size(), inverse_length,
                    primes);
    const std::size_t folded_length = transform_length(degree);
    const Residues folded = dense_fold(kept.g, folded_length, mod);
    spectrum_assign(kept.folded_g_spectrum, folded.data(), folded.size(), folded_length, primes);
    return kept;
}

Dense dense_remainder(const Dense& a, const DenseModulus& g, const Modulus& mod)
{
    assert(dense_is_trimmed(a));
    const std::int64_t deg_a = dense_degree(a), deg_g = dense_degree(g.g);
    assert(deg_a < 2 * std::max<std::int64_t>(deg_g, 1));
    if (deg_a < deg_g)
        return a;
    const std::size_t m = static_cast<std::size_t>(deg_a - deg_g);
    Dense r;
    if (g.reversed_inverse.empty() || m + 1 <= kShortQuotient) {
        dense_divide_plain(a, g.g, mod, nullptr, &r);
        return r;
    }
    // rev(a)·rev(g)^-1: the kept inverse has deg g coefficients, more than the m + 1 the quotient
    // needs; the extra ones reach only coefficients above m, and the product's deg a + 1 coefficients
    // fit the kept spectrum's length without wrapping.
    const Dense reversed_a = reversed_top(a, m);
    Spectrum spectrum_a, product;
    spectrum_assign(spectrum_a, reversed_a.data(), reversed_a.size(), g.inverse_spectrum.n, g.inverse_spectrum.primes);
    spectrum_multiply(product, spectrum_a, g.inverse_spectrum);
    const Dense q = quotient_from_reversed(dense_from_spectrum(product, m + 1, mod), m);
    return remainder_by_folding(a, g.folded_g_spectrum, g.g.size() - 1, q, mod);
}
