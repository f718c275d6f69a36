#include <algorithm>
#include <bit>
#include <initializer_list>
#include <tuple>
#include <utility>

#include "poly/dense_mod.h"
#include "poly/thresholds.h"

namespace {

void make_monic(Dense& a, const Modulus& mod)
{
    if (a.empty())
        return;
    const std::uint64_t inverse = mod.inverse(a.back());
    for (Residue& c : a)
        c = static_cast<Residue>(mod.mul(c, inverse));
}

// A 2x2 matrix of polynomials: the product of the steps (a, b) ← (b, a - q·b) it stands for.
struct Matrix {
    Dense m00, m01, m10, m11;
};

Matrix identity()
{
    return Matrix{{1}, {}, {}, {1}};
}

// Transforms for sums of two products of these operands whose results have at most
// `result_length` coefficients: the products wrap around modulo x^n - 1, and what wraps cancels in
// the sums. A length of zero when the plain products are cheaper, or the transforms too short.
struct Transforms {
    std::size_t n = 0;
    std::size_t primes = 0;
};

Transforms transforms_for(std::size_t longest_left, std::size_t longest_right, std::size_t result_length, const Modulus& mod)
{
    if (longest_left == 0 || longest_right == 0)
        return {};
    const std::size_t n = std::bit_ceil(result_length);
    if (n > kMaxTransformLength)
        return {};
    // An operand longer than n is folded modulo x^n - 1 first, so no product sums more than n terms.
    const std::size_t primes = transform_primes(2 * std::min({longest_left, longest_right, n}), mod);
    if (plain_is_cheaper_than_transforms(longest_left, longest_right, n, primes))
        return {};
    return {n, primes};
}

std::size_t longest(std::initializer_list<const Dense*> polys)
{
    std::size_t n = 0;
    for (const Dense* f : polys)
        n = std::max(n, f->size());
    return n;
}

// The spectrum of a modulo x^n - 1.
Spectrum cyclic_spectrum(const Dense& a, const Transforms& t, const Modulus& mod)
{
    return dense_spectrum(a.size() <= t.n ? a : dense_fold(a, t.n, mod), t.n, t.primes);
}

// x·y + z·w from spectra: each operand transformed once, one inverse transform for the sum.
Dense sum_of_products(const Spectrum& x, const Spectrum& y, const Spectrum& z, const Spectrum& w, std::size_t length,
                      const Modulus& mod)
{
    Spectrum sum;
    spectrum_multiply_add(sum, x, y);
    spectrum_multiply_add(sum, z, w);
    return dense_from_spectrum(std::move(sum), length, mod);
}

// (r00·a + r01·b, r10·a + r11·b) for the matrix r of Euclid's steps on (a, b), deg a >= deg b. The
// steps' quotients take deg r11 off a's degree and the second remainder is below the first, so
// both results have at most a.size() - deg r11 coefficients: transforms of that length suffice.
std::pair<Dense, Dense> apply(const Matrix& r, const Dense& a, const Dense& b, const Modulus& mod)
{
    const std::size_t left = longest({&r.m00, &r.m01, &r.m10, &r.m11}), right = longest({&a, &b});
    const std::size_t length = a.size() - static_cast<std::size_t>(dense_degree(r.m11));
    const Transforms t = transforms_for(left, right, length, mod);
    if (t.n == 0)
        return {dense_add(dense_multiply(r.m00, a, mod), dense_multiply(r.m01, b, mod), mod),
                dense_add(dense_multiply(r.m10, a, mod), dense_multiply(r.m11, b, mod), mod)};
    const Spectrum sa = cyclic_spectrum(a, t, mod), sb = cyclic_spectrum(b, t, mod);
    return {sum_of_products(cyclic_spectrum(r.m00, t, mod), sa, cyclic_spectrum(r.m01, t, mod), sb, length, mod),
            sum_of_products(cyclic_spectrum(r.m10, t, mod), sa, cyclic_spectrum(r.m11, t, mod), sb, length, mod)};
}

Matrix product(const Matrix& s, const Matrix& r, const Modulus& mod)
{
    const std::size_t left = longest({&s.m00, &s.m01, &s.m10, &s.m11}), right = longest({&r.m00, &r.m01, &r.m10, &r.m11});
    const std::size_t length = left + right - 1;
    const Transforms t = transforms_for(left, right, length, mod);
    if (t.n == 0) {
        const auto entry = [&mod](const Dense& x, const Dense& y, const Dense& z, const Dense& w) {
            return dense_add(dense_multiply(x, y, mod), dense_multiply(z, w, mod), mod);
        };
        return Matrix{entry(s.m00, r.m00, s.m01, r.m10), entry(s.m00, r.m01, s.m01, r.m11),
                      entry(s.m10, r.m00, s.m11, r.m10), entry(s.m10, r.m01, s.m11, r.m11)};
    }
    const Spectrum s00 = dense_spectrum(s.m00, t.n, t.primes), s01 = dense_spectrum(s.m01, t.n, t.primes),
                   s10 = dense_spectrum(s.m10, t.n, t.primes), s11 = dense_spectrum(s.m11, t.n, t.primes);
    const Spectrum r00 = dense_spectrum(r.m00, t.n, t.primes), r01 = dense_spectrum(r.m01, t.n, t.primes),
                   r10 = dense_spectrum(r.m10, t.n, t.primes), r11 = dense_spectrum(r.m11, t.n, t.primes);
    return Matrix{sum_of_products(s00, r00, s01, r10, length, mod), sum_of_products(s00, r01, s01, r11, length, mod),
                  sum_of_products(s10, r00, s11, r10, length, mod), sum_of_products(s10, r01, s11, r11, length, mod)};
}

// One Euclid step with quotient q: the rows move up, the new bottom row is top - q·bottom.
void step(Matrix& r, const Dense& q, const Modulus& mod)
{
    Dense m10 = dense_subtract(r.m00, dense_multiply(q, r.m10, mod), mod);
    Dense m11 = dense_subtract(r.m01, dense_multiply(q, r.m11, mod), mod);
    r.m00 = std::move(r.m10);
    r.m01 = std::move(r.m11);
    r.m10 = std::move(m10);
    r.m11 = std::move(m11);
}

// Whether the step from (a, b) cancels leading terms without inverting b's lead: for a short
// quotient and divisor modulo a large prime, whose inversion costs more than the extra scaling.
bool inverse_free(const Dense& a, const Dense& b, const Modulus& mod)
{
    return mod.p > kInverseFreeModulusAbove && dense_degree(b) < kInverseFreeDegreeBelow &&
           dense_degree(a) - dense_degree(b) < kInverseFreeQuotientBelow;
}

// The same step up to a constant: a becomes the remainder c·a - q·b (c a non-zero constant), and
// the matrix's new bottom row is c·top - q·bottom.
void step_up_to_unit(Dense& a, const Dense& b, Matrix& r, const Modulus& mod)
{
    Dense q;
    Residue c = 1;
    residues_remainder_up_to_unit(a, dense_degree(a), b, dense_degree(b), mod, &q, &c);
    a.resize(b.size() - 1);
    dense_trim(a);
    for (Dense* top : {&r.m00, &r.m01})
        for (Residue& v : *top)
            v = static_cast<Residue>(mod.mul(v, c));
    step(r, q, mod);
}

// deg a > deg b. The matrix of the Euclid steps that take (a, b) to the first pair of remainders
// whose second has degree below m = ceil(deg a / 2).
Matrix half_gcd(Dense a, Dense b, const Modulus& mod)
{
    const std::int64_t m = (dense_degree(a) + 1) / 2;
    if (dense_degree(b) < m)
        return identity();
    Matrix r = identity();
    if (dense_degree(a) < kHalfGcdBase) {
        while (dense_degree(b) >= m) {
            if (inverse_free(a, b, mod)) {
                step_up_to_unit(a, b, r, mod);
                std::swap(a, b);
                continue;
            }
            Dense q, remainder;
            dense_divide(a, b, mod, &q, &remainder);
            step(r, q, mod);
            a = std::move(b);
            b = std::move(remainder);
        }
        return r;
    }
    // The top halves decide the first half of the quotients.
    const std::size_t shift = static_cast<std::size_t>(m);
    r = half_gcd(dense_shift_down(a, shift), dense_shift_down(b, shift), mod);
    auto [c, d] = apply(r, a, b, mod);
    if (dense_degree(d) < m)
        return r;
    Dense q, remainder;
    dense_divide(c, d, mod, &q, &remainder);
    step(r, q, mod);
    if (dense_degree(remainder) < m)
        return r;
    // The top of what is left decides the second half.
    const std::size_t k = static_cast<std::size_t>(2 * m - dense_degree(d));
    const Matrix s = half_gcd(dense_shift_down(d, k), dense_shift_down(remainder, k), mod);
    return product(s, r, mod);
}

// deg a > deg b. The pair that half_gcd's steps take (a, b) to, without their matrix: the two
// halves' matrices are applied in turn to the pair (the second to a pair of three quarters the
// degree) instead of being multiplied and applied to the whole pair.
std::pair<Dense, Dense> half_reduce(Dense a, Dense b, const Modulus& mod)
{
    const std::int64_t m = (dense_degree(a) + 1) / 2;
    if (dense_degree(b) < m)
        return {std::move(a), std::move(b)};
    if (dense_degree(a) < kHalfGcdBase)
        return apply(half_gcd(a, b, mod), a, b, mod);
    const std::size_t shift = static_cast<std::size_t>(m);
    auto [c, d] = apply(half_gcd(dense_shift_down(a, shift), dense_shift_down(b, shift), mod), a, b, mod);
    if (dense_degree(d) < m)
        return {std::move(c), std::move(d)};
    Dense remainder;
    dense_divide(c, d, mod, nullptr, &remainder);
    if (dense_degree(remainder) < m)
        return {std::move(d), std::move(remainder)};
    const std::size_t k = static_cast<std::size_t>(2 * m - dense_degree(d));
    return apply(half_gcd(dense_shift_down(d, k), dense_shift_down(remainder, k), mod), d, remainder, mod);
}

}  // namespace

