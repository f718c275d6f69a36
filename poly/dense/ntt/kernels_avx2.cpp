// The AVX2 unit's transform kernels: eight lanes; the levels of half-length 4, 2 and 1 on transposed
// blocks of 8x8 entries.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "primes.h"
#include "residue/lanes_avx2.h"
#include "transform_kernels.h"

#ifdef SQUAREFREE_X86_UNITS
SQUAREFREE_TARGET_AVX2
namespace unit_avx2::ntt {

namespace {
constexpr std::size_t kShortestTransform = 64;
}  // namespace

// The levels below the lane width, defined below.
void forward_short_levels(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q);
void inverse_short_levels(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q);

#include "transform_kernels.inc"


namespace {

// The 8x8 matrix of 32-bit values held row by row in r[0..7], transposed in place.
inline void transpose8(__m256i* r)
{
    const __m256i t0 = _mm256_unpacklo_epi32(r[0], r[1]), t1 = _mm256_unpackhi_epi32(r[0], r[1]);
    const __m256i t2 = _mm256_unpacklo_epi32(r[2], r[3]), t3 = _mm256_unpackhi_epi32(r[2], r[3]);
    const __m256i t4 = _mm256_unpacklo_epi32(r[4], r[5]), t5 = _mm256_unpackhi_epi32(r[4], r[5]);
    const __m256i t6 = _mm256_unpacklo_epi32(r[6], r[7]), t7 = _mm256_unpackhi_epi32(r[6], r[7]);
    const __m256i s0 = _mm256_unpacklo_epi64(t0, t2), s1 = _mm256_unpackhi_epi64(t0, t2);
    const __m256i s2 = _mm256_unpacklo_epi64(t1, t3), s3 = _mm256_unpackhi_epi64(t1, t3);
    const __m256i s4 = _mm256_unpacklo_epi64(t4, t6), s5 = _mm256_unpackhi_epi64(t4, t6);
    const __m256i s6 = _mm256_unpacklo_epi64(t5, t7), s7 = _mm256_unpackhi_epi64(t5, t7);
    r[0] = _mm256_permute2x128_si256(s0, s4, 0x20);
    r[1] = _mm256_permute2x128_si256(s1, s5, 0x20);
    r[2] = _mm256_permute2x128_si256(s2, s6, 0x20);
    r[3] = _mm256_permute2x128_si256(s3, s7, 0x20);
    r[4] = _mm256_permute2x128_si256(s0, s4, 0x31);
    r[5] = _mm256_permute2x128_si256(s1, s5, 0x31);
    r[6] = _mm256_permute2x128_si256(s2, s6, 0x31);
    r[7] = _mm256_permute2x128_si256(s3, s7, 0x31);
}

// Entry len + j: ω_(2len)^j broadcast, for len = 1, 2, 4.
struct ShortLevelRoots {
    __m256i w[8], w_shoup[8];
};

inline ShortLevelRoots short_level_roots(const std::uint32_t* w, const std::uint32_t* w_shoup)
{
    ShortLevelRoots roots;
    for (int k = 1; k < 8; ++k) {
        roots.w[k] = Lanes::broadcast(w[k]);
        roots.w_shoup[k] = Lanes::broadcast(w_shoup[k]);
    }
    return roots;
}

// The levels of half-length 4, 2 and 1 work inside blocks of eight. Eight blocks at a time are
// transposed, so that register j holds entry j of every block and each butterfly pairs two
// registers with one root for all lanes; then transposed back. n is a multiple of 64.
template <bool kForward>
inline void short_levels(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q)
{
    const Vec vq = Lanes::broadcast(q), two_q = Lanes::broadcast(2 * q);
    const ShortLevelRoots roots = kForward ? short_level_roots(t.w.data(), t.w_shoup.data())
                                           : short_level_roots(t.inverse.data(), t.inverse_shoup.data());
    for (std::size_t chunk = 0; chunk < n; chunk += 64) {
        __m256i r[8];
        for (std::size_t i = 0; i < 8; ++i)
            r[i] = Lanes::load(a + chunk + 8 * i);
        transpose8(r);
        for (std::size_t level = 0; level < 3; ++level) {
            const std::size_t len = kForward ? std::size_t{4} >> level : std::size_t{1} << level;
            for (std::size_t start = 0; start < 8; start += 2 * len)
                for (std::size_t j = 0; j < len; ++j) {
                    if constexpr (kForward)
                        forward_butterfly(r[start + j], r[start + j + len], roots.w[len + j], roots.w_shoup[len + j], vq, two_q);
                    else
                        inverse_butterfly(r[start + j], r[start + j + len], roots.w[len + j], roots.w_shoup[len + j], vq, two_q);
                }
        }
        transpose8(r);
        for (std::size_t i = 0; i < 8; ++i)
            Lanes::store(a + chunk + 8 * i, r[i]);
    }
}

}  // namespace

void forward_short_levels(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q)
{
    short_levels<true>(a, n, t, q);
}

void inverse_short_levels(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q)
{
    short_levels<false>(a, n, t, q);
}

}  // namespace unit_avx2::ntt
SQUAREFREE_TARGET_END

const TransformKernels kAvx2TransformKernels = unit_avx2::ntt::kKernels;
#endif
