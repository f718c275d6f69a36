#include "frontend/ending.h"

namespace {

bool output_written()
{
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

}  // namespace

const char* ending_message(ExitCode code)
{
    switch (code) {
    case EXIT_NO_MEMORY: return "Nedostatok pamate! Program bude ukonceny.\n";
    case EXIT_INVALID_OPERATION: return "Nespravny vstup, neopravnena operacia! Program bude ukonceny.\n";
    case EXIT_CANNOT_COMPUTE: return "Program nedokaze spocitat vysledok! Program bude ukonceny.\n";
    case EXIT_BAD_CHARACTERISTIC: return "Chyba pri zadani charakteristiky telesa! Program bude ukonceny.\n";
    case EXIT_BAD_POLYNOMIAL: return "Chyba pri zadani polynomu! Program bude ukonceny.\n";
    case EXIT_ENVIRONMENT: return "Standardny vystup sa neda zapisat! Program bude ukonceny.\n";
    }
    return "";
}

int ending_pause_reads(ExitCode code)
{
    switch (code) {
    case EXIT_BAD_POLYNOMIAL: return 3;
    case EXIT_ENVIRONMENT: return 0;  // nobody sees the output: nothing to wait for
    default: return 2;
    }
}

int end_run(ExitCode code, std::FILE* in)
{
    if (code != EXIT_ENVIRONMENT) {
        std::fputs(ending_message(code), stdout);
        if (!output_written())
            code = EXIT_ENVIRONMENT;
    }
    if (code == EXIT_ENVIRONMENT) {
        std::fputs(ending_message(code), stderr);
        return code;
    }
    for (int i = 0; i < ending_pause_reads(code); ++i)
        (void)std::getc(in);
    return code;
}

void flush_output()
{
    if (!output_written())
        throw RunEnding{EXIT_ENVIRONMENT};
}
