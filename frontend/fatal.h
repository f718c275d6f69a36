// The one way a run ends early: a fixed message, a short pause, a distinct exit status.
#pragma once

#include <cstdio>

enum ExitCode : int {
    EXIT_NO_MEMORY = 1,
    EXIT_INVALID_OPERATION = 2,
    EXIT_CANNOT_COMPUTE = 3,
    EXIT_BAD_CHARACTERISTIC = 4,
    EXIT_BAD_POLYNOMIAL = 5,
};

// The message that a code prints, line feed included.
const char* fatal_message(ExitCode code);

// How many single characters the pause after the message reads.
int fatal_pause_reads(ExitCode code);

// Prints the code's message on standard output, flushes it, reads the pause characters from `in`
// (characters and end of input alike are ignored) and ends the process with the code as status.
[[noreturn]] void fatal_exit(ExitCode code, std::FILE* in = stdin);

#ifdef SQUAREFREE_FATAL_THROWS
// In the fuzzing build the run ends by unwinding to the harness instead of ending the process.
struct FatalExit {
    ExitCode code;
};
#endif
