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

    // Pass j works on u = a_j a_(j+1)^2 ...; its quotient by gcd(u, u') is a_j a_(j+1) ..., and
    // the previous quotient divided by this one is the factor of multiplicity j - 1.
    Poly u = std::move(f);
    Poly previous_quotient;
    bool first_pass = true;
    while (!poly_is_one(u)) {
        Poly g = poly_gcd_int(u, poly_derivative(u, 0));
        Poly q = poly_quotient(u, 0, g);
        if (!first_pass)
            factor_list_append(result, poly_quotient(previous_quotient, 0, q));
        previous_quotient = std::move(q);
        u = std::move(g);
        first_pass = false;
    }
    factor_list_append(result, std::move(previous_quotient));

    for (const Factor& factor : result.factors)
        if (!poly_is_primitive(factor.poly))
            not_primitive();
    return result;
}
