#include "frontend/fatal.h"

#include <cstdlib>

const char* fatal_message(ExitCode code)
{
    switch (code) {
    case EXIT_NO_MEMORY: return "Nedostatok pamate! Program bude ukonceny.\n";
    case EXIT_INVALID_OPERATION: return "Nespravny vstup, neopravnena operacia! Program bude ukonceny.\n";
    case EXIT_CANNOT_COMPUTE: return "Program nedokaze spocitat vysledok! Program bude ukonceny.\n";
    case EXIT_BAD_CHARACTERISTIC: return "Chyba pri zadani charakteristiky telesa! Program bude ukonceny.\n";
    case EXIT_BAD_POLYNOMIAL: return "Chyba pri zadani polynomu! Program bude ukonceny.\n";
    }
    return "";
}

int fatal_pause_reads(ExitCode code)
{
    return code == EXIT_BAD_POLYNOMIAL ? 3 : 2;
}

void fatal_exit(ExitCode code, std::FILE* in)
{
    std::fputs(fatal_message(code), stdout);
    std::fflush(stdout);
    for (int i = 0; i < fatal_pause_reads(code); ++i)
        (void)std::getc(in);
#ifdef SQUAREFREE_FATAL_THROWS
    throw FatalExit{code};
#else
    std::exit(code);
#endif
}
