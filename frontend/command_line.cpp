#include <cstdio>
#include <cstring>

#include "frontend/ending.h"
#include "frontend/frontend.h"

namespace {

const char kUsage[] =
    "Pouzitie: squarefree [--help | --version]\n"
    "\n"
    "Bezstvorcova faktorizacia polynomu s celociselnymi koeficientami nad Z alebo nad Zp.\n"
    "Program sa opyta na charakteristiku (0 alebo prvocislo p do 2147483647), precita jeden\n"
    "polynom na jednom riadku, vypise jeho bezstvorcovu faktorizaciu a pocka na klaves.\n"
    "\n"
    "Zapis polynomu: cleny ako 7, 5x, x, 3x^2, x^2 so znamienkom + alebo - medzi nimi,\n"
    "napr. x^3 + 3x^2 - 5x + 7. Koeficienty su cele cisla v 32-bitovom rozsahu, exponenty\n"
    "cele cisla od 0 do 2^30 - 1.\n"
    "\n"
    "Navratove hodnoty:\n"
    "  0  vysledok bol vypisany\n"
    "  1  nedostatok pamate, alebo exponent od 2^30 do 2^31 - 1\n"
    "  2  neopravnena operacia (pri spravnom vypocte nenastane)\n"
    "  3  nulovy polynom, alebo polynom nad Z, ktory nie je primitivny\n"
    "  4  chybna charakteristika\n"
    "  5  chybny zapis polynomu, alebo cislo mimo 32-bitoveho rozsahu\n"
    "  6  standardny vystup sa neda zapisat, alebo neznamy argument\n";

#ifndef SQUAREFREE_VERSION
#define SQUAREFREE_VERSION "unknown"
#endif

int print_and_exit(const char* text)
{
    std::fputs(text, stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : end_run(EXIT_ENVIRONMENT, stdin);
}

}  // namespace

std::optional<int> answer_arguments(int argc, const char* const* argv)
{
    if (argc < 2)
        return std::nullopt;
    const char* argument = argv[1];
    if (argc == 2 && (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0))
        return print_and_exit(kUsage);
    if (argc == 2 && std::strcmp(argument, "--version") == 0)
        return print_and_exit("squarefree " SQUAREFREE_VERSION "\n");
    if (argc > 2 && (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0 ||
                     std::strcmp(argument, "--version") == 0))
        argument = argv[2];
    std::fprintf(stderr, "squarefree: neznamy argument '%s' (pozri squarefree --help)\n", argument);
    return EXIT_ENVIRONMENT;
}
