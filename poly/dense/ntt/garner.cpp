// The constants of Garner's reconstruction; the reconstruction itself is a kernel of each vector
// unit (transform_kernels.inc).
#include "primes.h"
#include "transform.h"
#include "transform_kernels.h"

namespace {

GarnerConstants garner_constants(const Modulus& mod)
{
    constexpr std::uint32_t q0 = kNttPrimes[0].q, q1 = kNttPrimes[1].q, q2 = kNttPrimes[2].q;
    static const GarnerConstants of_primes = [] {
        const Modulus m1(q1), m2(q2);
        GarnerConstants k{};
        k.q1_one = m1.shoup(1);
        k.c1 = power_mod(q0, q1 - 2, q1);
        k.c1_shoup = m1.shoup(k.c1);
        k.q2_one = m2.shoup(1);
        k.q0_mod_q2 = q0 % q2;
        k.q0_mod_q2_shoup = m2.shoup(k.q0_mod_q2);
        k.c2 = power_mod(static_cast<std::uint64_t>(k.q0_mod_q2) * (q1 % q2) % q2, q2 - 2, q2);
        k.c2_shoup = m2.shoup(k.c2);
        return k;
    }();
    GarnerConstants k = of_primes;
    k.p = static_cast<std::uint32_t>(mod.p);
    k.p_one = mod.shoup(1);
    k.q0_mod_p = static_cast<std::uint32_t>(mod.reduce(q0));
    k.q0_mod_p_shoup = mod.shoup(k.q0_mod_p);
    k.q0q1_mod_p = static_cast<std::uint32_t>(mod.mul(mod.reduce(q0), mod.reduce(q1)));
    k.q0q1_mod_p_shoup = mod.shoup(k.q0q1_mod_p);
    return k;
}

}  // namespace

void garner_combine(const std::uint32_t* const residues[3], std::size_t primes, std::size_t length, Residue* out,
                    const Modulus& mod)
{
    transform_kernels().garner(residues, primes, length, garner_constants(mod), out);
}
