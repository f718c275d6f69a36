#include <algorithm>
#include <utility>

#include "poly/intrinsics.h"
#include "poly/residues.h"

namespace {

void add_multiple_portable(Residue* window, const Residue* b, std::size_t n, Residue w, std::uint32_t w_shoup,
                           std::uint32_t p)
{
    for (std::size_t t = 0; t < n; ++t) {
        const std::uint32_t sum = window[t] + residue_shoup_multiply(b[t], w, w_shoup, p);
        window[t] = std::min(sum, sum - p);
    }
}

void scale_add_multiple_portable(Residue* window, const Residue* b, std::size_t n, Residue s, std::uint32_t s_shoup,
                                 Residue w, std::uint32_t w_shoup, std::uint32_t p)
{
    for (std::size_t t = 0; t < n; ++t) {
        const std::uint32_t sum =
            residue_shoup_multiply(window[t], s, s_shoup, p) + residue_shoup_multiply(b[t], w, w_shoup, p);
        window[t] = std::min(sum, sum - p);
    }
}

#ifdef SQUAREFREE_X86_INTRINSICS

// w·x mod p in eight lanes (x residues), by Shoup's multiplication: the 64-bit products of the
// even and the odd lanes give the estimates, one blend puts their high halves side by side.
__attribute__((target("avx2"))) inline __m256i shoup_lanes(__m256i x, __m256i vw, __m256i vshoup, __m256i vp)
{
    const __m256i even = _mm256_mul_epu32(x, vshoup);
    const __m256i odd = _mm256_mul_epu32(_mm256_srli_epi64(x, 32), vshoup);
    const __m256i estimate = _mm256_blend_epi32(_mm256_srli_epi64(even, 32), odd, 0xAA);
    const __m256i product = _mm256_sub_epi32(_mm256_mullo_epi32(x, vw), _mm256_mullo_epi32(estimate, vp));
    return _mm256_min_epu32(product, _mm256_sub_epi32(product, vp));
}

__attribute__((target("avx2"))) void scale_add_multiple_avx2(Residue* window, const Residue* b, std::size_t n,
                                                             Residue s, std::uint32_t s_shoup, Residue w,
                                                             std::uint32_t w_shoup, std::uint32_t p)
{
    const __m256i vs = _mm256_set1_epi32(static_cast<int>(s)), vs_shoup = _mm256_set1_epi32(static_cast<int>(s_shoup));
    const __m256i vw = _mm256_set1_epi32(static_cast<int>(w)), vw_shoup = _mm256_set1_epi32(static_cast<int>(w_shoup));
    const __m256i vp = _mm256_set1_epi32(static_cast<int>(p));
    std::size_t t = 0;
    for (; t + 8 <= n; t += 8) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(window + t));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + t));
        __m256i sum = _mm256_add_epi32(shoup_lanes(x, vs, vs_shoup, vp), shoup_lanes(y, vw, vw_shoup, vp));
        sum = _mm256_min_epu32(sum, _mm256_sub_epi32(sum, vp));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(window + t), sum);
    }
    scale_add_multiple_portable(window + t, b + t, n - t, s, s_shoup, w, w_shoup, p);
}

// Eight lanes at a time.
__attribute__((target("avx2"))) void add_multiple_avx2(Residue* window, const Residue* b, std::size_t n, Residue w,
                                                       std::uint32_t w_shoup, std::uint32_t p)
{
    const __m256i vw = _mm256_set1_epi32(static_cast<int>(w));
    const __m256i vshoup = _mm256_set1_epi32(static_cast<int>(w_shoup));
    const __m256i vp = _mm256_set1_epi32(static_cast<int>(p));
    std::size_t t = 0;
    for (; t + 8 <= n; t += 8) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + t));
        __m256i sum = _mm256_add_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(window + t)),
                                       shoup_lanes(x, vw, vshoup, vp));
        sum = _mm256_min_epu32(sum, _mm256_sub_epi32(sum, vp));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(window + t), sum);
    }
    add_multiple_portable(window + t, b + t, n - t, w, w_shoup, p);
}

// The first `count` (< 16) of sixteen lanes.
inline __mmask16 tail_lanes(std::size_t count)
{
    return static_cast<__mmask16>((1u << count) - 1);
}

// The same on sixteen lanes. A row's last entries (fewer than 16) go through the same lanes with a
// mask: the lanes past its end are neither read nor written.
__attribute__((target("avx512f"))) inline __m512i shoup_lanes16(__m512i x, __m512i vw, __m512i vshoup, __m512i vp)
{
    const __m512i even = _mm512_mul_epu32(x, vshoup);
    const __m512i odd = _mm512_mul_epu32(_mm512_srli_epi64(x, 32), vshoup);
    const __m512i estimate = _mm512_mask_blend_epi32(0xAAAA, _mm512_srli_epi64(even, 32), odd);
    const __m512i product = _mm512_sub_epi32(_mm512_mullo_epi32(x, vw), _mm512_mullo_epi32(estimate, vp));
    return _mm512_min_epu32(product, _mm512_sub_epi32(product, vp));
}

