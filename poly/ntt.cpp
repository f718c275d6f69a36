// Products modulo p through number-theoretic transforms modulo three primes q < 2^30 with roots
// of unity of every order 2^k and 3·2^k up to 3·2^23, and the Chinese remainder theorem: a
// coefficient of the exact integer product is below min(|a|, |b|)·(p - 1)^2 < 2^84 < q0·q1·q2, so
// its residues modulo the three primes determine it, and with it its residue modulo p.
//
// The transforms keep their values in [0, 2q) and multiply by a root w with Shoup's method
// (w' = floor(w·2^32 / q) gives w·x mod q, up to one q, for any 32-bit x): no division anywhere.
#include <algorithm>
#include <bit>
#include <memory>
#include <vector>

#include "poly/dense_mod.h"
#include "poly/intrinsics.h"
#include "poly/thresholds.h"

namespace {

struct NttPrime {
    std::uint32_t q;
    std::uint32_t generator;  // a primitive root modulo q
};

// 105·2^23 + 1, 45·2^24 + 1 and 45·2^23 + 1: 3·2^23 divides q - 1 for all three, so they have roots
// of unity for the transforms of every length 2^k and 3·2^k up to kMaxTransformLength.
constexpr NttPrime kNttPrimes[3] = {{880803841, 26}, {754974721, 11}, {377487361, 7}};

std::uint32_t power(std::uint64_t base, std::uint64_t exponent, std::uint32_t q)
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

std::uint32_t shoup_constant(std::uint32_t w, std::uint32_t q)
{
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(w) << 32) / q);
}

// w·x mod q, up to one q: the result lies in [0, 2q).
inline std::uint32_t shoup_multiply(std::uint32_t x, std::uint32_t w, std::uint32_t w_shoup, std::uint32_t q)
{
    const std::uint32_t estimate = static_cast<std::uint32_t>((static_cast<std::uint64_t>(x) * w_shoup) >> 32);
    return x * w - estimate * q;
}

// The last four levels of a transform pair entry e with e + len, for len = 8, 4, 2, 1. The
// sixteen-lane kernel holds 32 consecutive entries in two registers and, before each of these
// levels, permutes them so that register 0 holds the first entries of the level's pairs and
// register 1 their partners, lane for lane. `element` names the entry in each lane of the layout of
// each level; a gather is the two-register permutation from one layout to the next (index
// 16·r + lane picks lane `lane` of register r), from the natural order through the four levels
// back to the natural order.
struct LaneLayouts {
    std::uint32_t element[4][2][16];         // layout l: the level of half-length 8 >> l
    std::uint32_t forward_gather[5][2][16];  // levels of half-length 8, 4, 2, 1
    std::uint32_t inverse_gather[5][2][16];  // levels of half-length 1, 2, 4, 8
};

constexpr LaneLayouts make_lane_layouts()
{
    LaneLayouts k{};
    for (std::uint32_t l = 0; l < 4; ++l) {
        std::uint32_t first = 0, second = 0;
        for (std::uint32_t e = 0; e < 32; ++e) {
            if (e & (8u >> l))
                k.element[l][1][second++] = e;
            else
                k.element[l][0][first++] = e;
        }
    }
    constexpr std::uint32_t natural = 4;
    const auto entry = [&k](std::uint32_t layout, std::uint32_t r, std::uint32_t lane) {
        return layout == natural ? 16 * r + lane : k.element[layout][r][lane];
    };
    const auto position = [&entry](std::uint32_t layout, std::uint32_t e) {
        for (std::uint32_t r = 0; r < 2; ++r)
            for (std::uint32_t lane = 0; lane < 16; ++lane)
                if (entry(layout, r, lane) == e)
                    return 16 * r + lane;
        return std::uint32_t{0};
    };
    constexpr std::uint32_t forward_order[6] = {natural, 0, 1, 2, 3, natural};
    constexpr std::uint32_t inverse_order[6] = {natural, 3, 2, 1, 0, natural};
    for (std::uint32_t i = 0; i < 5; ++i)
        for (std::uint32_t r = 0; r < 2; ++r)
            for (std::uint32_t lane = 0; lane < 16; ++lane) {
                k.forward_gather[i][r][lane] = position(forward_order[i], entry(forward_order[i + 1], r, lane));
                k.inverse_gather[i][r][lane] = position(inverse_order[i], entry(inverse_order[i + 1], r, lane));
            }
    return k;
}

constexpr LaneLayouts kLaneLayouts = make_lane_layouts();

// The roots of the last four levels lane by lane, in the layouts above: lane t of layout l
// multiplies by the root of its pair's entry.
struct LaneRoots {
    alignas(64) std::uint32_t w[4][16];
    alignas(64) std::uint32_t w_shoup[4][16];
};

// The roots of one prime for transforms up to `length`: entry len + j holds ω^j for the primitive
// (2·len)-th root ω, for every power of two len < length and j < len; with Shoup's constants, and
// the same for the inverse roots.
struct RootTable {
    std::size_t length = 0;
    std::vector<std::uint32_t> w, w_shoup, inverse, inverse_shoup;
    std::uint32_t scale[32];                 // entry k: 2^-k·2^32 mod q, which undoes a transform of length 2^k
    LaneRoots forward_lanes, inverse_lanes;  // once length >= 16
};

LaneRoots lane_roots(const std::vector<std::uint32_t>& w, const std::vector<std::uint32_t>& w_shoup)
{
    LaneRoots lanes{};
    for (std::size_t l = 0; l < 4; ++l) {
        const std::size_t len = std::size_t{8} >> l;
        for (std::size_t lane = 0; lane < 16; ++lane) {
            const std::size_t j = kLaneLayouts.element[l][0][lane] % len;
            lanes.w[l][lane] = w[len + j];
            lanes.w_shoup[l][lane] = w_shoup[len + j];
        }
    }
    return lanes;
}

const RootTable& roots(std::size_t prime, std::size_t length)
{
    static RootTable tables[3];
    RootTable& table = tables[prime];
    if (table.length >= length)
        return table;
    const std::uint32_t q = kNttPrimes[prime].q;
    table.length = length;
    table.w.assign(length, 0);
    table.w_shoup.assign(length, 0);
    table.inverse.assign(length, 0);
    table.inverse_shoup.assign(length, 0);
    const std::uint64_t half = (q + 1) / 2;
    std::uint64_t factor = (std::uint64_t{1} << 32) % q;
    for (std::uint32_t& entry : table.scale) {
        entry = static_cast<std::uint32_t>(factor);
        factor = factor * half % q;
    }
    for (std::size_t len = 1; len < length; len *= 2) {
        const std::uint32_t root = power(kNttPrimes[prime].generator, (q - 1) / (2 * len), q);
        const std::uint32_t inverse_root = power(root, q - 2, q);
        std::uint64_t w = 1, v = 1;
        for (std::size_t j = 0; j < len; ++j) {
            table.w[len + j] = static_cast<std::uint32_t>(w);
            table.w_shoup[len + j] = shoup_constant(static_cast<std::uint32_t>(w), q);
            table.inverse[len + j] = static_cast<std::uint32_t>(v);
            table.inverse_shoup[len + j] = shoup_constant(static_cast<std::uint32_t>(v), q);
            w = w * root % q;
            v = v * inverse_root % q;
        }
    }
    if (length >= 16) {
        table.forward_lanes = lane_roots(table.w, table.w_shoup);
        table.inverse_lanes = lane_roots(table.inverse, table.inverse_shoup);
    }
    return table;
}

// The portable loops are written for the compiler's vectorizer, which on x86 makes AVX-512 and AVX2
// versions chosen at run time; the butterflies and the elementwise loops also come written for AVX2
// and AVX-512 directly, used as vector_unit_select says.
#ifdef SQUAREFREE_X86_INTRINSICS
#define SQUAREFREE_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#define SQUAREFREE_AVX2_BUTTERFLIES 1
#else
#define SQUAREFREE_VECTOR_CLONES
#endif

