#include "poly/dense_mod.h"

Dense dense_power_of_x_mod(std::uint64_t e, const Dense& g, const Modulus& mod)
{
    // Left to right through the bits of e: square, and multiply by x where the bit is set.
    Dense result{1};
    dense_divide(result, g, mod, nullptr, &result);  // 1 mod g: zero when g is a constant
    for (int bit = 63; bit >= 0; --bit) {
        if (!result.empty() && result != Dense{1}) {
            Dense square = dense_multiply(result, result, mod);
            dense_divide(square, g, mod, nullptr, &result);
        }
        if ((e >> bit) & 1) {
            result.insert(result.begin(), 0);  // times x
            dense_divide(Dense(result), g, mod, nullptr, &result);
        }
    }
    return result;
}

Dense dense_remainder_of_sparse(const Poly& a, const Dense& g, const Modulus& mod)
{
    // The terms in ascending order: x^e_i mod g from x^e_(i-1) mod g times x^(e_i - e_(i-1)) mod g.
    Dense sum, power{1};
    std::uint64_t reached = 0;
    for (const Term& t : a.terms) {
        const std::uint64_t e = static_cast<std::uint64_t>(t.exponent);
        Dense step = dense_power_of_x_mod(e - reached, g, mod);
        dense_divide(dense_multiply(power, step, mod), g, mod, nullptr, &power);
        reached = e;
        const Residue c = static_cast<Residue>(coef_reduce(t.coefficient, static_cast<std::int64_t>(mod.p)));
        Dense scaled(power.size());
        for (std::size_t i = 0; i < power.size(); ++i)
            scaled[i] = static_cast<Residue>(mod.mul(power[i], c));
        sum = dense_add(sum, scaled, mod);
    }
    return sum;
}
