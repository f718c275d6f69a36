// How a run ends early: a fixed message, a short pause, a distinct exit status.
#pragma once

#include <cstdio>

enum ExitCode : int {
    EXIT_NO_MEMORY = 1,
    EXIT_INVALID_OPERATION = 2,
    EXIT_CANNOT_COMPUTE = 3,
    EXIT_BAD_CHARACTERISTIC = 4,
    EXIT_BAD_POLYNOMIAL = 5,
    EXIT_ENVIRONMENT = 6,  // standard output cannot be written, or the command line is not understood
};

// The message that a code prints, line feed included.
const char* ending_message(ExitCode code);

// How many single characters the pause after the message reads.
int ending_pause_reads(ExitCode code);

// Raised by the front end's own steps (a reader that meets a bad line, a write that fails);
// the dialogue ends with its code.
struct RunEnding {
    ExitCode code;
};

// Ends the run: the code's message on standard output (standard error for EXIT_ENVIRONMENT), the
// pause characters read from `in` (characters and end of input alike are ignored), and the code
// returned as the exit status. When standard output cannot be written the status is
// EXIT_ENVIRONMENT.
int end_run(ExitCode code, std::FILE* in);

// Flushes standard output; a write that failed raises RunEnding{EXIT_ENVIRONMENT}.
void flush_output();