// The levels of half-length first_len down to 1.
void forward_portable(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q, std::size_t first_len)
{
    const std::uint32_t two_q = 2 * q;
    for (std::size_t len = first_len; len >= 1; len /= 2) {
        const std::uint32_t* w = t.w.data() + len;
        const std::uint32_t* ws = t.w_shoup.data() + len;
        for (std::size_t s = 0; s < n; s += 2 * len) {
            std::uint32_t* x = a + s;
            std::uint32_t* y = a + s + len;
            for (std::size_t j = 0; j < len; ++j) {
                const std::uint32_t u = x[j], v = y[j];
                const std::uint32_t sum = u + v;
                x[j] = std::min(sum, sum - two_q);
                y[j] = shoup_multiply(u - v + two_q, w[j], ws[j], q);
            }
        }
    }
}

// The levels of half-length 1 up to last_len.
void inverse_portable(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q, std::size_t last_len)
{
    const std::uint32_t two_q = 2 * q;
    for (std::size_t len = 1; len < n && len <= last_len; len *= 2) {
        const std::uint32_t* w = t.inverse.data() + len;
        const std::uint32_t* ws = t.inverse_shoup.data() + len;
        for (std::size_t s = 0; s < n; s += 2 * len) {
            std::uint32_t* x = a + s;
            std::uint32_t* y = a + s + len;
            for (std::size_t j = 0; j < len; ++j) {
                const std::uint32_t u = x[j];
                const std::uint32_t v = shoup_multiply(y[j], w[j], ws[j], q);
                const std::uint32_t sum = u + v, difference = u - v + two_q;
                x[j] = std::min(sum, sum - two_q);
                y[j] = std::min(difference, difference - two_q);
            }
        }
    }
}

#ifdef SQUAREFREE_AVX2_BUTTERFLIES
// Eight lanes of Shoup's multiplication: the 64-bit products of the even and the odd lanes give
// the quotient estimates, one blend puts their high halves side by side.
__attribute__((target("avx2"))) inline __m256i shoup_multiply8(__m256i x, __m256i w, __m256i w_shoup, __m256i q)
{
    const __m256i even = _mm256_mul_epu32(x, w_shoup);
    const __m256i odd = _mm256_mul_epu32(_mm256_srli_epi64(x, 32), _mm256_srli_epi64(w_shoup, 32));
    const __m256i estimate = _mm256_blend_epi32(_mm256_srli_epi64(even, 32), odd, 0xAA);
    return _mm256_sub_epi32(_mm256_mullo_epi32(x, w), _mm256_mullo_epi32(estimate, q));
}

__attribute__((target("avx2"))) inline __m256i load(const std::uint32_t* p)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

__attribute__((target("avx2"))) inline __m256i reduce8(__m256i x, __m256i bound)
{
    return _mm256_min_epu32(x, _mm256_sub_epi32(x, bound));
}

// The 8x8 matrix of 32-bit values held row by row in r[0..7], transposed in place.
__attribute__((target("avx2"))) inline void transpose8(__m256i* r)
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

// The levels of half-length 4, 2 and 1 work inside blocks of eight. Eight blocks at a time are
// transposed, so that register j holds entry j of every block and each butterfly pairs two
// registers with one root for all lanes; then transposed back.
struct LastLevelRoots {
    __m256i w[8], w_shoup[8];  // entry len + j: ω_(2len)^j broadcast, len = 1, 2, 4
};

__attribute__((target("avx2"))) LastLevelRoots last_level_roots(const std::uint32_t* w, const std::uint32_t* w_shoup)
{
    LastLevelRoots roots;
    for (int k = 1; k < 8; ++k) {
        roots.w[k] = _mm256_set1_epi32(static_cast<int>(w[k]));
        roots.w_shoup[k] = _mm256_set1_epi32(static_cast<int>(w_shoup[k]));
    }
    return roots;
}

__attribute__((target("avx2"))) void forward_last_levels(std::uint32_t* a, std::size_t n, const RootTable& t,
                                                         std::uint32_t q)
{
    const __m256i vq = _mm256_set1_epi32(static_cast<int>(q)), two_q = _mm256_set1_epi32(static_cast<int>(2 * q));
    const LastLevelRoots roots = last_level_roots(t.w.data(), t.w_shoup.data());
    for (std::size_t chunk = 0; chunk < n; chunk += 64) {
        __m256i r[8];
        for (int i = 0; i < 8; ++i)
            r[i] = load(a + chunk + 8 * i);
        transpose8(r);
        for (std::size_t len = 4; len >= 1; len /= 2)
            for (std::size_t start = 0; start < 8; start += 2 * len)
                for (std::size_t j = 0; j < len; ++j) {
                    const __m256i u = r[start + j], v = r[start + j + len];
                    r[start + j] = reduce8(_mm256_add_epi32(u, v), two_q);
                    r[start + j + len] = shoup_multiply8(_mm256_add_epi32(_mm256_sub_epi32(u, v), two_q),
                                                         roots.w[len + j], roots.w_shoup[len + j], vq);
                }
        transpose8(r);
        for (int i = 0; i < 8; ++i)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(a + chunk + 8 * i), r[i]);
    }
}

__attribute__((target("avx2"))) void inverse_first_levels(std::uint32_t* a, std::size_t n, const RootTable& t,
                                                          std::uint32_t q)
{
    const __m256i vq = _mm256_set1_epi32(static_cast<int>(q)), two_q = _mm256_set1_epi32(static_cast<int>(2 * q));
    const LastLevelRoots roots = last_level_roots(t.inverse.data(), t.inverse_shoup.data());
    for (std::size_t chunk = 0; chunk < n; chunk += 64) {
        __m256i r[8];
        for (int i = 0; i < 8; ++i)
            r[i] = load(a + chunk + 8 * i);
        transpose8(r);
        for (std::size_t len = 1; len <= 4; len *= 2)
            for (std::size_t start = 0; start < 8; start += 2 * len)
                for (std::size_t j = 0; j < len; ++j) {
                    const __m256i u = r[start + j];
                    const __m256i v = shoup_multiply8(r[start + j + len], roots.w[len + j], roots.w_shoup[len + j], vq);
                    r[start + j] = reduce8(_mm256_add_epi32(u, v), two_q);
                    r[start + j + len] = reduce8(_mm256_add_epi32(_mm256_sub_epi32(u, v), two_q), two_q);
                }
        transpose8(r);
        for (int i = 0; i < 8; ++i)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(a + chunk + 8 * i), r[i]);
    }
}

__attribute__((target("avx2"))) void forward_avx2(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q)
{
    const __m256i vq = _mm256_set1_epi32(static_cast<int>(q)), two_q = _mm256_set1_epi32(static_cast<int>(2 * q));
    for (std::size_t len = n / 2; len >= 8; len /= 2) {
        const std::uint32_t* w = t.w.data() + len;
        const std::uint32_t* ws = t.w_shoup.data() + len;
        for (std::size_t s = 0; s < n; s += 2 * len) {
            std::uint32_t* x = a + s;
            std::uint32_t* y = a + s + len;
            for (std::size_t j = 0; j < len; j += 8) {
                const __m256i u = load(x + j), v = load(y + j);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(x + j), reduce8(_mm256_add_epi32(u, v), two_q));
                const __m256i difference = _mm256_add_epi32(_mm256_sub_epi32(u, v), two_q);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(y + j),
                                    shoup_multiply8(difference, load(w + j), load(ws + j), vq));
            }
        }
    }
    if (n >= 64)
        forward_last_levels(a, n, t, q);
    else
        forward_portable(a, n, t, q, std::min<std::size_t>(n / 2, 4));
}

