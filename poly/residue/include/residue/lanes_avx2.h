// The AVX2 unit: eight 32-bit lanes. A tail shorter than eight goes through the same lanes with a
// mask: the lanes past its end are neither read nor written.
#pragma once

#include <cstddef>
#include <cstdint>

#include "residue/unit_target.h"

#ifdef SQUAREFREE_X86_UNITS
SQUAREFREE_TARGET_AVX2
namespace unit_avx2 {

struct Lanes {
    using Vec = __m256i;
    static constexpr std::size_t width = 8;

    // All ones in the first `count` (< 8) lanes.
    static Vec first_lanes(std::size_t count)
    {
        return _mm256_cmpgt_epi32(_mm256_set1_epi32(static_cast<int>(count)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    }

    static Vec load(const std::uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void store(std::uint32_t* p, Vec x) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), x); }
    static Vec load_first(const std::uint32_t* p, std::size_t count)
    {
        return _mm256_maskload_epi32(reinterpret_cast<const int*>(p), first_lanes(count));
    }
    static void store_first(std::uint32_t* p, std::size_t count, Vec x)
    {
        _mm256_maskstore_epi32(reinterpret_cast<int*>(p), first_lanes(count), x);
    }
    static Vec broadcast(std::uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
    static Vec add(Vec a, Vec b) { return _mm256_add_epi32(a, b); }
    static Vec sub(Vec a, Vec b) { return _mm256_sub_epi32(a, b); }
    static Vec min(Vec a, Vec b) { return _mm256_min_epu32(a, b); }
    static Vec mullo(Vec a, Vec b) { return _mm256_mullo_epi32(a, b); }
    // The 64-bit products of the even and of the odd lanes; one blend puts their high halves side
    // by side.
    static Vec mulhi(Vec a, Vec b)
    {
        const Vec even = _mm256_mul_epu32(a, b);
        const Vec odd = _mm256_mul_epu32(_mm256_srli_epi64(a, 32), _mm256_srli_epi64(b, 32));
        return _mm256_blend_epi32(_mm256_srli_epi64(even, 32), odd, 0xAA);
    }
    static Vec add_one_where_nonzero(Vec sum, Vec x)
    {
        const Vec one_where_nonzero =
            _mm256_andnot_si256(_mm256_cmpeq_epi32(x, _mm256_setzero_si256()), _mm256_set1_epi32(1));
        return _mm256_add_epi32(sum, one_where_nonzero);
    }
};

#include "residue/lane_arithmetic.inc"

}  // namespace unit_avx2
SQUAREFREE_TARGET_END
#endif
