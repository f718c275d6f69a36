// Residues modulo one prime p < 2^31 and the scalar arithmetic on them, with Barrett's reduction:
// no division instruction on the hot paths. A residue fits in 32 bits, the sum of two as well, and
// a product of two in 62 bits.
#pragma once

#include <cstdint>
#include <vector>

using Residue = std::uint32_t;
// A working buffer of residues, index = exponent; unlike a dense polynomial it may end in zeros.
using Residues = std::vector<Residue>;

__extension__ typedef unsigned __int128 UInt128;

struct Modulus {
    std::uint64_t p;
    std::uint64_t barrett;  // floor((2^64 - 1) / p)

    explicit Modulus(std::int64_t prime)
        : p(static_cast<std::uint64_t>(prime)), barrett(~std::uint64_t{0} / static_cast<std::uint64_t>(prime))
    {
    }

    // x mod p for any 64-bit x.
    std::uint64_t reduce(std::uint64_t x) const
    {
        const std::uint64_t q = static_cast<std::uint64_t>((static_cast<UInt128>(x) * barrett) >> 64);
        std::uint64_t r = x - q * p;
        if (r >= p)
            r -= p;
        return r;
    }
    std::uint64_t mul(std::uint64_t a, std::uint64_t b) const { return reduce(a * b); }
    // floor(w·2^32 / p) for a residue w: the constant of Shoup's multiplication by w
    // (shoup_multiply in residue/lane_arithmetic.inc).
    std::uint32_t shoup(std::uint32_t w) const
    {
        const std::uint64_t scaled = static_cast<std::uint64_t>(w) << 32;
        std::uint64_t q = static_cast<std::uint64_t>((static_cast<UInt128>(scaled) * barrett) >> 64);
        if (scaled - q * p >= p)
            ++q;
        return static_cast<std::uint32_t>(q);
    }
    std::uint64_t neg(std::uint64_t a) const { return a == 0 ? 0 : p - a; }
    // The inverse of a non-zero residue, by the extended Euclidean algorithm; the remainders stay
    // below 2^31, so the divisions are 32-bit ones.
    std::uint64_t inverse(std::uint64_t a) const
    {
        std::uint32_t r0 = static_cast<std::uint32_t>(p), r1 = static_cast<std::uint32_t>(a);
        std::int64_t t0 = 0, t1 = 1;
        while (r1 != 0) {
            const std::uint32_t q = r0 / r1;
            const std::uint32_t r2 = r0 - q * r1;
            r0 = r1;
            r1 = r2;
            const std::int64_t t2 = t0 - static_cast<std::int64_t>(q) * t1;
            t0 = t1;
            t1 = t2;
        }
        return static_cast<std::uint64_t>(t0 < 0 ? t0 + static_cast<std::int64_t>(p) : t0);
    }
};
