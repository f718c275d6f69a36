#include "residue/kernels.h"

#include <utility>

#include "kernel_table.h"

namespace {

constexpr KernelTable<ResidueKernels> kResidueKernels = {
    &kPortableResidueKernels,
#ifdef SQUAREFREE_X86_UNITS
    &kAvx2ResidueKernels,
    &kAvx512ResidueKernels,
#else
    &kPortableResidueKernels,
    &kPortableResidueKernels,
#endif
};

const ResidueKernels& kernels()
{
    return kernels_in_use(kResidueKernels);
}

}  // namespace

void residues_add_multiple(Residue* window, const Residue* b, std::size_t n, Residue w, std::uint32_t w_shoup,
                           std::uint32_t p)
{
    kernels().add_multiple(window, b, n, w, w_shoup, p);
}

void residues_add_two_multiples(Residue* window, const Residue* b, std::size_t n, Residue w0, std::uint32_t w0_shoup,
                                Residue w1, std::uint32_t w1_shoup, std::uint32_t p)
{
    kernels().add_two_multiples(window, b, n, w0, w0_shoup, w1, w1_shoup, p);
}

void residues_scale_add_multiple(Residue* window, const Residue* b, std::size_t n, Residue s, std::uint32_t s_shoup,
                                 Residue w, std::uint32_t w_shoup, std::uint32_t p)
{
    kernels().scale_add_multiple(window, b, n, s, s_shoup, w, w_shoup, p);
}

void residues_multiply_summed(const Residue* a, std::size_t m, const Residue* b, std::size_t n, Residue* out,
                              const Modulus& mod)
{
    if (m > n) {
        std::swap(a, b);
        std::swap(m, n);
    }
    kernels().multiply_summed(a, m, b, n, out, mod);
}

void residues_square_summed(const Residue* a, std::size_t n, Residue* out, const Modulus& mod)
{
    kernels().square_summed(a, n, out, mod);
}
