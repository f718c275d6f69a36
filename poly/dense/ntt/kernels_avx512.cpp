// The AVX-512 unit's transform kernels: sixteen lanes; the levels of half-length 8 to 1 on groups of
// 32 entries held in two registers and permuted between the levels (lane_layouts.h).
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "lane_layouts.h"
#include "primes.h"
#include "residue/lanes_avx512.h"
#include "transform_kernels.h"

#ifdef SQUAREFREE_X86_UNITS
SQUAREFREE_TARGET_AVX512
namespace unit_avx512::ntt {

namespace {
constexpr std::size_t kShortestTransform = 32;
}  // namespace

// The levels below the lane width, defined below.
void forward_short_levels(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q);
void inverse_short_levels(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q);

#include "transform_kernels.inc"

namespace {

// The levels of half-length 8 to 1 (forward) or 1 to 8 (inverse) on kGroups groups of 32 entries
// from a, permuted through the layouts of kLaneLayouts. Each group's permutations and butterflies
// form a chain of dependent steps; the groups side by side keep the vector unit busy meanwhile.
template <bool kForward, std::size_t kGroups>
inline void short_levels_of_groups(std::uint32_t* a, const __m512i (&g)[5][2], const __m512i (&w)[4],
                                   const __m512i (&w_shoup)[4], Vec q, Vec two_q)
{
    __m512i u[kGroups], v[kGroups];
    for (std::size_t c = 0; c < kGroups; ++c) {
        u[c] = Lanes::load(a + 32 * c);
        v[c] = Lanes::load(a + 32 * c + 16);
    }
    for (std::size_t i = 0; i < 4; ++i)
        for (std::size_t c = 0; c < kGroups; ++c) {
            const __m512i first = _mm512_permutex2var_epi32(u[c], g[i][0], v[c]);
            v[c] = _mm512_permutex2var_epi32(u[c], g[i][1], v[c]);
            u[c] = first;
            if constexpr (kForward)
                forward_butterfly(u[c], v[c], w[i], w_shoup[i], q, two_q);
            else
                inverse_butterfly(u[c], v[c], w[i], w_shoup[i], q, two_q);
        }
    for (std::size_t c = 0; c < kGroups; ++c) {
        Lanes::store(a + 32 * c, _mm512_permutex2var_epi32(u[c], g[4][0], v[c]));
        Lanes::store(a + 32 * c + 16, _mm512_permutex2var_epi32(u[c], g[4][1], v[c]));
    }
}

// The levels of half-length 8 to 1 (forward) or 1 to 8 (inverse) on a[0, n), four groups of 32
// entries at a time; n is a multiple of 32.
template <bool kForward>
inline void short_levels(std::uint32_t* a, std::size_t n, const LaneRoots& roots, std::uint32_t q)
{
    const auto& gather = kForward ? kLaneLayouts.forward_gather : kLaneLayouts.inverse_gather;
    __m512i g[5][2], w[4], w_shoup[4];
    for (std::size_t i = 0; i < 5; ++i)
        for (std::size_t r = 0; r < 2; ++r)
            g[i][r] = Lanes::load(gather[i][r]);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t layout = kForward ? i : 3 - i;
        w[i] = Lanes::load(roots.w[layout]);
        w_shoup[i] = Lanes::load(roots.w_shoup[layout]);
    }
    const Vec vq = Lanes::broadcast(q), two_q = Lanes::broadcast(2 * q);
    constexpr std::size_t kGroups = 4;
    std::size_t s = 0;
    for (; s + 32 * kGroups <= n; s += 32 * kGroups)
        short_levels_of_groups<kForward, kGroups>(a + s, g, w, w_shoup, vq, two_q);
    for (; s < n; s += 32)
        short_levels_of_groups<kForward, 1>(a + s, g, w, w_shoup, vq, two_q);
}

}  // namespace

void forward_short_levels(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q)
{
    short_levels<true>(a, n, t.forward_lanes, q);
}

void inverse_short_levels(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q)
{
    short_levels<false>(a, n, t.inverse_lanes, q);
}

}  // namespace unit_avx512::ntt
SQUAREFREE_TARGET_END

const TransformKernels kAvx512TransformKernels = unit_avx512::ntt::kKernels;
#endif
