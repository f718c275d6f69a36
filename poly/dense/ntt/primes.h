// Internal to the transforms: the transform primes and the arithmetic on their constants (the
// constants of Shoup's multiplication come from Modulus::shoup).
#pragma once

#include <cstddef>
#include <cstdint>

struct NttPrime {
    std::uint32_t q;
    std::uint32_t generator;  // a primitive root modulo q
};

// 105·2^23 + 1, 45·2^24 + 1 and 45·2^23 + 1: 3·2^23 divides q - 1 for all three, so they have roots
// of unity for the transforms of every length 2^k and 3·2^k up to 3·2^23.
constexpr NttPrime kNttPrimes[3] = {{880803841, 26}, {754974721, 11}, {377487361, 7}};

inline std::uint32_t power_mod(std::uint64_t base, std::uint64_t exponent, std::uint32_t q)
{
    std::uint64_t result = 1;
    base %= q;
    for (; exponent != 0; exponent >>= 1) {
        if (exponent & 1)
            result = result * base % q;
        base = base * base % q;
    }
    return static_cast<std::uint32_t>(result);
}

// -q^-1 mod 2^32 by Newton's iteration (each step doubles the correct bits of the inverse): the
// constant of Montgomery's reduction.
constexpr std::uint32_t minus_inverse_mod_2_32(std::uint32_t q)
{
    std::uint32_t inverse = q;  // correct to 3 bits for odd q
    for (int i = 0; i < 4; ++i)
        inverse *= 2 - q * inverse;
    return 0 - inverse;
}