__attribute__((target("avx2"))) void inverse_avx2(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q)
{
    if (n >= 64)
        inverse_first_levels(a, n, t, q);
    else
        inverse_portable(a, n, t, q, 4);
    const __m256i vq = _mm256_set1_epi32(static_cast<int>(q)), two_q = _mm256_set1_epi32(static_cast<int>(2 * q));
    for (std::size_t len = 8; len < n; len *= 2) {
        const std::uint32_t* w = t.inverse.data() + len;
        const std::uint32_t* ws = t.inverse_shoup.data() + len;
        for (std::size_t s = 0; s < n; s += 2 * len) {
            std::uint32_t* x = a + s;
            std::uint32_t* y = a + s + len;
            for (std::size_t j = 0; j < len; j += 8) {
                const __m256i u = load(x + j);
                const __m256i v = shoup_multiply8(load(y + j), load(w + j), load(ws + j), vq);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(x + j), reduce8(_mm256_add_epi32(u, v), two_q));
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(y + j),
                                    reduce8(_mm256_add_epi32(_mm256_sub_epi32(u, v), two_q), two_q));
            }
        }
    }
}

// The elementwise loops on eight lanes, for the entries up to a multiple of 8 (returned): the
// compiler's own vectorization multiplies their 32-bit operands by full 64-bit multiplications.
// Montgomery's reduction of a·b (see montgomery below): the high halves of a·b and m·q, plus the
// carry of their low halves, which cancel modulo 2^32 (a carry exactly when a·b's low half is not
// zero).
__attribute__((target("avx2"))) inline __m256i montgomery8(__m256i a, __m256i b, __m256i q, __m256i minus_q_inverse)
{
    const __m256i even = _mm256_mul_epu32(a, b),
                  odd = _mm256_mul_epu32(_mm256_srli_epi64(a, 32), _mm256_srli_epi64(b, 32));
    const __m256i low = _mm256_mullo_epi32(a, b);
    const __m256i m = _mm256_mullo_epi32(low, minus_q_inverse);
    const __m256i m_even = _mm256_mul_epu32(m, q), m_odd = _mm256_mul_epu32(_mm256_srli_epi64(m, 32), q);
    const __m256i high = _mm256_blend_epi32(_mm256_srli_epi64(even, 32), odd, 0xAA);
    const __m256i m_high = _mm256_blend_epi32(_mm256_srli_epi64(m_even, 32), m_odd, 0xAA);
    const __m256i carry = _mm256_andnot_si256(_mm256_cmpeq_epi32(low, _mm256_setzero_si256()), _mm256_set1_epi32(1));
    return _mm256_add_epi32(_mm256_add_epi32(high, m_high), carry);
}

__attribute__((target("avx2"))) std::size_t pointwise8(std::uint32_t* out, const std::uint32_t* a,
                                                       const std::uint32_t* b, std::size_t n, std::uint32_t q,
                                                       std::uint32_t minus_q_inverse)
{
    const __m256i vq = _mm256_set1_epi32(static_cast<int>(q)),
                  vm = _mm256_set1_epi32(static_cast<int>(minus_q_inverse));
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), montgomery8(load(a + i), load(b + i), vq, vm));
    return i;
}

__attribute__((target("avx2"))) std::size_t multiply_add8(std::uint32_t* sum, const std::uint32_t* a,
                                                          const std::uint32_t* b, std::size_t n, std::uint32_t q,
                                                          std::uint32_t minus_q_inverse)
{
    const __m256i vq = _mm256_set1_epi32(static_cast<int>(q)), two_q = _mm256_set1_epi32(static_cast<int>(2 * q));
    const __m256i vm = _mm256_set1_epi32(static_cast<int>(minus_q_inverse));
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i total = _mm256_add_epi32(load(sum + i), montgomery8(load(a + i), load(b + i), vq, vm));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(sum + i), reduce8(total, two_q));
    }
    return i;
}

// x·w mod q for each entry (up to one q, or fully reduced when `reduce`).
__attribute__((target("avx2"))) std::size_t scale8(const std::uint32_t* source, std::uint32_t* target, std::size_t n,
                                                   std::uint32_t w, std::uint32_t w_shoup, std::uint32_t q, bool reduce)
{
    const __m256i vq = _mm256_set1_epi32(static_cast<int>(q));
    const __m256i vw = _mm256_set1_epi32(static_cast<int>(w)), vw_shoup = _mm256_set1_epi32(static_cast<int>(w_shoup));
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i y = shoup_multiply8(load(source + i), vw, vw_shoup, vq);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + i), reduce ? reduce8(y, vq) : y);
    }
    return i;
}

// Sixteen lanes (AVX-512). The same butterflies as above, two levels to a pass over the entries,
// and the entries in blocks that stay in the first-level cache through all their levels.
#define SQUAREFREE_AVX512_BUTTERFLIES 1

__attribute__((target("avx512f"))) inline __m512i load16(const std::uint32_t* p)
{
    return _mm512_loadu_si512(p);
}

__attribute__((target("avx512f"))) inline void store16(std::uint32_t* p, __m512i x)
{
    _mm512_storeu_si512(p, x);
}

__attribute__((target("avx512f"))) inline __m512i shoup_multiply16(__m512i x, __m512i w, __m512i w_shoup, __m512i q)
{
    const __m512i even = _mm512_mul_epu32(x, w_shoup);
    const __m512i odd = _mm512_mul_epu32(_mm512_srli_epi64(x, 32), _mm512_srli_epi64(w_shoup, 32));
    const __m512i estimate = _mm512_mask_blend_epi32(0xAAAA, _mm512_srli_epi64(even, 32), odd);
    return _mm512_sub_epi32(_mm512_mullo_epi32(x, w), _mm512_mullo_epi32(estimate, q));
}

__attribute__((target("avx512f"))) inline __m512i reduce16(__m512i x, __m512i bound)
{
    return _mm512_min_epu32(x, _mm512_sub_epi32(x, bound));
}

struct Lanes16 {
    __m512i q, two_q;
};

__attribute__((target("avx512f"))) inline Lanes16 lanes16(std::uint32_t q)
{
    return {_mm512_set1_epi32(static_cast<int>(q)), _mm512_set1_epi32(static_cast<int>(2 * q))};
}

// (u, v) ← (u + v, (u - v)·w): decimation in frequency.
__attribute__((target("avx512f"))) inline void forward_butterfly16(__m512i& u, __m512i& v, __m512i w, __m512i w_shoup,
                                                                   const Lanes16& k)
{
    const __m512i sum = reduce16(_mm512_add_epi32(u, v), k.two_q);
    v = shoup_multiply16(_mm512_add_epi32(_mm512_sub_epi32(u, v), k.two_q), w, w_shoup, k.q);
    u = sum;
}

// (u, v) ← (u + v·w, u - v·w): decimation in time.
__attribute__((target("avx512f"))) inline void inverse_butterfly16(__m512i& u, __m512i& v, __m512i w, __m512i w_shoup,
                                                                   const Lanes16& k)
{
    const __m512i product = shoup_multiply16(v, w, w_shoup, k.q);
    v = reduce16(_mm512_add_epi32(_mm512_sub_epi32(u, product), k.two_q), k.two_q);
    u = reduce16(_mm512_add_epi32(u, product), k.two_q);
}

