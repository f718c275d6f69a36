// A harness that crashes on one marker input: the test script runs its fuzzing stage on it once to
// see that a finding fails the stage.
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const char marker[] = "planted crash";
    if (size >= sizeof marker - 1 && std::memcmp(data, marker, sizeof marker - 1) == 0)
        std::abort();
    return 0;
}
