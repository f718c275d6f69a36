#include <gmp.h>

#include <algorithm>
#include <bit>
#include <cassert>

#include "dense/dense.h"
#include "dense/thresholds.h"
#include "ntt/ntt.h"
#include "residue/kernels.h"

namespace {

bool is_square(const Dense& a, const Dense& b)
{
    return &a == &b || a == b;
}

// a^2 into `square` (zeros, 2·|a| - 1 entries) by rows: a_i·a_i on the diagonal, and each product
// a_i·a_j with i < j once, from a row of the doubled coefficients.
void square_by_rows(const Dense& a, Residues& square, const Modulus& mod)
{
    Residues doubled(a.size());
    for (std::size_t j = 0; j < a.size(); ++j) {
        const std::uint64_t twice = 2 * std::uint64_t{a[j]};
        doubled[j] = static_cast<Residue>(twice >= mod.p ? twice - mod.p : twice);
    }
    const std::uint32_t p = static_cast<std::uint32_t>(mod.p);
    for (std::size_t i = 0; i < a.size(); ++i) {
        const Residue c = a[i];
        if (c == 0)
            continue;
        const std::uint64_t diagonal = square[2 * i] + mod.mul(c, c);
        square[2 * i] = static_cast<Residue>(diagonal >= mod.p ? diagonal - mod.p : diagonal);
        residues_add_multiple(square.data() + 2 * i + 1, doubled.data() + i + 1, a.size() - i - 1, c, mod.shoup(c), p);
    }
}

}  // namespace

Dense dense_multiply_plain(const Dense& a, const Dense& b, const Modulus& mod)
{
    assert(dense_is_trimmed(a) && dense_is_trimmed(b));
    if (a.empty() || b.empty())
        return {};
    const Dense& longer = a.size() >= b.size() ? a : b;
    const Dense& shorter = a.size() >= b.size() ? b : a;
    Dense product(a.size() + b.size() - 1, 0);
    if (residues_sums_fit(shorter.size(), mod)) {
        if (is_square(a, b))
            residues_square_summed(a.data(), a.size(), product.data(), mod);
        else
            residues_multiply_summed(shorter.data(), shorter.size(), longer.data(), longer.size(), product.data(), mod);
        return product;
    }
    if (is_square(a, b)) {
        square_by_rows(a, product, mod);
        return product;
    }
    const std::uint32_t p = static_cast<std::uint32_t>(mod.p);
    for (std::size_t i = 0; i < shorter.size(); ++i)
        if (shorter[i] != 0)
            residues_add_multiple(product.data() + i, longer.data(), longer.size(), shorter[i], mod.shoup(shorter[i]), p);
    return product;  // the product of the leads is not zero: p is prime
}

// Kronecker substitution: a coefficient of the product is a sum of at most min(|a|, |b|) products
// of two residues, below 2^bits; with every coefficient in a slot of that many bits (rounded up to
// whole 32-bit words), the integer product holds the polynomial product slot by slot.
Dense dense_multiply_kronecker(const Dense& a, const Dense& b, const Modulus& mod)
{
    assert(dense_is_trimmed(a) && dense_is_trimmed(b));
    if (a.empty() || b.empty())
        return {};
    const Dense& longer = a.size() >= b.size() ? a : b;
    const Dense& shorter = a.size() >= b.size() ? b : a;
    const std::size_t bits =
        static_cast<std::size_t>(std::bit_width(shorter.size())) + 2 * static_cast<std::size_t>(std::bit_width(mod.p - 1));
    const std::size_t words = (bits + 31) / 32;  // 32-bit words per slot: 1 to 3

    // The packed operands live in 32-bit words; GMP reads them as 64-bit limbs (little-endian,
    // an even number of words).
    const auto pack = [words](const Dense& f) {
        std::vector<std::uint32_t> packed((f.size() * words + 1) / 2 * 2, 0);
        for (std::size_t i = 0; i < f.size(); ++i)
            packed[i * words] = f[i];
        return packed;
    };
    static_assert(sizeof(mp_limb_t) == 2 * sizeof(std::uint32_t));
    const std::vector<std::uint32_t> x = pack(longer);
    const std::size_t x_limbs = x.size() / 2;
    std::vector<std::uint32_t> y;
    std::size_t y_limbs = x_limbs;
    const bool square = is_square(a, b);
    if (!square) {
        y = pack(shorter);
        y_limbs = y.size() / 2;
    }
    std::vector<std::uint32_t> z(2 * (x_limbs + y_limbs), 0);
    const auto limbs = [](const std::vector<std::uint32_t>& v) { return reinterpret_cast<const mp_limb_t*>(v.data()); };
    if (square)
        mpn_sqr(reinterpret_cast<mp_limb_t*>(z.data()), limbs(x), static_cast<mp_size_t>(x_limbs));
    else
        mpn_mul(reinterpret_cast<mp_limb_t*>(z.data()), limbs(x), static_cast<mp_size_t>(x_limbs), limbs(y),
                static_cast<mp_size_t>(y_limbs));

    Dense product(a.size() + b.size() - 1);
    const std::uint64_t two_to_32 = mod.reduce(std::uint64_t{1} << 32);
    const std::uint64_t two_to_64 = mod.mul(two_to_32, two_to_32);
    for (std::size_t k = 0; k < product.size(); ++k) {
        const std::uint32_t* slot = z.data() + k * words;
        std::uint64_t low = slot[0];
        if (words >= 2)
            low |= static_cast<std::uint64_t>(slot[1]) << 32;
        std::uint64_t value = mod.reduce(low);
        if (words == 3)
            value = mod.reduce(value + mod.mul(slot[2], two_to_64));
        product[k] = static_cast<Residue>(value);
    }
    dense_trim(product);
    return product;
}

Dense dense_multiply_ntt(const Dense& a, const Dense& b, const Modulus& mod)
{
    assert(dense_is_trimmed(a) && dense_is_trimmed(b));
    if (a.empty() || b.empty())
        return {};
    const std::size_t length = a.size() + b.size() - 1;
    Dense product(length);
    ntt_multiply(a.data(), a.size(), is_square(a, b) ? a.data() : b.data(), b.size(), transform_length(length),
                 product.data(), mod);
    dense_trim(product);
    return product;
}

// The plain product where it is cheaper than the transforms; the transforms up to their largest
// length, Kronecker's product beyond it.
Dense dense_multiply(const Dense& a, const Dense& b, const Modulus& mod)
{
    if (a.empty() || b.empty())
        return {};
    const std::size_t shorter = std::min(a.size(), b.size());
    if (plain_product_is_cheaper(a.size(), b.size(), transform_primes(shorter, mod), plain_product_share(shorter, mod)))
        return dense_multiply_plain(a, b, mod);
    if (transform_length(a.size() + b.size() - 1) <= kMaxTransformLength)
        return dense_multiply_ntt(a, b, mod);
    return dense_multiply_kronecker(a, b, mod);
}
