#include "poly/dense.h"

// Shoup's multiplication by a fixed residue: with w' = floor(w·2^32 / p), the quotient estimate
// floor(w'·x / 2^32) is floor(w·x / p) or one less, so w·x - estimate·p lies in [0, 2p) and can be
// computed in 32-bit arithmetic (p < 2^31). Every lane is independent and free of 128-bit
// products, so the loop vectorizes; it is compiled for AVX2 too and the processor picks at run time.
__attribute__((target_clones("avx2", "default")))
void residues_add_multiple(Residue* window, const Residue* b, std::size_t n, Residue w, std::uint32_t w_shoup,
                           std::uint32_t p)
{
    for (std::size_t t = 0; t < n; ++t) {
        const std::uint32_t x = b[t];
        const std::uint32_t estimate = static_cast<std::uint32_t>((static_cast<std::uint64_t>(w_shoup) * x) >> 32);
        std::uint32_t product = w * x - estimate * p;
        product = product >= p ? product - p : product;
        const std::uint32_t sum = window[t] + product;
        window[t] = sum >= p ? sum - p : sum;
    }
}