// The forward levels of half-length `high` down to `low` (powers of two, low >= 16) on a[0, n):
// the levels of half-lengths 2L and L in one pass over each block of 4L entries, and a last single
// level when their count is odd.
__attribute__((target("avx512f"))) void forward_levels16(std::uint32_t* a, std::size_t n, std::size_t high,
                                                         std::size_t low, const RootTable& t, const Lanes16& k)
{
    std::size_t len = high;
    for (; len / 2 >= low; len /= 4) {
        const std::size_t half = len / 2;
        const std::uint32_t *w2 = t.w.data() + len, *w2_shoup = t.w_shoup.data() + len;
        const std::uint32_t *w1 = t.w.data() + half, *w1_shoup = t.w_shoup.data() + half;
        for (std::size_t s = 0; s < n; s += 2 * len) {
            std::uint32_t* x = a + s;
            for (std::size_t j = 0; j < half; j += 16) {
                __m512i x0 = load16(x + j), x1 = load16(x + j + half), x2 = load16(x + j + len),
                        x3 = load16(x + j + len + half);
                forward_butterfly16(x0, x2, load16(w2 + j), load16(w2_shoup + j), k);
                forward_butterfly16(x1, x3, load16(w2 + j + half), load16(w2_shoup + j + half), k);
                const __m512i w = load16(w1 + j), w_shoup = load16(w1_shoup + j);
                forward_butterfly16(x0, x1, w, w_shoup, k);
                forward_butterfly16(x2, x3, w, w_shoup, k);
                store16(x + j, x0);
                store16(x + j + half, x1);
                store16(x + j + len, x2);
                store16(x + j + len + half, x3);
            }
        }
    }
    if (len < low)
        return;
    const std::uint32_t *w = t.w.data() + len, *w_shoup = t.w_shoup.data() + len;
    for (std::size_t s = 0; s < n; s += 2 * len)
        for (std::size_t j = 0; j < len; j += 16) {
            __m512i u = load16(a + s + j), v = load16(a + s + len + j);
            forward_butterfly16(u, v, load16(w + j), load16(w_shoup + j), k);
            store16(a + s + j, u);
            store16(a + s + len + j, v);
        }
}

// The inverse levels of half-length `low` up to `high`, two to a pass as above.
__attribute__((target("avx512f"))) void inverse_levels16(std::uint32_t* a, std::size_t n, std::size_t low,
                                                         std::size_t high, const RootTable& t, const Lanes16& k)
{
    std::size_t len = low;
    for (; 2 * len <= high; len *= 4) {
        const std::size_t twice = 2 * len;
        const std::uint32_t *w1 = t.inverse.data() + len, *w1_shoup = t.inverse_shoup.data() + len;
        const std::uint32_t *w2 = t.inverse.data() + twice, *w2_shoup = t.inverse_shoup.data() + twice;
        for (std::size_t s = 0; s < n; s += 2 * twice) {
            std::uint32_t* x = a + s;
            for (std::size_t j = 0; j < len; j += 16) {
                __m512i x0 = load16(x + j), x1 = load16(x + j + len), x2 = load16(x + j + twice),
                        x3 = load16(x + j + twice + len);
                const __m512i w = load16(w1 + j), w_shoup = load16(w1_shoup + j);
                inverse_butterfly16(x0, x1, w, w_shoup, k);
                inverse_butterfly16(x2, x3, w, w_shoup, k);
                inverse_butterfly16(x0, x2, load16(w2 + j), load16(w2_shoup + j), k);
                inverse_butterfly16(x1, x3, load16(w2 + j + len), load16(w2_shoup + j + len), k);
                store16(x + j, x0);
                store16(x + j + len, x1);
                store16(x + j + twice, x2);
                store16(x + j + twice + len, x3);
            }
        }
    }
    if (len > high)
        return;
    const std::uint32_t *w = t.inverse.data() + len, *w_shoup = t.inverse_shoup.data() + len;
    for (std::size_t s = 0; s < n; s += 2 * len)
        for (std::size_t j = 0; j < len; j += 16) {
            __m512i u = load16(a + s + j), v = load16(a + s + len + j);
            inverse_butterfly16(u, v, load16(w + j), load16(w_shoup + j), k);
            store16(a + s + j, u);
            store16(a + s + len + j, v);
        }
}

// The levels of half-length 8 to 1 (forward) or 1 to 8 (inverse) on kGroups groups of 32 entries
// from a, permuted through the layouts of kLaneLayouts. Each group's permutations and butterflies
// form a chain of dependent steps; the groups side by side keep the vector unit busy meanwhile.
template <bool kForward, std::size_t kGroups>
__attribute__((target("avx512f"))) inline void short_levels_of_groups16(std::uint32_t* a, const __m512i (&g)[5][2],
                                                                        const __m512i (&w)[4],
                                                                        const __m512i (&w_shoup)[4], const Lanes16& k)
{
    __m512i u[kGroups], v[kGroups];
    for (std::size_t c = 0; c < kGroups; ++c) {
        u[c] = load16(a + 32 * c);
        v[c] = load16(a + 32 * c + 16);
    }
    for (std::size_t i = 0; i < 4; ++i)
        for (std::size_t c = 0; c < kGroups; ++c) {
            const __m512i first = _mm512_permutex2var_epi32(u[c], g[i][0], v[c]);
            v[c] = _mm512_permutex2var_epi32(u[c], g[i][1], v[c]);
            u[c] = first;
            if constexpr (kForward)
                forward_butterfly16(u[c], v[c], w[i], w_shoup[i], k);
            else
                inverse_butterfly16(u[c], v[c], w[i], w_shoup[i], k);
        }
    for (std::size_t c = 0; c < kGroups; ++c) {
        store16(a + 32 * c, _mm512_permutex2var_epi32(u[c], g[4][0], v[c]));
        store16(a + 32 * c + 16, _mm512_permutex2var_epi32(u[c], g[4][1], v[c]));
    }
}

// The levels of half-length 8 to 1 (forward) or 1 to 8 (inverse) on a[0, n), four groups of 32
// entries at a time.
template <bool kForward>
__attribute__((target("avx512f"))) void short_levels16(std::uint32_t* a, std::size_t n, const LaneRoots& roots,
                                                       const Lanes16& k)
{
    const auto& gather = kForward ? kLaneLayouts.forward_gather : kLaneLayouts.inverse_gather;
    __m512i g[5][2], w[4], w_shoup[4];
    for (std::size_t i = 0; i < 5; ++i)
        for (std::size_t r = 0; r < 2; ++r)
            g[i][r] = load16(gather[i][r]);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t layout = kForward ? i : 3 - i;
        w[i] = load16(roots.w[layout]);
        w_shoup[i] = load16(roots.w_shoup[layout]);
    }
    constexpr std::size_t kGroups = 4;
    std::size_t s = 0;
    for (; s + 32 * kGroups <= n; s += 32 * kGroups)
        short_levels_of_groups16<kForward, kGroups>(a + s, g, w, w_shoup, k);
    for (; s < n; s += 32)
        short_levels_of_groups16<kForward, 1>(a + s, g, w, w_shoup, k);
}

// The elementwise loops on sixteen lanes, as those on eight above.
__attribute__((target("avx512f"))) inline __m512i montgomery16(__m512i a, __m512i b, __m512i q, __m512i minus_q_inverse)
{
    const __m512i even = _mm512_mul_epu32(a, b),
                  odd = _mm512_mul_epu32(_mm512_srli_epi64(a, 32), _mm512_srli_epi64(b, 32));
    const __m512i low = _mm512_mullo_epi32(a, b);
    const __m512i m = _mm512_mullo_epi32(low, minus_q_inverse);
    const __m512i m_even = _mm512_mul_epu32(m, q), m_odd = _mm512_mul_epu32(_mm512_srli_epi64(m, 32), q);
    const __m512i high = _mm512_mask_blend_epi32(0xAAAA, _mm512_srli_epi64(even, 32), odd);
    const __m512i m_high = _mm512_mask_blend_epi32(0xAAAA, _mm512_srli_epi64(m_even, 32), m_odd);
    const __m512i sum = _mm512_add_epi32(high, m_high);
    return _mm512_mask_add_epi32(sum, _mm512_test_epi32_mask(low, low), sum, _mm512_set1_epi32(1));
}

