// Plain products whose coefficients are summed in 64 bits and reduced once. A row of Shoup's
// multiplications (kernel.cpp) reduces every product as it goes: four multiplications per sixteen
// coefficient products, and each row re-reads what the row before wrote. Here a block of sixteen
// coefficients of the product is summed in registers over every row that meets it: two 32x32-bit
// multiplications per sixteen products (the even lanes, then the odd ones), one reduction per
// coefficient at the end. The sums stay exact while they fit 64 bits (residues_sums_fit).
#include <algorithm>
#include <vector>

#include "poly/intrinsics.h"
#include "poly/residues.h"

namespace {

// The rows i of a that meet coefficient s of a product with an operand of length n.
inline std::size_t first_row(std::size_t s, std::size_t n)
{
    return s >= n ? s - n + 1 : 0;
}

void multiply_summed_portable(const Residue* a, std::size_t m, const Residue* b, std::size_t n, Residue* out,
                              const Modulus& mod)
{
    for (std::size_t s = 0; s < m + n - 1; ++s) {
        std::uint64_t sum = 0;
        for (std::size_t i = first_row(s, n); i <= std::min(s, m - 1); ++i)
            sum += std::uint64_t{a[i]} * b[s - i];
        out[s] = static_cast<Residue>(mod.reduce(sum));
    }
}

// Each product a_i·a_j with i < j once, doubled, and the squares a_i^2.
void square_summed_portable(const Residue* a, std::size_t n, Residue* out, const Modulus& mod)
{
    for (std::size_t s = 0; s < 2 * n - 1; ++s) {
        std::uint64_t sum = 0;
        for (std::size_t i = first_row(s, n); 2 * i < s; ++i)
            sum += std::uint64_t{a[i]} * a[s - i];
        sum *= 2;  // the whole sum fits 64 bits, so twice its half does
        if (s % 2 == 0)
            sum += std::uint64_t{a[s / 2]} * a[s / 2];
        out[s] = static_cast<Residue>(mod.reduce(sum));
    }
}

// The operand read across the rows, with `kPad` zeros on either side, so that every window of a
// block reads zeros where the product has no term. A short one goes into a buffer kept for the next
// product; a long one into its own, given back at once (its product costs far more than the
// allocation, and the memory is not held for the rest of the run).
constexpr std::size_t kPad = 16;
constexpr std::size_t kKeptPadding = std::size_t{1} << 14;

class Padded {
public:
    Padded(const Residue* b, std::size_t n)
    {
        thread_local std::vector<Residue> kept;
        std::vector<Residue>& buffer = n + 2 * kPad <= kKeptPadding ? kept : own_;
        buffer.assign(n + 2 * kPad, 0);
        std::copy(b, b + n, buffer.begin() + kPad);
        entries_ = buffer.data() + kPad;
    }
    Padded(const Padded&) = delete;
    Padded& operator=(const Padded&) = delete;
    const Residue* entries() const { return entries_; }

private:
    std::vector<Residue> own_;
    const Residue* entries_ = nullptr;
};

// Where the window of row i for the block at k starts, relative to the operand's first entry
// (up to kPad - 1 entries before it).
inline std::ptrdiff_t offset(std::size_t k, std::size_t i)
{
    return static_cast<std::ptrdiff_t>(k) - static_cast<std::ptrdiff_t>(i);
}

#ifdef SQUAREFREE_X86_INTRINSICS

// Eight coefficients a block, as four even and four odd 64-bit sums; reduced one by one.
__attribute__((target("avx2"))) void multiply_summed_avx2(const Residue* a, std::size_t m, const Residue* b,
                                                          std::size_t n, Residue* out, const Modulus& mod)
{
    const Padded padded(b, n);
    const Residue* window = padded.entries();
    const std::size_t length = m + n - 1;
    for (std::size_t k = 0; k < length; k += 8) {
        __m256i even = _mm256_setzero_si256(), odd = _mm256_setzero_si256();
        const std::size_t last = std::min(m - 1, k + 7);
        for (std::size_t i = first_row(k, n); i <= last; ++i) {
            const __m256i row = _mm256_set1_epi32(static_cast<int>(a[i]));
            const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(window + offset(k, i)));
            even = _mm256_add_epi64(even, _mm256_mul_epu32(row, x));
            odd = _mm256_add_epi64(odd, _mm256_mul_epu32(row, _mm256_srli_epi64(x, 32)));
        }
        alignas(32) std::uint64_t sums[2][4];
        _mm256_store_si256(reinterpret_cast<__m256i*>(sums[0]), even);
        _mm256_store_si256(reinterpret_cast<__m256i*>(sums[1]), odd);
        for (std::size_t j = 0; j < 8 && k + j < length; ++j)
            out[k + j] = static_cast<Residue>(mod.reduce(sums[j % 2][j / 2]));
    }
}

