// The AVX2 unit's kernels: the rows on eight lanes, and plain products summed in 64-bit lanes.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "kernel_table.h"
#include "padded.h"
#include "residue/lanes_avx2.h"
#include "residue/lanes_portable.h"

#ifdef SQUAREFREE_X86_UNITS
SQUAREFREE_TARGET_AVX2
namespace unit_avx2 {

#include "row_kernels.inc"

namespace {

// Eight coefficients a block, summed over every row that meets them as four even and four odd 64-bit
// sums, then reduced one by one.
void multiply_summed(const Residue* a, std::size_t m, const Residue* b, std::size_t n, Residue* out, const Modulus& mod)
{
    const PaddedOperand padded(b, n);
    const Residue* window = padded.entries();
    const std::size_t length = m + n - 1;
    for (std::size_t k = 0; k < length; k += 8) {
        __m256i even = _mm256_setzero_si256(), odd = _mm256_setzero_si256();
        const std::size_t last = std::min(m - 1, k + 7);
        for (std::size_t i = first_row(k, n); i <= last; ++i) {
            const __m256i row = Lanes::broadcast(a[i]);
            const __m256i x = Lanes::load(window + window_offset(k, i));
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

// A square is taken as a product of a with itself.
void square_summed(const Residue* a, std::size_t n, Residue* out, const Modulus& mod)
{
    multiply_summed(a, n, a, n, out, mod);
}

}  // namespace
}  // namespace unit_avx2
SQUAREFREE_TARGET_END

const ResidueKernels kAvx2ResidueKernels = {unit_avx2::add_multiple, unit_avx2::add_two_multiples, unit_avx2::scale_add_multiple,
                                            unit_avx2::multiply_summed, unit_avx2::square_summed};
#endif
