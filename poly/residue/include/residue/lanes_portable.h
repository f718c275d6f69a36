// The portable unit: one lane, plain 32-bit arithmetic.
#pragma once

#include <cstddef>
#include <cstdint>

namespace unit_portable {

struct Lanes {
    using Vec = std::uint32_t;
    static constexpr std::size_t width = 1;

    static Vec load(const std::uint32_t* p) { return *p; }
    static void store(std::uint32_t* p, Vec x) { *p = x; }
    static Vec load_first(const std::uint32_t* p, std::size_t) { return *p; }  // a width of one leaves no tail
    static void store_first(std::uint32_t* p, std::size_t, Vec x) { *p = x; }
    static Vec broadcast(std::uint32_t x) { return x; }
    static Vec add(Vec a, Vec b) { return a + b; }
    static Vec sub(Vec a, Vec b) { return a - b; }
    static Vec min(Vec a, Vec b) { return a < b ? a : b; }
    static Vec mullo(Vec a, Vec b) { return a * b; }
    static Vec mulhi(Vec a, Vec b) { return static_cast<Vec>((static_cast<std::uint64_t>(a) * b) >> 32); }
    static Vec add_one_where_nonzero(Vec sum, Vec x) { return sum + (x != 0 ? 1 : 0); }
};

#include "residue/lane_arithmetic.inc"

}  // namespace unit_portable