Dense dense_gcd_plain(Dense a, Dense b, const Modulus& mod)
{
    if (dense_degree(a) < dense_degree(b))
        std::swap(a, b);
    while (!b.empty()) {
        // Each remainder is computed in place in the larger operand; a short quotient's remainder up to
        // a constant (the gcd is made monic at the end), which spares inverting b's lead.
        if (inverse_free(a, b, mod))
            residues_remainder_up_to_unit(a, dense_degree(a), b, dense_degree(b), mod, nullptr, nullptr);
        else
            residues_divide(a, dense_degree(a), b, dense_degree(b), mod, nullptr);
        a.resize(b.size() - 1);
        dense_trim(a);
        std::swap(a, b);
    }
    make_monic(a, mod);
    return a;
}

namespace {

// Half-gcd jumps while the smaller operand's degree is at least `plain_below`, Euclid after.
Dense gcd_by_jumps(Dense a, Dense b, const Modulus& mod, std::int64_t plain_below)
{
    if (dense_degree(a) < dense_degree(b))
        std::swap(a, b);
    // Operands of unequal degrees: the first remainder by the fast division (its quotient is long),
    // then the steps on two operands of the smaller degree.
    if (!b.empty() && dense_degree(a) - dense_degree(b) > static_cast<std::int64_t>(kNewtonDivisionCrossover)) {
        Dense remainder;
        dense_divide(a, b, mod, nullptr, &remainder);
        a = std::move(b);
        b = std::move(remainder);
    }
    while (!b.empty() && dense_degree(b) >= plain_below) {
        // A degree n above a power of two t first jumps to just below t: the steps of the top
        // 2·(n - t + 1) coefficients take off n - t + 1 degrees, and that jump's product then needs
        // transforms of length t instead of 2t. From a power of two on, each jump halves the degree.
        const std::int64_t n = dense_degree(a);
        const std::int64_t t = static_cast<std::int64_t>(std::bit_floor(static_cast<std::uint64_t>(n)));
        const std::int64_t shift = 2 * t - n - 2;
        if (shift > 0 && n - shift >= 2 * kHalfGcdBase)
            std::tie(a, b) = apply(half_gcd(dense_shift_down(a, static_cast<std::size_t>(shift)),
                                            dense_shift_down(b, static_cast<std::size_t>(shift)), mod),
                                   a, b, mod);
        else
            std::tie(a, b) = half_reduce(std::move(a), std::move(b), mod);
        if (dense_degree(a) < dense_degree(b))
            std::swap(a, b);
        if (b.empty())
            break;
        Dense remainder;
        dense_divide(a, b, mod, nullptr, &remainder);
        a = std::move(b);
        b = std::move(remainder);
    }
    return dense_gcd_plain(std::move(a), std::move(b), mod);
}

}  // namespace

Dense dense_gcd_half(Dense a, Dense b, const Modulus& mod)
{
    return gcd_by_jumps(std::move(a), std::move(b), mod, kHalfGcdBase);
}

Dense dense_gcd(Dense a, Dense b, const Modulus& mod)
{
    const std::size_t length = std::max(a.size(), b.size());
    const std::size_t primes = transform_primes(length, mod);  // those of its typical products
    return gcd_by_jumps(std::move(a), std::move(b), mod, kHalfGcdCrossover[primes - 1]);
}
