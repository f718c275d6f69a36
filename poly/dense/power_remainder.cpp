#include <cassert>

#include "dense/dense.h"

Dense dense_power_of_x_mod(std::uint64_t e, const DenseModulus& g, const Modulus& mod)
{
    assert(dense_is_trimmed(g.g) && !g.g.empty());
    if (g.g.size() == 1)
        return {};  // everything is a multiple of a constant
    // Left to right through the bits of e: square, and multiply by x where the bit is set. Every
    // remainder has degree below deg g, so its square has degree below 2·deg g - 1 and its product
    // with x at most deg g.
    Dense result{1};
    for (int bit = 63; bit >= 0 && !result.empty(); --bit) {
        if (result != Dense{1})
            result = dense_remainder(dense_multiply(result, result, mod), g, mod);
        if ((e >> bit) & 1) {
            result.insert(result.begin(), 0);  // times x
            result = dense_remainder(result, g, mod);
        }
    }
    return result;
}
