// Products and spectra: each operand loaded and transformed modulo every prime the modulus needs,
// multiplied pointwise, transformed back, and the residues combined by Garner's reconstruction.
#include <algorithm>
#include <bit>
#include <cassert>
#include <vector>

#include "ntt/ntt.h"
#include "primes.h"
#include "transform.h"

namespace {

// Work space kept from one product to the next: no fresh pages for every product. Buffer `prime`
// receives the product modulo that prime, buffer 3 the other operand's transform.
std::uint32_t* scratch(std::size_t which, std::size_t n)
{
    static std::vector<std::uint32_t> buffers[4];
    std::vector<std::uint32_t>& buffer = buffers[which];
    if (buffer.size() < n)
        buffer.resize(n);
    return buffer.data();
}

// Buffers of at least n entries for the first `primes` primes.
void reserve(Spectrum& s, std::size_t n, std::size_t primes)
{
    if (s.capacity < n) {
        for (auto& values : s.values)
            values.reset();
        s.capacity = n;
    }
    for (std::size_t prime = 0; prime < primes; ++prime)
        if (!s.values[prime])
            s.values[prime] = std::make_unique_for_overwrite<std::uint32_t[]>(s.capacity);
    s.n = n;
    s.primes = primes;
}

}  // namespace

bool is_transform_length(std::size_t n)
{
    return n >= 1 && ((std::has_single_bit(n) && n <= kMaxPowerOfTwoTransform) ||
                      (n % 3 == 0 && std::has_single_bit(n / 3) && n <= kMaxTransformLength));
}

std::size_t transform_primes(std::size_t terms, const Modulus& mod)
{
    // Exact once terms·(p - 1)^2 is below the product of the primes used (tested without overflow
    // as (p - 1)^2 <= (product - 1) / terms). Three primes hold every sum of two products of
    // length 3·2^23 for any p < 2^31: 2·3·2^23·(2^31)^2 < 2^87.6 < q0·q1·q2.
    const std::uint64_t largest_product = (mod.p - 1) * (mod.p - 1);
    std::uint64_t primes_product = 1;
    for (std::size_t primes = 1; primes < 3; ++primes) {
        primes_product *= kNttPrimes[primes - 1].q;
        if (largest_product <= (primes_product - 1) / std::max<std::size_t>(terms, 1))
            return primes;
    }
    return 3;
}

void ntt_multiply(const Residue* a, std::size_t m, const Residue* b, std::size_t n, std::size_t n_transform,
                  Residue* out, const Modulus& mod)
{
    const std::size_t length = m + n - 1;
    assert(is_transform_length(n_transform) && n_transform >= length);
    const bool square = a == b && m == n;
    const std::size_t primes = transform_primes(std::min(m, n), mod);
    const std::uint32_t* residues[3] = {nullptr, nullptr, nullptr};
    for (std::size_t prime = 0; prime < primes; ++prime) {
        std::uint32_t* x = scratch(prime, n_transform);
        load_for_transform(prime, a, m, x, n_transform);
        forward_transform(prime, x, n_transform);
        if (square) {
            pointwise_multiply(prime, x, x, x, n_transform);
        } else {
            std::uint32_t* y = scratch(3, n_transform);
            load_for_transform(prime, b, n, y, n_transform);
            forward_transform(prime, y, n_transform);
            pointwise_multiply(prime, x, x, y, n_transform);
        }
        inverse_transform(prime, x, n_transform);
        undo_inverse_scale(prime, x, length, n_transform);
        residues[prime] = x;
    }
    garner_combine(residues, primes, length, out, mod);
}

void spectrum_assign(Spectrum& s, const Residue* a, std::size_t count, std::size_t n, std::size_t primes)
{
    assert(is_transform_length(n) && count <= n);
    reserve(s, n, primes);
    for (std::size_t prime = 0; prime < primes; ++prime) {
        std::uint32_t* x = s.values[prime].get();
        load_for_transform(prime, a, count, x, n);
        forward_transform(prime, x, n);
    }
}

void spectrum_multiply(Spectrum& out, const Spectrum& a, const Spectrum& b)
{
    assert(a.n == b.n && a.primes == b.primes);
    reserve(out, a.n, a.primes);
    for (std::size_t prime = 0; prime < a.primes; ++prime)
        pointwise_multiply(prime, out.values[prime].get(), a.values[prime].get(), b.values[prime].get(), a.n);
}

void spectrum_multiply_add(Spectrum& sum, const Spectrum& a, const Spectrum& b)
{
    assert(sum.n == a.n && a.n == b.n && sum.primes == a.primes && a.primes == b.primes);
    for (std::size_t prime = 0; prime < a.primes; ++prime)
        pointwise_multiply_add(prime, sum.values[prime].get(), a.values[prime].get(), b.values[prime].get(), a.n);
}

void spectrum_to_residues(Spectrum& s, std::size_t length, Residue* out, const Modulus& mod)
{
    assert(length <= s.n);
    const std::uint32_t* residues[3] = {nullptr, nullptr, nullptr};
    for (std::size_t prime = 0; prime < s.primes; ++prime) {
        std::uint32_t* x = s.values[prime].get();
        inverse_transform(prime, x, s.n);
        undo_inverse_scale(prime, x, length, s.n);
        residues[prime] = x;
    }
    garner_combine(residues, s.primes, length, out, mod);
}
