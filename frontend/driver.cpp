#include <cstdio>
#include <utility>

#include "frontend/frontend.h"
#include "squarefree/squarefree.h"

int run_dialogue(std::FILE* in)
{
    const std::int64_t p = read_characteristic(in);
    Poly input = read_polynomial(in, p);
    const Poly echo = poly_copy(input);  // the factorization takes the input over
    FactorList list;
    if (p == 0)
        list = squarefree_int(std::move(input));
    else
        list = squarefree_mod(p, std::move(input));
    print_factorization(list, echo);
    std::fflush(stdout);
    (void)std::getc(in);  // the end-of-run pause
    return 0;
}
