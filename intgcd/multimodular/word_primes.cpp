#include <cstdint>
#include <unordered_map>

#include "multimodular/multimodular.h"

namespace {

std::uint64_t power_mod(std::uint64_t base, std::uint64_t exponent, std::uint64_t n)
{
    std::uint64_t result = 1;
    base %= n;
    for (; exponent != 0; exponent >>= 1) {
        if (exponent & 1)
            result = result * base % n;
        base = base * base % n;
    }
    return result;
}

// Miller and Rabin's test with the bases 2, 7 and 61, which decide every n below 2^32 (n odd, > 61).
bool is_prime(std::uint64_t n)
{
    std::uint64_t d = n - 1;
    int s = 0;
    for (; d % 2 == 0; d /= 2)
        ++s;
    for (const std::uint64_t a : {2, 7, 61}) {
        std::uint64_t x = power_mod(a, d, n);
        if (x == 1 || x == n - 1)
            continue;
        bool composite = true;
        for (int r = 1; r < s && composite; ++r) {
            x = x * x % n;
            composite = x != n - 1;
        }
        if (composite)
            return false;
    }
    return true;
}

}  // namespace

namespace {

std::int64_t search_prime_below(std::int64_t n)
{
    constexpr std::int64_t kSmall[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53, 59, 61};
    if (n <= 67) {
        std::int64_t below = 2;
        for (const std::int64_t p : kSmall)
            if (p < n)
                below = p;
        return below;
    }
    std::int64_t m = n - 1;
    if (m % 2 == 0)
        --m;
    for (; m > 61; m -= 2) {
        bool small_factor = false;
        for (const std::int64_t p : kSmall)
            small_factor = small_factor || m % p == 0;
        if (!small_factor && is_prime(static_cast<std::uint64_t>(m)))
            return m;
    }
    return 61;
}

}  // namespace

// The same few primes are asked for by every factorization: each is searched for once.
std::int64_t prime_below(std::int64_t n)
{
    thread_local std::unordered_map<std::int64_t, std::int64_t> found;
    const auto [at, fresh] = found.try_emplace(n, 0);
    if (fresh)
        at->second = search_prime_below(n);
    return at->second;
}