__attribute__((target("avx512f"))) std::size_t pointwise16(std::uint32_t* out, const std::uint32_t* a,
                                                           const std::uint32_t* b, std::size_t n, std::uint32_t q,
                                                           std::uint32_t minus_q_inverse)
{
    const __m512i vq = _mm512_set1_epi32(static_cast<int>(q)),
                  vm = _mm512_set1_epi32(static_cast<int>(minus_q_inverse));
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16)
        store16(out + i, montgomery16(load16(a + i), load16(b + i), vq, vm));
    return i;
}

__attribute__((target("avx512f"))) std::size_t multiply_add16(std::uint32_t* sum, const std::uint32_t* a,
                                                              const std::uint32_t* b, std::size_t n, std::uint32_t q,
                                                              std::uint32_t minus_q_inverse)
{
    const Lanes16 k = lanes16(q);
    const __m512i vm = _mm512_set1_epi32(static_cast<int>(minus_q_inverse));
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16)
        store16(
            sum + i,
            reduce16(_mm512_add_epi32(load16(sum + i), montgomery16(load16(a + i), load16(b + i), k.q, vm)), k.two_q));
    return i;
}

// x·w mod q for each entry (up to one q, or fully reduced when `reduce`).
__attribute__((target("avx512f"))) std::size_t scale16(const std::uint32_t* source, std::uint32_t* target,
                                                       std::size_t n, std::uint32_t w, std::uint32_t w_shoup,
                                                       std::uint32_t q, bool reduce)
{
    const __m512i vq = _mm512_set1_epi32(static_cast<int>(q));
    const __m512i vw = _mm512_set1_epi32(static_cast<int>(w)), vw_shoup = _mm512_set1_epi32(static_cast<int>(w_shoup));
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i y = shoup_multiply16(load16(source + i), vw, vw_shoup, vq);
        store16(target + i, reduce ? reduce16(y, vq) : y);
    }
    return i;
}

// Entries of a block that goes through all its remaining levels at once: 16 KB.
constexpr std::size_t kTransformBlock = 4096;

// n >= 32.
__attribute__((target("avx512f"))) void forward_avx512(std::uint32_t* a, std::size_t n, const RootTable& t,
                                                       std::uint32_t q)
{
    const Lanes16 k = lanes16(q);
    const std::size_t block = std::min(n, kTransformBlock);
    if (n > block)
        forward_levels16(a, n, n / 2, block, t, k);
    for (std::size_t start = 0; start < n; start += block) {
        forward_levels16(a + start, block, block / 2, 16, t, k);
        short_levels16<true>(a + start, block, t.forward_lanes, k);
    }
}

// n >= 32.
__attribute__((target("avx512f"))) void inverse_avx512(std::uint32_t* a, std::size_t n, const RootTable& t,
                                                       std::uint32_t q)
{
    const Lanes16 k = lanes16(q);
    const std::size_t block = std::min(n, kTransformBlock);
    for (std::size_t start = 0; start < n; start += block) {
        short_levels16<false>(a + start, block, t.inverse_lanes, k);
        inverse_levels16(a + start, block, 16, block / 2, t, k);
    }
    if (n > block)
        inverse_levels16(a, n, block, n / 2, t, k);
}
#endif

// Decimation in frequency: natural order in, bit-reversed order out; values in [0, 2q).
void forward(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q)
{
    switch (vector_unit_in_use()) {
#ifdef SQUAREFREE_AVX512_BUTTERFLIES
    case VectorUnit::avx512:
        if (n >= 32)
            return forward_avx512(a, n, t, q);
        [[fallthrough]];
    case VectorUnit::avx2:
        return forward_avx2(a, n, t, q);
#endif
    default:
        return forward_portable(a, n, t, q, n / 2);
    }
}

// Decimation in time with the inverse roots: bit-reversed order in, natural order out (times n);
// values in [0, 2q).
void inverse(std::uint32_t* a, std::size_t n, const RootTable& t, std::uint32_t q)
{
    switch (vector_unit_in_use()) {
#ifdef SQUAREFREE_AVX512_BUTTERFLIES
    case VectorUnit::avx512:
        if (n >= 32)
            return inverse_avx512(a, n, t, q);
        [[fallthrough]];
    case VectorUnit::avx2:
        return inverse_avx2(a, n, t, q);
#endif
    default:
        return inverse_portable(a, n, t, q, n);
    }
}

// --- Transforms of length 3m, m a power of two ---------------------------------------------------
// A first pass of 3-point transforms on the entries j, j + m, j + 2m, whose second and third
// results are multiplied by ψ^j and ψ^2j for the primitive 3m-th root ψ (decimation in frequency),
// leaves in row r = 0, 1, 2 (entries rm to rm + m) the values whose transform of length m by
// ψ^3 gives the values at ψ^(3i + r). ψ^3 is the root the power-of-two transforms of length m
// use, since both are powers of the same primitive root of q. The inverse undoes the rows first,
// then the pass, with the inverse roots.

// The 3-point transform of (x0, x1, x2) by a cube root of one ω: (x0 + x1 + x2, x0 + ω·x1 + ω²·x2,
// x0 + ω²·x1 + ω·x2). Since ω² = -1 - ω, the last two are x0 - x2 + t and x0 - x1 - t with
// t = ω·(x1 - x2): one multiplication. Values in [0, 2q) in and out.
struct ThreePoint {
    std::uint32_t y0, y1, y2;
};

inline ThreePoint three_point(std::uint32_t x0, std::uint32_t x1, std::uint32_t x2, std::uint32_t w,
                              std::uint32_t w_shoup, std::uint32_t q)
{
    const std::uint32_t two_q = 2 * q;
    const auto reduce = [two_q](std::uint32_t x) { return std::min(x, x - two_q); };  // [0, 4q) into [0, 2q)
    const std::uint32_t t = shoup_multiply(x1 + two_q - x2, w, w_shoup, q);
    return {reduce(x0 + reduce(x1 + x2)), reduce(reduce(x0 + two_q - x2) + t),
            reduce(reduce(x0 + two_q - x1) + two_q - t)};
}

// The roots of the pass for one length 3m, forward or inverse: the cube root ψ^±m and the
// twiddles ψ^±j for j < m, with Shoup's constants. Row 2's twiddle ψ^±2j is applied as ψ^±j twice,
// which keeps the table at half the size.
struct ThirdsRoots {
    std::uint32_t cube_root = 0, cube_root_shoup = 0;
    std::vector<std::uint32_t> w, w_shoup;
};

struct ThirdsTable {
    ThirdsRoots forward, inverse;
    std::uint32_t scale = 0;  // (3m)^-1·2^32 mod q, which undoes the transform
};

ThirdsRoots thirds_roots(std::uint32_t psi, std::size_t m, std::uint32_t q)
{
    ThirdsRoots r;
    r.cube_root = power(psi, m, q);
    r.cube_root_shoup = shoup_constant(r.cube_root, q);
    r.w.resize(m);
    r.w_shoup.resize(m);
    std::uint64_t w = 1;
    for (std::size_t j = 0; j < m; ++j) {
        r.w[j] = static_cast<std::uint32_t>(w);
        r.w_shoup[j] = shoup_constant(r.w[j], q);
        w = w * psi % q;
    }
    return r;
}

const ThirdsTable& thirds(std::size_t prime, std::size_t m)
{
    static std::unique_ptr<ThirdsTable> tables[3][32];
    std::unique_ptr<ThirdsTable>& table = tables[prime][std::countr_zero(m)];
    if (!table) {
        const std::uint32_t q = kNttPrimes[prime].q;
        const std::uint32_t psi = power(kNttPrimes[prime].generator, (q - 1) / (3 * m), q);
        table = std::make_unique<ThirdsTable>();
        table->forward = thirds_roots(psi, m, q);
        table->inverse = thirds_roots(power(psi, q - 2, q), m, q);
        const std::uint64_t third = power(3, q - 2, q);
        table->scale = static_cast<std::uint32_t>(roots(prime, m).scale[std::countr_zero(m)] * third % q);
    }
    return *table;
}

