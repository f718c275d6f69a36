#include <algorithm>

#include "poly/dense_mod.h"

void dense_trim(Dense& a)
{
    while (!a.empty() && a.back() == 0)
        a.pop_back();
}

Dense dense_from_poly(const Poly& f, const Modulus& mod)
{
    Dense a = residues_from_poly(f, mod);
    dense_trim(a);
    return a;
}

Dense dense_add(const Dense& a, const Dense& b, const Modulus& mod)
{
    Dense sum(std::max(a.size(), b.size()), 0);
    for (std::size_t i = 0; i < sum.size(); ++i) {
        const std::uint64_t s = static_cast<std::uint64_t>(i < a.size() ? a[i] : 0) + (i < b.size() ? b[i] : 0);
        sum[i] = static_cast<Residue>(s >= mod.p ? s - mod.p : s);
    }
    dense_trim(sum);
    return sum;
}

Dense dense_subtract(const Dense& a, const Dense& b, const Modulus& mod)
{
    Dense difference(std::max(a.size(), b.size()), 0);
    for (std::size_t i = 0; i < difference.size(); ++i) {
        const std::uint64_t x = i < a.size() ? a[i] : 0, y = i < b.size() ? b[i] : 0;
        difference[i] = static_cast<Residue>(x >= y ? x - y : x + mod.p - y);
    }
    dense_trim(difference);
    return difference;
}

Dense dense_shift_down(const Dense& a, std::size_t k)
{
    if (k >= a.size())
        return {};
    return Dense(a.begin() + static_cast<std::ptrdiff_t>(k), a.end());
}

Dense dense_truncate(const Dense& a, std::size_t n)
{
    Dense low(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(std::min(n, a.size())));
    dense_trim(low);
    return low;
}
