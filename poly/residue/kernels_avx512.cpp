// The AVX-512 unit's kernels: the rows on sixteen lanes, and plain products whose coefficients are
// summed in 64 bits and reduced once. A row of Shoup's multiplications reduces every product as it
// goes: four multiplications per sixteen coefficient products, and each row re-reads what the row
// before wrote. Here a block of sixteen coefficients of the product is summed in registers over
// every row that meets it: two 32x32-bit multiplications per sixteen products (the even lanes, then
// the odd ones), one reduction per coefficient at the end. The sums stay exact while they fit 64
// bits (residues_sums_fit).
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "kernel_table.h"
#include "padded.h"
#include "residue/lanes_avx512.h"
#include "residue/lanes_portable.h"

#ifdef SQUAREFREE_X86_UNITS
SQUAREFREE_TARGET_AVX512
namespace unit_avx512 {

#include "row_kernels.inc"

namespace {

// The constants that reduce a 64-bit sum x = h·2^32 + l: h·(2^32 mod p) and l, each by Shoup's
// multiplication (valid for any 32-bit factor), land in [0, 2p); their sum in [0, 4p) is brought
// into [0, p) by two comparisons.
struct SumReduction {
    __m512i p, two_p, c, c_shoup, one_shoup, low_half;
};

SumReduction sum_reduction(const Modulus& mod)
{
    const std::uint64_t c = (std::uint64_t{1} << 32) % mod.p;
    return {_mm512_set1_epi64(static_cast<long long>(mod.p)), _mm512_set1_epi64(static_cast<long long>(2 * mod.p)),
            _mm512_set1_epi64(static_cast<long long>(c)), _mm512_set1_epi64(static_cast<long long>((c << 32) / mod.p)),
            _mm512_set1_epi64(static_cast<long long>((std::uint64_t{1} << 32) / mod.p)),
            _mm512_set1_epi64(0xFFFFFFFFll)};
}

inline __m512i reduce_sums(__m512i x, const SumReduction& r)
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
inline void store_block(Residue* out, std::size_t count, __m512i even, __m512i odd, const SumReduction& r)
{
    const __m512i block = _mm512_or_si512(reduce_sums(even, r), _mm512_slli_epi64(reduce_sums(odd, r), 32));
    if (count >= 16)
        Lanes::store(out, block);
    else
        Lanes::store_first(out, count, block);
}

// row·x added to the even and odd sums of a block: x holds the sixteen entries of the other operand
// that meet the block's coefficients in this row.
inline void add_row(__m512i& even, __m512i& odd, __m512i row, __m512i x)
{
    even = _mm512_add_epi64(even, _mm512_mul_epu32(row, x));
    odd = _mm512_add_epi64(odd, _mm512_mul_epu32(row, _mm512_srli_epi64(x, 32)));
}

void multiply_summed(const Residue* a, std::size_t m, const Residue* b, std::size_t n, Residue* out, const Modulus& mod)
{
    const SumReduction r = sum_reduction(mod);
    const PaddedOperand padded(b, n);
    const Residue* window = padded.entries();
    const std::size_t length = m + n - 1;
    for (std::size_t k = 0; k < length; k += 16) {
        __m512i even = _mm512_setzero_si512(), odd = _mm512_setzero_si512();
        const std::size_t last = std::min(m - 1, k + 15);
        for (std::size_t i = first_row(k, n); i <= last; ++i)
            add_row(even, odd, Lanes::broadcast(a[i]), Lanes::load(window + window_offset(k, i)));
        store_block(out + k, length - k, even, odd, r);
    }
}

// A block of coefficients s = k..k+15 takes each product a_i·a_(s-i) with i < s - i twice and the
// square with i = s - i once. The rows with 2i < k do so in every lane and are added doubled; the
// few rows with k <= 2i <= k + 15 are added through masks, twice in the lanes past 2i and once in
// lane 2i.
void square_summed(const Residue* a, std::size_t n, Residue* out, const Modulus& mod)
{
    const SumReduction r = sum_reduction(mod);
    const PaddedOperand padded(a, n);
    const Residue* window = padded.entries();
    const std::size_t length = 2 * n - 1;
    for (std::size_t k = 0; k < length; k += 16) {
        __m512i even = _mm512_setzero_si512(), odd = _mm512_setzero_si512();
        const std::size_t first = first_row(k, n), doubled_end = std::max(first, (k + 1) / 2);
        for (std::size_t i = first; i < doubled_end; ++i)
            add_row(even, odd, Lanes::broadcast(2 * a[i]), Lanes::load(window + window_offset(k, i)));  // below 2^32
        const std::size_t last = std::min(n - 1, (k + 15) / 2);
        for (std::size_t i = doubled_end; i <= last; ++i) {
            const __m512i row = Lanes::broadcast(a[i]);
            const __m512i x = Lanes::load(window + window_offset(k, i));
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

}  // namespace
}  // namespace unit_avx512
SQUAREFREE_TARGET_END

const ResidueKernels kAvx512ResidueKernels = {unit_avx512::add_multiple, unit_avx512::add_two_multiples, unit_avx512::scale_add_multiple,
                                              unit_avx512::multiply_summed, unit_avx512::square_summed};
#endif
