#include <cstdio>
#include <numeric>

#include "frontend/fatal.h"
#include "intgcd/intgcd.h"
#include "squarefree/squarefree.h"

namespace {

[[noreturn]] void not_primitive()
{
    std::fputs("Polynomy nie su primitivne nad Q, cize nemoze tvorit bezstvorcovu faktorizaciu nad Z. \n", stdout);
    fatal_exit(EXIT_CANNOT_COMPUTE);
}

}  // namespace

bool poly_is_primitive(const Poly& a)
{
    std::uint64_t g = 0;
    for (const Term& t : a.terms) {
        const std::uint64_t magnitude =
            t.coefficient < 0 ? 0 - static_cast<std::uint64_t>(t.coefficient) : static_cast<std::uint64_t>(t.coefficient);
        g = std::gcd(g, magnitude);
    }
    return g == 1;
}

FactorList squarefree_int(Poly f)
{
    FactorList result;
    if (poly_is_constant(f)) {
        factor_list_append(result, std::move(f));
        return result;
    }
    if (poly_is_zero(f))
        fatal_exit(EXIT_CANNOT_COMPUTE);
    // A common divisor of the coefficients survives every gcd, so the passes below would never
    // reach the constant one: such input is refused before any arithmetic.
    if (!poly_is_primitive(f))
        not_primitive();

    // Yun's arrangement of the repeated gcd with the derivative. With f = s·a_1·a_2^2⋯a_k^k
    // (s the sign, a_j primitive with positive leads): g = gcd(f, f') = a_2·a_3^2⋯, b = f / g =
    // s·a_1⋯a_k, and d = f' / g - b' = b·(a_1'/a_1 + 2a_2'/a_2 + ⋯) - b·(a_1'/a_1 + a_2'/a_2 + ⋯).
    // Then gcd(b, d) = a_1; dividing it out of b and d and subtracting the derivative again exposes
    // a_2, and so on. After the full-degree gcd every gcd is bounded by the degree of b, so a high
    // multiplicity costs one cheap step per unit instead of one full gcd.
    const Poly derivative = poly_derivative(f, 0);
    const Poly g = poly_gcd_int(f, derivative);
    Poly b = poly_quotient(f, 0, g);
    Poly d = poly_subtract(poly_quotient(derivative, 0, g), poly_derivative(b, 0));
    while (!poly_is_constant(b)) {
        Poly a = poly_gcd_int(b, d);
        b = poly_quotient(b, 0, a);
        d = poly_subtract(poly_quotient(d, 0, a), poly_derivative(b, 0));
        factor_list_append(result, std::move(a));
    }
    // b is now the sign s; it belongs to position 1.
    if (poly_lead(b) < 0) {
        if (!result.factors.empty() && result.factors.front().multiplicity == 1)
            result.factors.front().poly = poly_multiply(result.factors.front().poly, 0, b);
        else
            result.factors.insert(result.factors.begin(), Factor{1, std::move(b)});
    }

    for (const Factor& factor : result.factors)
        if (!poly_is_primitive(factor.poly))
            not_primitive();
    return result;
}
