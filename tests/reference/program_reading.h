// The program's own readers run on a byte buffer, their outcome in the reference's terms, so that
// the tests and the differential fuzzer can set the two readings side by side.
#pragma once

#include <string_view>

#include "reference/reference_reader.h"

// read_characteristic, then read_polynomial with the characteristic read, on `input` as their
// stream. Their prompts go to standard output as in a run.
ReaderOutcome program_read(std::string_view input);