#ifdef SQUAREFREE_AVX512_BUTTERFLIES
// x - y + 2q for x, y in [0, 2q): in (0, 4q).
__attribute__((target("avx512f"))) inline __m512i difference16(__m512i x, __m512i y, const Lanes16& k)
{
    return _mm512_sub_epi32(_mm512_add_epi32(x, k.two_q), y);
}

__attribute__((target("avx512f"))) inline void three_point16(__m512i& x0, __m512i& x1, __m512i& x2, __m512i w,
                                                             __m512i w_shoup, const Lanes16& k)
{
    const __m512i t = shoup_multiply16(difference16(x1, x2, k), w, w_shoup, k.q);
    const __m512i y0 = reduce16(_mm512_add_epi32(x0, reduce16(_mm512_add_epi32(x1, x2), k.two_q)), k.two_q);
    const __m512i y1 = reduce16(_mm512_add_epi32(reduce16(difference16(x0, x2, k), k.two_q), t), k.two_q);
    x2 = reduce16(difference16(reduce16(difference16(x0, x1, k), k.two_q), t, k), k.two_q);
    x0 = y0;
    x1 = y1;
}

// The pass on sixteen lanes (m a multiple of 16).
template <bool kForward>
__attribute__((target("avx512f"))) void thirds_pass16(std::uint32_t* a, std::size_t m, const ThirdsRoots& r,
                                                      std::uint32_t q)
{
    const Lanes16 k = lanes16(q);
    const __m512i w = _mm512_set1_epi32(static_cast<int>(r.cube_root)),
                  w_shoup = _mm512_set1_epi32(static_cast<int>(r.cube_root_shoup));
    for (std::size_t j = 0; j < m; j += 16) {
        __m512i x0 = load16(a + j), x1 = load16(a + m + j), x2 = load16(a + 2 * m + j);
        const __m512i t = load16(r.w.data() + j), t_shoup = load16(r.w_shoup.data() + j);
        // Forward: the 3-point transform, then the twiddles; inverse: the twiddles first.
        if constexpr (kForward)
            three_point16(x0, x1, x2, w, w_shoup, k);
        x1 = shoup_multiply16(x1, t, t_shoup, k.q);
        x2 = shoup_multiply16(shoup_multiply16(x2, t, t_shoup, k.q), t, t_shoup, k.q);
        if constexpr (!kForward)
            three_point16(x0, x1, x2, w, w_shoup, k);
        store16(a + j, x0);
        store16(a + m + j, x1);
        store16(a + 2 * m + j, x2);
    }
}
#endif

// The pass, forward or inverse. (Not a template: clang's multiversioned functions cannot be.)
SQUAREFREE_VECTOR_CLONES void thirds_pass(std::uint32_t* a, std::size_t m, const ThirdsRoots& r, std::uint32_t q,
                                          bool forward)
{
#ifdef SQUAREFREE_AVX512_BUTTERFLIES
    if (vector_unit_in_use() == VectorUnit::avx512 && m % 16 == 0)
        return forward ? thirds_pass16<true>(a, m, r, q) : thirds_pass16<false>(a, m, r, q);
#endif
    for (std::size_t j = 0; j < m; ++j) {
        const auto twiddle = [&r, j, q](std::uint32_t x) { return shoup_multiply(x, r.w[j], r.w_shoup[j], q); };
        std::uint32_t x1 = a[m + j], x2 = a[2 * m + j];
        if (!forward) {
            x1 = twiddle(x1);
            x2 = twiddle(twiddle(x2));
        }
        const ThreePoint y = three_point(a[j], x1, x2, r.cube_root, r.cube_root_shoup, q);
        a[j] = y.y0;
        a[m + j] = forward ? twiddle(y.y1) : y.y1;
        a[2 * m + j] = forward ? twiddle(twiddle(y.y2)) : y.y2;
    }
}

// The transforms of any transform length n (transform_length): a power of two, or three times
// one. Their values lie in [0, 2q).
void forward_transform(std::size_t prime, std::uint32_t* a, std::size_t n)
{
    const std::uint32_t q = kNttPrimes[prime].q;
    if (std::has_single_bit(n))
        return forward(a, n, roots(prime, n), q);
    const std::size_t m = n / 3;
    thirds_pass(a, m, thirds(prime, m).forward, q, true);
    const RootTable& t = roots(prime, m);
    for (std::size_t row = 0; row < 3; ++row)
        forward(a + row * m, m, t, q);
}

// The inverse, times n.
void inverse_transform(std::size_t prime, std::uint32_t* a, std::size_t n)
{
    const std::uint32_t q = kNttPrimes[prime].q;
    if (std::has_single_bit(n))
        return inverse(a, n, roots(prime, n), q);
    const std::size_t m = n / 3;
    const RootTable& t = roots(prime, m);
    for (std::size_t row = 0; row < 3; ++row)
        inverse(a + row * m, m, t, q);
    thirds_pass(a, m, thirds(prime, m).inverse, q, false);
}

// n^-1·2^32 mod q: undoes the inverse transform's factor n and a Montgomery product's 2^-32.
std::uint32_t inverse_scale(std::size_t prime, std::size_t n)
{
    if (std::has_single_bit(n))
        return roots(prime, n).scale[std::countr_zero(n)];
    return thirds(prime, n / 3).scale;
}

// Montgomery's reduction with R = 2^32 for products t < 4q^2 (< q·2^32): t·R^-1 mod q, up to one q.
inline std::uint32_t montgomery(std::uint64_t t, std::uint32_t q, std::uint32_t minus_q_inverse)
{
    const std::uint32_t m = static_cast<std::uint32_t>(t) * minus_q_inverse;
    return static_cast<std::uint32_t>((t + static_cast<std::uint64_t>(m) * q) >> 32);
}

// -q^-1 mod 2^32 by Newton's iteration (each step doubles the correct bits of the inverse).
std::uint32_t minus_inverse_mod_2_32(std::uint32_t q)
{
    std::uint32_t inverse = q;  // correct to 3 bits for odd q
    for (int i = 0; i < 4; ++i)
        inverse *= 2 - q * inverse;
    return 0 - inverse;
}

#ifdef SQUAREFREE_AVX512_BUTTERFLIES
bool sixteen_lanes()
{
    return vector_unit_in_use() == VectorUnit::avx512;
}

bool eight_lanes()
{
    return vector_unit_in_use() == VectorUnit::avx2;
}
#endif

// Residues below 2^31 into [0, 2q): Shoup's multiplication by one.
SQUAREFREE_VECTOR_CLONES void load(const Residue* source, std::size_t count, std::uint32_t* target, std::uint32_t q)
{
    const std::uint32_t one_shoup = shoup_constant(1, q);
    std::size_t i = 0;
#ifdef SQUAREFREE_AVX512_BUTTERFLIES
    if (sixteen_lanes())
        i = scale16(source, target, count, 1, one_shoup, q, false);
    else if (eight_lanes())
        i = scale8(source, target, count, 1, one_shoup, q, false);
#endif
    for (; i < count; ++i)
        target[i] = shoup_multiply(source[i], 1, one_shoup, q);
}

// out = a·b pointwise (out may be a).
SQUAREFREE_VECTOR_CLONES void pointwise(std::uint32_t* out, const std::uint32_t* a, const std::uint32_t* b,
                                        std::size_t n, std::uint32_t q, std::uint32_t minus_q_inverse)
{
    std::size_t i = 0;
#ifdef SQUAREFREE_AVX512_BUTTERFLIES
    if (sixteen_lanes())
        i = pointwise16(out, a, b, n, q, minus_q_inverse);
    else if (eight_lanes())
        i = pointwise8(out, a, b, n, q, minus_q_inverse);
#endif
    for (; i < n; ++i)
        out[i] = montgomery(static_cast<std::uint64_t>(a[i]) * b[i], q, minus_q_inverse);
}

