#include "transform.h"

#include <algorithm>
#include <bit>

#include "primes.h"
#include "roots.h"
#include "transform_kernels.h"

namespace {

constexpr KernelTable<TransformKernels> kTransformKernels = {
    &kPortableTransformKernels,
#ifdef SQUAREFREE_X86_UNITS
    &kAvx2TransformKernels,
    &kAvx512TransformKernels,
#else
    &kPortableTransformKernels,
    &kPortableTransformKernels,
#endif
};

// -q^-1 mod 2^32 for each transform prime: the constants of Montgomery's reduction.
constexpr std::uint32_t kMinusQInverse[3] = {minus_inverse_mod_2_32(kNttPrimes[0].q),
                                             minus_inverse_mod_2_32(kNttPrimes[1].q),
                                             minus_inverse_mod_2_32(kNttPrimes[2].q)};

}  // namespace

const TransformKernels& transform_kernels()
{
    return kernels_in_use(kTransformKernels);
}

// A length 3m first takes the pass of 3-point transforms, then three transforms of length m
// (roots.h, transform_kernels.inc); the inverse undoes them in the other order.
void forward_transform(std::size_t prime, std::uint32_t* a, std::size_t n)
{
    const TransformKernels& k = transform_kernels();
    const std::uint32_t q = kNttPrimes[prime].q;
    if (std::has_single_bit(n))
        return k.forward(a, n, roots(prime, n), q);
    const std::size_t m = n / 3;
    k.thirds_pass(a, m, thirds(prime, m).forward, q, true);
    const RootTable& t = roots(prime, m);
    for (std::size_t row = 0; row < 3; ++row)
        k.forward(a + row * m, m, t, q);
}

void inverse_transform(std::size_t prime, std::uint32_t* a, std::size_t n)
{
    const TransformKernels& k = transform_kernels();
    const std::uint32_t q = kNttPrimes[prime].q;
    if (std::has_single_bit(n))
        return k.inverse(a, n, roots(prime, n), q);
    const std::size_t m = n / 3;
    const RootTable& t = roots(prime, m);
    for (std::size_t row = 0; row < 3; ++row)
        k.inverse(a + row * m, m, t, q);
    k.thirds_pass(a, m, thirds(prime, m).inverse, q, false);
}

void undo_inverse_scale(std::size_t prime, std::uint32_t* a, std::size_t count, std::size_t n)
{
    const std::uint32_t q = kNttPrimes[prime].q;
    const std::uint32_t factor =
        std::has_single_bit(n) ? roots(prime, n).scale[std::countr_zero(n)] : thirds(prime, n / 3).scale;
    transform_kernels().scale(a, count, factor, Modulus(q).shoup(factor), q);
}

void load_for_transform(std::size_t prime, const Residue* source, std::size_t count, std::uint32_t* target,
                        std::size_t n)
{
    transform_kernels().load(source, count, target, kNttPrimes[prime].q);
    std::fill(target + count, target + n, 0);
}

void pointwise_multiply(std::size_t prime, std::uint32_t* out, const std::uint32_t* a, const std::uint32_t* b,
                        std::size_t n)
{
    transform_kernels().pointwise(out, a, b, n, kNttPrimes[prime].q, kMinusQInverse[prime]);
}

void pointwise_multiply_add(std::size_t prime, std::uint32_t* sum, const std::uint32_t* a, const std::uint32_t* b,
                            std::size_t n)
{
    transform_kernels().multiply_add(sum, a, b, n, kNttPrimes[prime].q, kMinusQInverse[prime]);
}