// The constants that reduce a 64-bit sum x = h·2^32 + l: h·(2^32 mod p) and l, each by Shoup's
// multiplication (valid for any 32-bit factor), land in [0, 2p); their sum in [0, 4p) is brought
// into [0, p) by two comparisons.
struct SumReduction {
    __m512i p, two_p, c, c_shoup, one_shoup, low_half;
};

__attribute__((target("avx512f"))) SumReduction sum_reduction(const Modulus& mod)
{
    const std::uint64_t c = (std::uint64_t{1} << 32) % mod.p;
    return {_mm512_set1_epi64(static_cast<long long>(mod.p)), _mm512_set1_epi64(static_cast<long long>(2 * mod.p)),
            _mm512_set1_epi64(static_cast<long long>(c)), _mm512_set1_epi64(static_cast<long long>((c << 32) / mod.p)),
            _mm512_set1_epi64(static_cast<long long>((std::uint64_t{1} << 32) / mod.p)),
            _mm512_set1_epi64(0xFFFFFFFFll)};
}

__attribute__((target("avx512f"))) inline __m512i reduce_sums(__m512i x, const SumReduction& r)
{
    const __m512i high = _mm512_srli_epi64(x, 32), low = _mm512_and_si512(x, r.low_half);
    const __m512i high_estimate = _mm512_srli_epi64(_mm512_mul_epu32(high, r.c_shoup), 32);
    const __m512i low_estimate = _mm512_srli_epi64(_mm512_mul_epu32(low, r.one_shoup), 32);
    __m512i y = _mm512_add_epi64(_mm512_sub_epi64(_mm512_mul_epu32(high, r.c), _mm512_mul_epu32(high_estimate, r.p)),
                                 _mm512_sub_epi64(low, _mm512_mul_epu32(low_estimate, r.p)));
    y = _mm512_min_epu64(y, _mm512_sub_epi64(y, r.two_p));
    return _mm512_min_epu64(y, _mm512_sub_epi64(y, r.p));
}

// The sixteen coefficients of a block from its even and odd sums: each reduced sum fits the low
// half of its 64-bit lane, so the odd ones shifted up interleave with the even ones in order.
__attribute__((target("avx512f"))) inline void store_block(Residue* out, std::size_t count, __m512i even, __m512i odd,
                                                           const SumReduction& r)
{
    const __m512i block = _mm512_or_si512(reduce_sums(even, r), _mm512_slli_epi64(reduce_sums(odd, r), 32));
    if (count >= 16)
        _mm512_storeu_si512(out, block);
    else
        _mm512_mask_storeu_epi32(out, static_cast<__mmask16>((1u << count) - 1), block);
}

// row·x added to the even and odd sums of a block: x holds the sixteen entries of the other operand
// that meet the block's coefficients in this row.
__attribute__((target("avx512f"))) inline void add_row(__m512i& even, __m512i& odd, __m512i row, __m512i x)
{
    even = _mm512_add_epi64(even, _mm512_mul_epu32(row, x));
    odd = _mm512_add_epi64(odd, _mm512_mul_epu32(row, _mm512_srli_epi64(x, 32)));
}

