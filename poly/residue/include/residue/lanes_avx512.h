// The AVX-512 unit: sixteen 32-bit lanes. A tail shorter than sixteen goes through the same lanes
// with a mask: the lanes past its end are neither read nor written.
#pragma once

#include <cstddef>
#include <cstdint>

#include "residue/unit_target.h"

#ifdef SQUAREFREE_X86_UNITS
SQUAREFREE_TARGET_AVX512
namespace unit_avx512 {

struct Lanes {
    using Vec = __m512i;
    static constexpr std::size_t width = 16;

    // The first `count` (< 16) of sixteen lanes.
    static __mmask16 first_lanes(std::size_t count) { return static_cast<__mmask16>((1u << count) - 1); }

    static Vec load(const std::uint32_t* p) { return _mm512_loadu_si512(p); }
    static void store(std::uint32_t* p, Vec x) { _mm512_storeu_si512(p, x); }
    static Vec load_first(const std::uint32_t* p, std::size_t count)
    {
        return _mm512_maskz_loadu_epi32(first_lanes(count), p);
    }
    static void store_first(std::uint32_t* p, std::size_t count, Vec x)
    {
        _mm512_mask_storeu_epi32(p, first_lanes(count), x);
    }
    static Vec broadcast(std::uint32_t x) { return _mm512_set1_epi32(static_cast<int>(x)); }
    static Vec add(Vec a, Vec b) { return _mm512_add_epi32(a, b); }
    static Vec sub(Vec a, Vec b) { return _mm512_sub_epi32(a, b); }
    static Vec min(Vec a, Vec b) { return _mm512_min_epu32(a, b); }
    static Vec mullo(Vec a, Vec b) { return _mm512_mullo_epi32(a, b); }
    // As for AVX2: the even and odd lanes' 64-bit products, their high halves side by side.
    static Vec mulhi(Vec a, Vec b)
    {
        const Vec even = _mm512_mul_epu32(a, b);
        const Vec odd = _mm512_mul_epu32(_mm512_srli_epi64(a, 32), _mm512_srli_epi64(b, 32));
        return _mm512_mask_blend_epi32(0xAAAA, _mm512_srli_epi64(even, 32), odd);
    }
    static Vec add_one_where_nonzero(Vec sum, Vec x)
    {
        return _mm512_mask_add_epi32(sum, _mm512_test_epi32_mask(x, x), sum, _mm512_set1_epi32(1));
    }
};

#include "residue/lane_arithmetic.inc"

}  // namespace unit_avx512
SQUAREFREE_TARGET_END
#endif
