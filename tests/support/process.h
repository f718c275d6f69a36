// Runs the real program: bytes on standard input, everything it prints and how it ended.
#pragma once

#include <string>
#include <vector>

struct RunOptions {
    bool close_stdin = true;          // end of input after the bytes; otherwise input stays open
    int timeout_ms = 60000;           // the program still running then is reported and killed
    long stack_limit = -1;            // bytes, as ulimit -s; -1 leaves it
    long address_space_limit = -1;    // bytes, as ulimit -v; -1 leaves it
    std::vector<std::string> arguments;  // the program's command-line arguments
    bool output_to_full_device = false;  // standard output on /dev/full, where every write fails
};

struct RunResult {
    std::string out;
    std::string err;
    int exit_code = -1;   // the exit status, -1 when a signal ended the program
    int signal = 0;       // the signal that ended it, 0 when it exited
    bool timed_out = false;
};

RunResult run_program(const std::string& input, const RunOptions& options = {});

// The program's path, fixed by the build.
const char* program_path();

// The bytes of tests/fixtures/<name>; empty when it cannot be read.
std::string read_fixture(const std::string& name);
