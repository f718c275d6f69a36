// The portable unit's kernels: plain loops.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "kernel_table.h"
#include "padded.h"
#include "residue/lanes_portable.h"

namespace unit_portable {

#include "row_kernels.inc"

namespace {

void multiply_summed(const Residue* a, std::size_t m, const Residue* b, std::size_t n, Residue* out, const Modulus& mod)
{
    for (std::size_t s = 0; s < m + n - 1; ++s) {
        std::uint64_t sum = 0;
        for (std::size_t i = first_row(s, n); i <= std::min(s, m - 1); ++i)
            sum += std::uint64_t{a[i]} * b[s - i];
        out[s] = static_cast<Residue>(mod.reduce(sum));
    }
}

// Each product a_i·a_j with i < j once, doubled, and the squares a_i^2.
void square_summed(const Residue* a, std::size_t n, Residue* out, const Modulus& mod)
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

}  // namespace
}  // namespace unit_portable

const ResidueKernels kPortableResidueKernels = {unit_portable::add_multiple, unit_portable::add_two_multiples, unit_portable::scale_add_multiple,
                                                unit_portable::multiply_summed, unit_portable::square_summed};
