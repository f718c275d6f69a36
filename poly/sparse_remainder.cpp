#include "sparse.h"

Dense remainder_of_sparse(const Poly& a, const Dense& g, const Modulus& mod)
{
    // The terms in ascending order: x^e_i mod g from x^e_(i-1) mod g times x^(e_i - e_(i-1)) mod g,
    // every remainder by the same g and its kept inverse.
    const DenseModulus kept = dense_modulus(g, mod);
    Dense sum, power{1};
    std::uint64_t reached = 0;
    for (const Term& t : a.terms) {
        const std::uint64_t e = static_cast<std::uint64_t>(t.exponent);
        power = dense_remainder(dense_multiply(power, dense_power_of_x_mod(e - reached, kept, mod), mod), kept, mod);
        reached = e;
        const Residue c = static_cast<Residue>(coef_reduce(t.coefficient, static_cast<std::int64_t>(mod.p)));
        sum = dense_add(sum, dense_scale(power, c, mod), mod);
    }
    return sum;
}