__attribute__((target("avx512f"))) void multiply_summed_avx512(const Residue* a, std::size_t m, const Residue* b,
                                                               std::size_t n, Residue* out, const Modulus& mod)
{
    const SumReduction r = sum_reduction(mod);
    const Padded padded(b, n);
    const Residue* window = padded.entries();
    const std::size_t length = m + n - 1;
    for (std::size_t k = 0; k < length; k += 16) {
        __m512i even = _mm512_setzero_si512(), odd = _mm512_setzero_si512();
        const std::size_t last = std::min(m - 1, k + 15);
        for (std::size_t i = first_row(k, n); i <= last; ++i)
            add_row(even, odd, _mm512_set1_epi32(static_cast<int>(a[i])), _mm512_loadu_si512(window + offset(k, i)));
        store_block(out + k, length - k, even, odd, r);
    }
}

// A block of coefficients s = k..k+15 takes each product a_i·a_(s-i) with i < s - i twice and the
// square with i = s - i once. The rows with 2i < k do so in every lane and are added doubled; the
// few rows with k <= 2i <= k + 15 are added through masks, twice in the lanes past 2i and once in
// lane 2i.
__attribute__((target("avx512f"))) void square_summed_avx512(const Residue* a, std::size_t n, Residue* out,
                                                             const Modulus& mod)
{
    const SumReduction r = sum_reduction(mod);
    const Padded padded(a, n);
    const Residue* window = padded.entries();
    const std::size_t length = 2 * n - 1;
    for (std::size_t k = 0; k < length; k += 16) {
        __m512i even = _mm512_setzero_si512(), odd = _mm512_setzero_si512();
        const std::size_t first = first_row(k, n), doubled_end = std::max(first, (k + 1) / 2);
        for (std::size_t i = first; i < doubled_end; ++i) {
            const __m512i row = _mm512_set1_epi32(static_cast<int>(2 * a[i]));  // below 2^32
            add_row(even, odd, row, _mm512_loadu_si512(window + offset(k, i)));
        }
        const std::size_t last = std::min(n - 1, (k + 15) / 2);
        for (std::size_t i = doubled_end; i <= last; ++i) {
            const __m512i row = _mm512_set1_epi32(static_cast<int>(a[i]));
            const __m512i x = _mm512_loadu_si512(window + offset(k, i));
            const __m512i even_products = _mm512_mul_epu32(row, x),
                          odd_products = _mm512_mul_epu32(row, _mm512_srli_epi64(x, 32));
            // Lane l of the even sums is coefficient k + 2l, of the odd ones k + 2l + 1; d = 2i - k.
            const unsigned d = static_cast<unsigned>(2 * i - k);
            const auto from = [](unsigned lane) { return static_cast<__mmask8>(lane >= 8 ? 0 : 0xFFu << lane); };
            even = _mm512_mask_add_epi64(even, from((d + 1) / 2), even, even_products);  // 2l >= d
            even = _mm512_mask_add_epi64(even, from(d / 2 + 1), even, even_products);    // 2l > d
            odd = _mm512_mask_add_epi64(odd, from(d / 2), odd, odd_products);            // 2l + 1 >= d
            odd = _mm512_mask_add_epi64(odd, from((d + 1) / 2), odd, odd_products);      // 2l + 1 > d
        }
        store_block(out + k, length - k, even, odd, r);
    }
}

#endif

}  // namespace

void residues_multiply_summed(const Residue* a, std::size_t m, const Residue* b, std::size_t n, Residue* out,
                              const Modulus& mod)
{
    if (m > n) {
        std::swap(a, b);
        std::swap(m, n);
    }
    switch (vector_unit_in_use()) {
#ifdef SQUAREFREE_X86_INTRINSICS
    case VectorUnit::avx512:
        return multiply_summed_avx512(a, m, b, n, out, mod);
    case VectorUnit::avx2:
        return multiply_summed_avx2(a, m, b, n, out, mod);
#endif
    default:
        return multiply_summed_portable(a, m, b, n, out, mod);
    }
}

void residues_square_summed(const Residue* a, std::size_t n, Residue* out, const Modulus& mod)
{
    switch (vector_unit_in_use()) {
#ifdef SQUAREFREE_X86_INTRINSICS
    case VectorUnit::avx512:
        return square_summed_avx512(a, n, out, mod);
    case VectorUnit::avx2:
        return multiply_summed_avx2(a, n, a, n, out, mod);
#endif
    default:
        return square_summed_portable(a, n, out, mod);
    }
}
