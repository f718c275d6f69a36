#include <cinttypes>
#include <cstdio>

#include "frontend/frontend.h"

namespace {

// One term as "coefficient x^exponent ", with "+ " before a positive coefficient that is not the
// first.
void print_term(bool first, bool positive, const char* coefficient, Exponent exponent)
{
    if (!first && positive)
        std::fputs("+ ", stdout);
    std::printf("%s x^%" PRId64 " ", coefficient, exponent);
}

void print_terms(const Poly& f)
{
    char digits[24];
    bool first = true;
    for (const Term& t : f.terms) {
        std::snprintf(digits, sizeof digits, "%" PRId64, t.coefficient);
        print_term(first, t.coefficient > 0, digits, t.exponent);
        first = false;
    }
}

void print_terms(const DecimalPoly& f)
{
    bool first = true;
    for (const DecimalTerm& t : f.terms) {
        print_term(first, t.coefficient[0] != '-', t.coefficient.c_str(), t.exponent);
        first = false;
    }
}

template <typename P>
void print_list(const FactorListOf<P>& list, const Poly& input)
{
    std::fputs("\nBezstvorcova faktorizacia zadaneho polynomu: \n", stdout);
    print_terms(input);
    std::fputs("= ", stdout);
    bool printed = false;
    for (const FactorOf<P>& factor : list.factors) {
        if (printed)
            std::fputs("* ", stdout);
        std::fputs("(", stdout);
        print_terms(factor.poly);
        std::printf(")^%" PRId64 " ", factor.multiplicity);
        printed = true;
    }
}

}  // namespace

void print_factorization(const FactorList& list, const Poly& input)
{
    print_list(list, input);
}

void print_factorization(const IntFactorList& list, const Poly& input)
{
    print_list(list, input);
}