// Undoes the transform's factor n and the pointwise product's R^-1, and reduces into [0, q).
SQUAREFREE_VECTOR_CLONES void scale(std::uint32_t* a, std::size_t n, std::uint32_t w, std::uint32_t w_shoup,
                                    std::uint32_t q)
{
    std::size_t i = 0;
#ifdef SQUAREFREE_AVX512_BUTTERFLIES
    if (sixteen_lanes())
        i = scale16(a, a, n, w, w_shoup, q, true);
    else if (eight_lanes())
        i = scale8(a, a, n, w, w_shoup, q, true);
#endif
    for (; i < n; ++i) {
        const std::uint32_t y = shoup_multiply(a[i], w, w_shoup, q);
        a[i] = std::min(y, y - q);
    }
}

// -q^-1 mod 2^32 for each transform prime: the constants of Montgomery's reduction.
const std::uint32_t* minus_q_inverses()
{
    static const std::uint32_t inverses[3] = {minus_inverse_mod_2_32(kNttPrimes[0].q),
                                              minus_inverse_mod_2_32(kNttPrimes[1].q),
                                              minus_inverse_mod_2_32(kNttPrimes[2].q)};
    return inverses;
}

// Work space kept from one product to the next: no fresh pages for every product.
std::vector<std::uint32_t>& scratch(std::size_t which, std::size_t n)
{
    static std::vector<std::uint32_t> buffers[4];
    std::vector<std::uint32_t>& buffer = buffers[which];
    if (buffer.size() < n)
        buffer.resize(n);
    return buffer;
}

// The product of a and b modulo one prime, reduced into [0, q), in the first a.size() + b.size()
// - 1 entries of scratch buffer `prime`.
void product_modulo(std::size_t prime, const Dense& a, const Dense& b, bool square, std::size_t n)
{
    const std::uint32_t q = kNttPrimes[prime].q;
    const std::uint32_t minus_q_inverse = minus_q_inverses()[prime];
    std::uint32_t* x = scratch(prime, n).data();
    load(a.data(), a.size(), x, q);
    std::fill(x + a.size(), x + n, 0);
    forward_transform(prime, x, n);
    if (square) {
        pointwise(x, x, x, n, q, minus_q_inverse);
    } else {
        std::uint32_t* y = scratch(3, n).data();
        load(b.data(), b.size(), y, q);
        std::fill(y + b.size(), y + n, 0);
        forward_transform(prime, y, n);
        pointwise(x, x, y, n, q, minus_q_inverse);
    }
    inverse_transform(prime, x, n);
    const std::uint32_t factor = inverse_scale(prime, n);
    scale(x, a.size() + b.size() - 1, factor, shoup_constant(factor, q), q);
}

// Garner: from the residues r0, r1, r2 of each coefficient modulo the three primes (in [0, q)),
// x = r0 + q0·v1 + q0·q1·v2 with v1 < q1, v2 < q2, and then x mod p = r0 + (q0 mod p)·v1 +
// (q0·q1 mod p)·v2 mod p: every step a Shoup multiplication by a constant in 32-bit lanes, so that
// the loop vectorizes. With one prime the residue is the coefficient; with two, v2 = 0.
struct GarnerConstants {
    std::uint32_t q1_one, c1, c1_shoup;                              // modulo q1: 1 and q0^-1
    std::uint32_t q2_one, q0_mod_q2, q0_mod_q2_shoup, c2, c2_shoup;  // modulo q2: 1, q0, (q0·q1)^-1
    std::uint32_t p, p_one, q0_mod_p, q0_mod_p_shoup, q0q1_mod_p, q0q1_mod_p_shoup;
};

GarnerConstants garner_constants(const Modulus& mod)
{
    constexpr std::uint32_t q0 = kNttPrimes[0].q, q1 = kNttPrimes[1].q, q2 = kNttPrimes[2].q;
    static const GarnerConstants of_primes = [] {
        GarnerConstants k{};
        k.q1_one = shoup_constant(1, q1);
        k.c1 = power(q0, q1 - 2, q1);
        k.c1_shoup = shoup_constant(k.c1, q1);
        k.q2_one = shoup_constant(1, q2);
        k.q0_mod_q2 = q0 % q2;
        k.q0_mod_q2_shoup = shoup_constant(k.q0_mod_q2, q2);
        k.c2 = power(static_cast<std::uint64_t>(k.q0_mod_q2) * (q1 % q2) % q2, q2 - 2, q2);
        k.c2_shoup = shoup_constant(k.c2, q2);
        return k;
    }();
    GarnerConstants k = of_primes;
    k.p = static_cast<std::uint32_t>(mod.p);
    k.p_one = shoup_constant(1, k.p);
    k.q0_mod_p = static_cast<std::uint32_t>(mod.reduce(q0));
    k.q0_mod_p_shoup = shoup_constant(k.q0_mod_p, k.p);
    k.q0q1_mod_p = static_cast<std::uint32_t>(mod.mul(mod.reduce(q0), mod.reduce(q1)));
    k.q0q1_mod_p_shoup = shoup_constant(k.q0q1_mod_p, k.p);
    return k;
}

inline std::uint32_t reduce_once(std::uint32_t x, std::uint32_t q)
{
    return std::min(x, x - q);
}

#ifdef SQUAREFREE_AVX512_BUTTERFLIES
__attribute__((target("avx512f"))) inline __m512i broadcast16(std::uint32_t x)
{
    return _mm512_set1_epi32(static_cast<int>(x));
}

// w·x reduced into [0, q).
__attribute__((target("avx512f"))) inline __m512i times16(__m512i x, __m512i w, __m512i w_shoup, __m512i q)
{
    return reduce16(shoup_multiply16(x, w, w_shoup, q), q);
}

// The same on sixteen lanes, for the entries up to a multiple of 16 (returned).
__attribute__((target("avx512f"))) std::size_t garner16(const std::uint32_t* r0, const std::uint32_t* r1,
                                                        const std::uint32_t* r2, std::size_t primes, std::size_t length,
                                                        const GarnerConstants& k, Residue* out)
{
    const __m512i one = broadcast16(1), p = broadcast16(k.p), p_one = broadcast16(k.p_one);
    const __m512i q1 = broadcast16(kNttPrimes[1].q), q1_one = broadcast16(k.q1_one), c1 = broadcast16(k.c1),
                  c1_shoup = broadcast16(k.c1_shoup);
    const __m512i q2 = broadcast16(kNttPrimes[2].q), q2_one = broadcast16(k.q2_one), c2 = broadcast16(k.c2),
                  c2_shoup = broadcast16(k.c2_shoup);
    const __m512i q0_mod_q2 = broadcast16(k.q0_mod_q2), q0_mod_q2_shoup = broadcast16(k.q0_mod_q2_shoup);
    const __m512i q0_mod_p = broadcast16(k.q0_mod_p), q0_mod_p_shoup = broadcast16(k.q0_mod_p_shoup);
    const __m512i q0q1_mod_p = broadcast16(k.q0q1_mod_p), q0q1_mod_p_shoup = broadcast16(k.q0q1_mod_p_shoup);
    std::size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        const __m512i x0 = load16(r0 + i);
        __m512i result = times16(x0, one, p_one, p);
        if (primes >= 2) {
            const __m512i x0_mod_q1 = times16(x0, one, q1_one, q1);
            const __m512i v1 =
                times16(_mm512_sub_epi32(_mm512_add_epi32(load16(r1 + i), q1), x0_mod_q1), c1, c1_shoup, q1);
            result = reduce16(_mm512_add_epi32(result, times16(v1, q0_mod_p, q0_mod_p_shoup, p)), p);
            if (primes == 3) {
                const __m512i low_mod_q2 = reduce16(
                    _mm512_add_epi32(times16(x0, one, q2_one, q2), times16(v1, q0_mod_q2, q0_mod_q2_shoup, q2)), q2);
                const __m512i v2 =
                    times16(_mm512_sub_epi32(_mm512_add_epi32(load16(r2 + i), q2), low_mod_q2), c2, c2_shoup, q2);
                result = reduce16(_mm512_add_epi32(result, times16(v2, q0q1_mod_p, q0q1_mod_p_shoup, p)), p);
            }
        }
        store16(out + i, result);
    }
    return i;
}
#endif

