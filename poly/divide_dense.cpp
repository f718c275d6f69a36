#include <algorithm>
#include <bit>

#include "poly/dense_mod.h"
#include "poly/thresholds.h"

void dense_divide_plain(const Dense& a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder)
{
    const std::int64_t deg_a = dense_degree(a), deg_b = dense_degree(b);
    Dense r = a;
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
    // g ← g·(2 - f·g) doubles the number of correct coefficients: with f·g = 1 + x^k·h modulo
    // x^2k, the new g is g - x^k·(g·h mod x^k).
    Dense g{static_cast<Residue>(mod.inverse(f[0]))};
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
            const Spectrum spectrum_g = dense_spectrum(g, length, primes);
            Spectrum fg;
            spectrum_multiply_add(fg, dense_spectrum(f_low, length, primes), spectrum_g);
            const Dense h = dense_shift_down(dense_from_spectrum(std::move(fg), next, mod), k);
            Spectrum gh;
            spectrum_multiply_add(gh, spectrum_g, dense_spectrum(h, length, primes));
            t = dense_from_spectrum(std::move(gh), next - k, mod);
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

// a - q·b, which has degree below deg b: its coefficients from deg b up cancel, so it is also
// (a - q·b) mod (x^n - 1) for any n >= deg b, where the product q·b wraps around: transforms of
// length transform_length(deg b) suffice, whatever the lengths of q and a.
Dense remainder_from_quotient(const Dense& a, const Dense& b, const Dense& q, const Modulus& mod)
{
    const std::size_t low = b.size() - 1;
    if (low == 0 || q.empty())
        return dense_truncate(a, low);
    const std::size_t length = transform_length(low);
    const Dense q_folded = dense_fold(q, length, mod), b_folded = dense_fold(b, length, mod);
    const std::size_t primes = transform_primes(std::min(q_folded.size(), b_folded.size()), mod);
    if (length > kMaxTransformLength ||
        plain_is_cheaper_than_transforms(q_folded.size(), b_folded.size(), length, primes, 1.0,
                                         plain_product_share(std::min(q.size(), b.size()), mod)))
        return dense_subtract(dense_truncate(a, low), dense_truncate(dense_multiply(q, b, mod), low), mod);
    Spectrum product;
    spectrum_multiply_add(product, dense_spectrum(q_folded, length, primes), dense_spectrum(b_folded, length, primes));
    return dense_subtract(dense_truncate(dense_fold(a, length, mod), low), dense_from_spectrum(std::move(product), low, mod), mod);
}

}  // namespace

void dense_divide_newton(const Dense& a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder)
{
    const std::int64_t deg_a = dense_degree(a), deg_b = dense_degree(b);
    if (deg_a < deg_b) {
        if (quotient != nullptr)
            quotient->clear();
        if (remainder != nullptr)
            *remainder = a;
        return;
    }
    // The quotient reversed is rev(a)·rev(b)^-1 modulo x^(m+1), m = deg a - deg b.
    const std::size_t m = static_cast<std::size_t>(deg_a - deg_b);
    const Dense reversed_b(b.rbegin(), b.rend());
    Dense reversed_a(a.rbegin(), a.rbegin() + static_cast<std::ptrdiff_t>(std::min(a.size(), m + 1)));
    dense_trim(reversed_a);
    const Dense reversed_q =
        dense_truncate(dense_multiply(reversed_a, dense_inverse_series(reversed_b, m + 1, mod), mod), m + 1);
    Dense q(m + 1, 0);
    for (std::size_t i = 0; i < reversed_q.size(); ++i)
        q[m - i] = reversed_q[i];
    dense_trim(q);
    if (remainder != nullptr)
        *remainder = remainder_from_quotient(a, b, q, mod);
    if (quotient != nullptr)
        *quotient = std::move(q);
}

void dense_divide(const Dense& a, const Dense& b, const Modulus& mod, Dense* quotient, Dense* remainder)
{
    const std::int64_t quotient_length = dense_degree(a) - dense_degree(b) + 1;
    if (quotient_length < static_cast<std::int64_t>(kNewtonDivisionCrossover) ||
        dense_degree(b) < static_cast<std::int64_t>(kNewtonDivisionCrossover))
        dense_divide_plain(a, b, mod, quotient, remainder);
    else
        dense_divide_newton(a, b, mod, quotient, remainder);
}
