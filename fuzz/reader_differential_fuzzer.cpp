// Any bytes on standard input, read by the program's two readers and by the reference reading of
// the notation's rules (tests/reference): both must end the same way (the status, the
// characteristic, the terms read) after the same number of bytes, which is what the pause after
// an ending goes on from.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "reference/program_reading.h"
#include "reference/reference_reader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The readers' prompts go nowhere.
    (void)std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const ReaderOutcome program = program_read(input);
    const ReaderOutcome reference = reference_read(input);
    if (program != reference) {
        std::fprintf(stderr, "The readers differ.\n  program:   %s\n  reference: %s\n", describe(program).c_str(),
                     describe(reference).c_str());
        std::abort();
    }
    return 0;
}
