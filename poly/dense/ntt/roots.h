// Internal to the transforms: the tables of roots of unity, grown on demand and kept for the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The roots of the last four levels lane by lane, in the sixteen-lane layouts (lane_layouts.h):
// lane t of layout l multiplies by the root of its pair's entry.
struct LaneRoots {
    alignas(64) std::uint32_t w[4][16];
    alignas(64) std::uint32_t w_shoup[4][16];
};

// Transforms past this length take the roots of their top levels as they go (LevelRoots): a
// table for every level would hold 16 bytes per entry of the longest transform, per prime (at
// 2^23 entries, 128 MB each). Up to here (16 MB per prime) the table is kept: making the roots
// costs a few products per butterfly, hidden behind the memory traffic of the top levels only.
constexpr std::size_t kTabledRootsLength = std::size_t{1} << 20;

// The roots of one level of half-length len >= kTabledRootsLength, forward or inverse, for the
// primitive (2·len)-th root ω (or its inverse), in Montgomery's form (ω^j·2^32 mod q: a product by
// it needs no constant of its own): the first sixteen powers, the steps ω^w for w = 1, 2, 4, 8, 16
// (lanes per unit), and the fourth root of unity ω^(len/2).
struct LevelRoots {
    std::uint32_t first[16];
    std::uint32_t step[5];
    std::uint32_t fourth = 0;
};

// The roots of one prime for power-of-two transforms up to `length`: entry len + j holds ω^j for
// the primitive (2·len)-th root ω, for every power of two len < min(length, kTabledRootsLength)
// and j < len; with Shoup's constants, and the same for the inverse roots. The longer levels'
// roots are made as the transform goes, from entry log2(len) of `forward_levels` and
// `inverse_levels`.
struct RootTable {
    std::size_t length = 0;
    std::vector<std::uint32_t> w, w_shoup, inverse, inverse_shoup;
    std::uint32_t scale[32];                 // entry k: 2^-k·2^32 mod q, which undoes a transform of length 2^k
    LaneRoots forward_lanes, inverse_lanes;  // once length >= 16
    LevelRoots forward_levels[32], inverse_levels[32];
    std::uint32_t minus_q_inverse = 0;       // -q^-1 mod 2^32, for Montgomery's products
};

const RootTable& roots(std::size_t prime, std::size_t length);

// The roots of the pass of a transform of length 3m (m a power of two), forward or inverse, for
// the primitive 3m-th root ψ: the cube root ψ^±m with Shoup's constant, and what makes the twiddles
// ψ^±j for j < m as the pass goes, in Montgomery's form (ψ^±j·2^32 mod q: a product by it needs no
// constant of its own), sixteen at a time for the sixteen-lane unit: the first sixteen, and the
// steps ψ^±w for w = 1, 2, 4, 8, 16 (lanes per unit). No table of m entries: at 3·2^23 it would
// take 128 MB per transform prime. Row 2's twiddle ψ^±2j is applied as ψ^±j twice.
struct ThirdsRoots {
    std::uint32_t cube_root = 0, cube_root_shoup = 0;
    std::uint32_t first[16];   // ψ^±i·2^32 mod q for i < 16
    std::uint32_t step[5];     // ψ^±(2^k)·2^32 mod q
    std::uint32_t minus_q_inverse = 0;
};

struct ThirdsTable {
    ThirdsRoots forward, inverse;
    std::uint32_t scale = 0;  // (3m)^-1·2^32 mod q, which undoes the transform
};

const ThirdsTable& thirds(std::size_t prime, std::size_t m);
