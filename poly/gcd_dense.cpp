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

// Transforms for sums of two products of these operands: every one of them shorter than
// `longest_left` + `longest_right`. A length of zero when the plain products are cheaper, or the
// transforms too short.
struct Transforms {
    std::size_t n = 0;
    std::size_t primes = 0;
};

Transforms transforms_for(std::size_t longest_left, std::size_t longest_right, const Modulus& mod)
{
    if (longest_left == 0 || longest_right == 0)
        return {};
    const std::size_t n = std::bit_ceil(longest_left + longest_right - 1);
    const std::size_t primes = transform_primes(2 * std::min(longest_left, longest_right), mod);
    if (n > kMaxTransformLength || plain_product_is_cheaper(longest_left, longest_right, primes))
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

// x·y + z·w from spectra: each operand transformed once, one inverse transform for the sum.
Dense sum_of_products(const Spectrum& x, const Spectrum& y, const Spectrum& z, const Spectrum& w, std::size_t length,
                      const Modulus& mod)
{
    Spectrum sum;
    spectrum_multiply_add(sum, x, y);
    spectrum_multiply_add(sum, z, w);
    return dense_from_spectrum(std::move(sum), length, mod);
}

// (r00·a + r01·b, r10·a + r11·b)
std::pair<Dense, Dense> apply(const Matrix& r, const Dense& a, const Dense& b, const Modulus& mod)
{
    const std::size_t left = longest({&r.m00, &r.m01, &r.m10, &r.m11}), right = longest({&a, &b});
    const auto [n, primes] = transforms_for(left, right, mod);
    if (n == 0)
        return {dense_add(dense_multiply(r.m00, a, mod), dense_multiply(r.m01, b, mod), mod),
                dense_add(dense_multiply(r.m10, a, mod), dense_multiply(r.m11, b, mod), mod)};
    const Spectrum sa = dense_spectrum(a, n, primes), sb = dense_spectrum(b, n, primes);
    return {sum_of_products(dense_spectrum(r.m00, n, primes), sa, dense_spectrum(r.m01, n, primes), sb, left + right - 1, mod),
            sum_of_products(dense_spectrum(r.m10, n, primes), sa, dense_spectrum(r.m11, n, primes), sb, left + right - 1, mod)};
}

Matrix product(const Matrix& s, const Matrix& r, const Modulus& mod)
{
    const std::size_t left = longest({&s.m00, &s.m01, &s.m10, &s.m11}), right = longest({&r.m00, &r.m01, &r.m10, &r.m11});
    const auto [n, primes] = transforms_for(left, right, mod);
    if (n == 0) {
        const auto entry = [&mod](const Dense& x, const Dense& y, const Dense& z, const Dense& w) {
            return dense_add(dense_multiply(x, y, mod), dense_multiply(z, w, mod), mod);
        };
        return Matrix{entry(s.m00, r.m00, s.m01, r.m10), entry(s.m00, r.m01, s.m01, r.m11),
                      entry(s.m10, r.m00, s.m11, r.m10), entry(s.m10, r.m01, s.m11, r.m11)};
    }
    const Spectrum s00 = dense_spectrum(s.m00, n, primes), s01 = dense_spectrum(s.m01, n, primes),
                   s10 = dense_spectrum(s.m10, n, primes), s11 = dense_spectrum(s.m11, n, primes);
    const Spectrum r00 = dense_spectrum(r.m00, n, primes), r01 = dense_spectrum(r.m01, n, primes),
                   r10 = dense_spectrum(r.m10, n, primes), r11 = dense_spectrum(r.m11, n, primes);
    const std::size_t length = left + right - 1;
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

}  // namespace

Dense dense_gcd_plain(Dense a, Dense b, const Modulus& mod)
{
    if (dense_degree(a) < dense_degree(b))
        std::swap(a, b);
    while (!b.empty()) {
        // Each remainder is computed in place in the larger operand.
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
        const Matrix r = half_gcd(a, b, mod);
        std::tie(a, b) = apply(r, a, b, mod);
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
