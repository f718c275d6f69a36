#include <cinttypes>
#include <cstdio>

#include "frontend/fatal.h"
#include "frontend/frontend.h"

namespace {

void print_terms(const Poly& f)
{
    bool first = true;
    for (const Term& t : f.terms) {
        if (!first && t.coefficient > 0)
            std::fputs("+ ", stdout);
        std::printf("%" PRId64 " x^%" PRId64 " ", t.coefficient, t.exponent);
        first = false;
    }
}

}  // namespace

void print_factorization(const FactorList& list, const Poly& input)
{
    if (list.length == 0)
        fatal_exit(EXIT_CANNOT_COMPUTE);
    std::fputs("\nBezstvorcova faktorizacia zadaneho polynomu: \n", stdout);
    print_terms(input);
    std::fputs("= ", stdout);
    bool printed = false;
    for (const Factor& factor : list.factors) {
        if (poly_is_one(factor.poly))
            continue;
        if (printed)
            std::fputs("* ", stdout);
        std::fputs("(", stdout);
        print_terms(factor.poly);
        std::printf(")^%" PRId64 " ", factor.multiplicity);
        printed = true;
    }
}