SQUAREFREE_VECTOR_CLONES void garner(const std::uint32_t* r0, const std::uint32_t* r1, const std::uint32_t* r2,
                                     std::size_t primes, std::size_t length, const GarnerConstants& k, Residue* out)
{
    constexpr std::uint32_t q1 = kNttPrimes[1].q, q2 = kNttPrimes[2].q;
    const std::uint32_t p = k.p;
    std::size_t start = 0;
#ifdef SQUAREFREE_AVX512_BUTTERFLIES
    if (sixteen_lanes())
        start = garner16(r0, r1, r2, primes, length, k, out);
#endif
    if (primes == 1) {
        for (std::size_t i = start; i < length; ++i)
            out[i] = reduce_once(shoup_multiply(r0[i], 1, k.p_one, p), p);
    } else if (primes == 2) {
        for (std::size_t i = start; i < length; ++i) {
            const std::uint32_t x0_mod_q1 = reduce_once(shoup_multiply(r0[i], 1, k.q1_one, q1), q1);
            const std::uint32_t v1 = reduce_once(shoup_multiply(r1[i] + q1 - x0_mod_q1, k.c1, k.c1_shoup, q1), q1);
            const std::uint32_t t0 = reduce_once(shoup_multiply(r0[i], 1, k.p_one, p), p);
            const std::uint32_t t1 = reduce_once(shoup_multiply(v1, k.q0_mod_p, k.q0_mod_p_shoup, p), p);
            out[i] = reduce_once(t0 + t1, p);
        }
    } else {
        for (std::size_t i = start; i < length; ++i) {
            const std::uint32_t x0_mod_q1 = reduce_once(shoup_multiply(r0[i], 1, k.q1_one, q1), q1);
            const std::uint32_t v1 = reduce_once(shoup_multiply(r1[i] + q1 - x0_mod_q1, k.c1, k.c1_shoup, q1), q1);
            const std::uint32_t low_mod_q2 =
                reduce_once(reduce_once(shoup_multiply(r0[i], 1, k.q2_one, q2), q2) +
                                reduce_once(shoup_multiply(v1, k.q0_mod_q2, k.q0_mod_q2_shoup, q2), q2),
                            q2);
            const std::uint32_t v2 = reduce_once(shoup_multiply(r2[i] + q2 - low_mod_q2, k.c2, k.c2_shoup, q2), q2);
            const std::uint32_t t0 = reduce_once(shoup_multiply(r0[i], 1, k.p_one, p), p);
            const std::uint32_t t1 = reduce_once(shoup_multiply(v1, k.q0_mod_p, k.q0_mod_p_shoup, p), p);
            const std::uint32_t t2 = reduce_once(shoup_multiply(v2, k.q0q1_mod_p, k.q0q1_mod_p_shoup, p), p);
            out[i] = reduce_once(reduce_once(t0 + t1, p) + t2, p);
        }
    }
}

Dense combine(const std::uint32_t* r0, const std::uint32_t* r1, const std::uint32_t* r2, std::size_t primes,
              std::size_t length, const Modulus& mod)
{
    Dense product(length);
    garner(r0, r1, r2, primes, length, garner_constants(mod), product.data());
    dense_trim(product);
    return product;
}

SQUAREFREE_VECTOR_CLONES void multiply_add(std::uint32_t* sum, const std::uint32_t* a, const std::uint32_t* b,
                                           std::size_t n, std::uint32_t q, std::uint32_t minus_q_inverse)
{
    const std::uint32_t two_q = 2 * q;
    std::size_t i = 0;
#ifdef SQUAREFREE_AVX512_BUTTERFLIES
    if (sixteen_lanes())
        i = multiply_add16(sum, a, b, n, q, minus_q_inverse);
    else if (eight_lanes())
        i = multiply_add8(sum, a, b, n, q, minus_q_inverse);
#endif
    for (; i < n; ++i) {
        const std::uint32_t total = sum[i] + montgomery(static_cast<std::uint64_t>(a[i]) * b[i], q, minus_q_inverse);
        sum[i] = std::min(total, total - two_q);
    }
}

}  // namespace

std::size_t transform_primes(std::size_t terms, const Modulus& mod)
{
    // Exact once terms·(p - 1)^2 is below the product of the primes used (tested without overflow
    // as (p - 1)^2 <= (product - 1) / terms). Three primes hold every sum of two products of
    // length 2^23 for any p < 2^31.
    const std::uint64_t largest_product = (mod.p - 1) * (mod.p - 1);
    std::uint64_t primes_product = 1;
    for (std::size_t primes = 1; primes < 3; ++primes) {
        primes_product *= kNttPrimes[primes - 1].q;
        if (largest_product <= (primes_product - 1) / std::max<std::size_t>(terms, 1))
            return primes;
    }
    return 3;
}

Spectrum dense_spectrum(const Dense& a, std::size_t n, std::size_t primes)
{
    Spectrum s;
    s.n = n;
    s.primes = primes;
    for (std::size_t prime = 0; prime < s.primes; ++prime) {
        const std::uint32_t q = kNttPrimes[prime].q;
        s.values[prime] = std::make_unique_for_overwrite<std::uint32_t[]>(n);
        std::uint32_t* x = s.values[prime].get();
        load(a.data(), a.size(), x, q);
        std::fill(x + a.size(), x + n, 0);
        forward_transform(prime, x, n);
    }
    return s;
}

void spectrum_multiply_add(Spectrum& sum, const Spectrum& a, const Spectrum& b)
{
    sum.primes = a.primes;
    for (std::size_t prime = 0; prime < a.primes; ++prime) {
        if (!sum.values[prime]) {  // the first product of the sum
            sum.n = a.n;
            sum.values[prime] = std::make_unique_for_overwrite<std::uint32_t[]>(a.n);
            pointwise(sum.values[prime].get(), a.values[prime].get(), b.values[prime].get(), a.n, kNttPrimes[prime].q,
                      minus_q_inverses()[prime]);
            continue;
        }
        multiply_add(sum.values[prime].get(), a.values[prime].get(), b.values[prime].get(), a.n, kNttPrimes[prime].q,
                     minus_q_inverses()[prime]);
    }
}

Dense dense_from_spectrum(Spectrum s, std::size_t length, const Modulus& mod)
{
    if (!s.values[0] || length == 0)
        return {};
    for (std::size_t prime = 0; prime < s.primes; ++prime) {
        const std::uint32_t q = kNttPrimes[prime].q;
        std::uint32_t* x = s.values[prime].get();
        inverse_transform(prime, x, s.n);
        const std::uint32_t factor = inverse_scale(prime, s.n);
        scale(x, length, factor, shoup_constant(factor, q), q);
    }
    return combine(s.values[0].get(), s.values[1].get(), s.values[2].get(), s.primes, length, mod);
}

Dense dense_multiply_ntt(const Dense& a, const Dense& b, const Modulus& mod)
{
    if (a.empty() || b.empty())
        return {};
    const std::size_t length = a.size() + b.size() - 1;
    const std::size_t n = transform_length(length);
    if (n > kMaxTransformLength)
        return dense_multiply_kronecker(a, b, mod);
    const bool square = &a == &b || a == b;
    const std::size_t primes = transform_primes(std::min(a.size(), b.size()), mod);
    for (std::size_t prime = 0; prime < primes; ++prime)
        product_modulo(prime, a, b, square, n);
    return combine(scratch(0, n).data(), scratch(1, n).data(), scratch(2, n).data(), primes, length, mod);
}
