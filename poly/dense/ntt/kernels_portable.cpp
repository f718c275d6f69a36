// The portable unit's transform kernels: every level one butterfly at a time.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "primes.h"
#include "residue/lanes_portable.h"
#include "transform_kernels.h"

namespace unit_portable::ntt {

namespace {

constexpr std::size_t kShortestTransform = 1;
// One lane: the common levels go down to half-length one.
inline void forward_short_levels(std::uint32_t*, std::size_t, const RootTable&, std::uint32_t) {}
inline void inverse_short_levels(std::uint32_t*, std::size_t, const RootTable&, std::uint32_t) {}

}  // namespace

#include "transform_kernels.inc"

}  // namespace unit_portable::ntt

const TransformKernels kPortableTransformKernels = unit_portable::ntt::kKernels;
