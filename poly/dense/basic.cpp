#include <algorithm>
#include <cassert>

#include "dense/dense.h"

void dense_trim(Residues& a)
{
    while (!a.empty() && a.back() == 0)
        a.pop_back();
}

// The loops run over the common part and then the longer operand's tail, so that they vectorize.
Dense dense_add(const Dense& a, const Dense& b, const Modulus& mod)
{
    assert(dense_is_trimmed(a) && dense_is_trimmed(b));
    const Dense& longer = a.size() >= b.size() ? a : b;
    const Dense& shorter = a.size() >= b.size() ? b : a;
    Dense sum(longer);
    const std::uint32_t p = static_cast<std::uint32_t>(mod.p);
    for (std::size_t i = 0; i < shorter.size(); ++i) {
        const std::uint32_t s = sum[i] + shorter[i];  // below 2^32: residues are below 2^31
        sum[i] = std::min(s, s - p);
    }
    dense_trim(sum);
    return sum;
}

Dense dense_subtract(const Dense& a, const Dense& b, const Modulus& mod)
{
    assert(dense_is_trimmed(a) && dense_is_trimmed(b));
    Dense difference(std::max(a.size(), b.size()));
    const std::uint32_t p = static_cast<std::uint32_t>(mod.p);
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const std::uint32_t d = a[i] - b[i];  // wraps when a[i] < b[i]; adding p brings it back
        difference[i] = std::min(d, d + p);
    }
    for (std::size_t i = common; i < a.size(); ++i)
        difference[i] = a[i];
    for (std::size_t i = common; i < b.size(); ++i)
        difference[i] = b[i] == 0 ? 0 : p - b[i];
    dense_trim(difference);
    return difference;
}

Dense dense_scale(const Dense& a, Residue c, const Modulus& mod)
{
    assert(dense_is_trimmed(a));
    if (c == 0)
        return {};
    Dense scaled(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        scaled[i] = static_cast<Residue>(mod.mul(a[i], c));
    return scaled;  // p is prime: c·a keeps a's degree
}

Dense dense_shift_down(const Dense& a, std::size_t k)
{
    assert(dense_is_trimmed(a));
    if (k >= a.size())
        return {};
    return Dense(a.begin() + static_cast<std::ptrdiff_t>(k), a.end());
}

Dense dense_truncate(const Dense& a, std::size_t n)
{
    assert(dense_is_trimmed(a));
    Dense low(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(std::min(n, a.size())));
    dense_trim(low);
    return low;
}

Residues dense_fold(const Dense& a, std::size_t n, const Modulus& mod)
{
    assert(dense_is_trimmed(a));
    if (a.size() <= n)
        return a;
    Residues folded(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n));
    const std::uint32_t p = static_cast<std::uint32_t>(mod.p);
    for (std::size_t start = n; start < a.size(); start += n) {
        const std::size_t count = std::min(n, a.size() - start);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t s = folded[i] + a[start + i];
            folded[i] = std::min(s, s - p);
        }
    }
    return folded;
}