__attribute__((target("avx512f"))) void scale_add_multiple_avx512(Residue* window, const Residue* b, std::size_t n,
                                                                  Residue s, std::uint32_t s_shoup, Residue w,
                                                                  std::uint32_t w_shoup, std::uint32_t p)
{
    const __m512i vs = _mm512_set1_epi32(static_cast<int>(s)), vs_shoup = _mm512_set1_epi32(static_cast<int>(s_shoup));
    const __m512i vw = _mm512_set1_epi32(static_cast<int>(w)), vw_shoup = _mm512_set1_epi32(static_cast<int>(w_shoup));
    const __m512i vp = _mm512_set1_epi32(static_cast<int>(p));
    const auto step = [&](std::size_t t, __mmask16 lanes) __attribute__((target("avx512f")))
    {
        const __m512i x = _mm512_maskz_loadu_epi32(lanes, window + t), y = _mm512_maskz_loadu_epi32(lanes, b + t);
        __m512i sum = _mm512_add_epi32(shoup_lanes16(x, vs, vs_shoup, vp), shoup_lanes16(y, vw, vw_shoup, vp));
        sum = _mm512_min_epu32(sum, _mm512_sub_epi32(sum, vp));
        _mm512_mask_storeu_epi32(window + t, lanes, sum);
    };
    std::size_t t = 0;
    for (; t + 16 <= n; t += 16)
        step(t, 0xFFFF);
    if (t < n)
        step(t, tail_lanes(n - t));
}

__attribute__((target("avx512f"))) void add_multiple_avx512(Residue* window, const Residue* b, std::size_t n, Residue w,
                                                            std::uint32_t w_shoup, std::uint32_t p)
{
    const __m512i vw = _mm512_set1_epi32(static_cast<int>(w));
    const __m512i vshoup = _mm512_set1_epi32(static_cast<int>(w_shoup));
    const __m512i vp = _mm512_set1_epi32(static_cast<int>(p));
    const auto step = [&](std::size_t t, __mmask16 lanes) __attribute__((target("avx512f")))
    {
        __m512i sum = _mm512_add_epi32(_mm512_maskz_loadu_epi32(lanes, window + t),
                                       shoup_lanes16(_mm512_maskz_loadu_epi32(lanes, b + t), vw, vshoup, vp));
        sum = _mm512_min_epu32(sum, _mm512_sub_epi32(sum, vp));
        _mm512_mask_storeu_epi32(window + t, lanes, sum);
    };
    std::size_t t = 0;
    for (; t + 16 <= n; t += 16)
        step(t, 0xFFFF);
    if (t < n)
        step(t, tail_lanes(n - t));
}

#endif

VectorUnit& unit_in_use()
{
    static VectorUnit unit = vector_units_supported().back();
    return unit;
}

}  // namespace

std::vector<VectorUnit> vector_units_supported()
{
    std::vector<VectorUnit> units{VectorUnit::portable};
#ifdef SQUAREFREE_X86_INTRINSICS
    if (__builtin_cpu_supports("avx2")) {
        units.push_back(VectorUnit::avx2);
        if (__builtin_cpu_supports("avx512f"))
            units.push_back(VectorUnit::avx512);
    }
#endif
    return units;
}

VectorUnit vector_unit_select(VectorUnit unit)
{
    return std::exchange(unit_in_use(), unit);
}

VectorUnit vector_unit_in_use()
{
    return unit_in_use();
}

void residues_scale_add_multiple(Residue* window, const Residue* b, std::size_t n, Residue s, std::uint32_t s_shoup,
                                 Residue w, std::uint32_t w_shoup, std::uint32_t p)
{
    switch (unit_in_use()) {
#ifdef SQUAREFREE_X86_INTRINSICS
    case VectorUnit::avx512:
        return scale_add_multiple_avx512(window, b, n, s, s_shoup, w, w_shoup, p);
    case VectorUnit::avx2:
        return scale_add_multiple_avx2(window, b, n, s, s_shoup, w, w_shoup, p);
#endif
    default:
        return scale_add_multiple_portable(window, b, n, s, s_shoup, w, w_shoup, p);
    }
}

void residues_add_multiple(Residue* window, const Residue* b, std::size_t n, Residue w, std::uint32_t w_shoup,
                           std::uint32_t p)
{
    switch (unit_in_use()) {
#ifdef SQUAREFREE_X86_INTRINSICS
    case VectorUnit::avx512:
        return add_multiple_avx512(window, b, n, w, w_shoup, p);
    case VectorUnit::avx2:
        return add_multiple_avx2(window, b, n, w, w_shoup, p);
#endif
    default:
        return add_multiple_portable(window, b, n, w, w_shoup, p);
    }
}
