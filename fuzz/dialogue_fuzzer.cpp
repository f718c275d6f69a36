// Any bytes on standard input: the dialogue ends with the result or with one of its endings,
// never with a crash, a sanitizer report or a hang.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frontend/ending.h"
#include "frontend/frontend.h"

namespace {

// The cost of a run grows with the degree; inputs that the reader itself reads as a polynomial of
// higher degree are skipped so that the fuzzer spends its time on the grammar and the arithmetic,
// not on size. Large degrees have end-to-end tests of their own.
constexpr Exponent kMaxDegree = 2000;

// The input as a stream; fmemopen refuses an empty buffer, so `text` keeps one byte beyond the
// input, which is consumed at once when the input is empty.
std::FILE* open_input(std::string& text, std::size_t size)
{
    std::FILE* in = fmemopen(text.data(), size == 0 ? 1 : size, "r");
    if (in != nullptr && size == 0)
        (void)std::getc(in);
    return in;
}

bool too_large(std::string& text, std::size_t size)
{
    std::FILE* in = open_input(text, size);
    if (in == nullptr)
        return true;
    bool large = false;
    try {
        const std::int64_t p = read_characteristic(in);
        large = poly_degree(read_polynomial(in, p)) > kMaxDegree;
    } catch (const RunEnding&) {
        // the dialogue ends in the reader: cheap whatever the input
    }
    std::fclose(in);
    return large;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The dialogue's prompts go nowhere.
    (void)std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text.push_back('\0');
    if (too_large(text, size))
        return 0;
    std::FILE* in = open_input(text, size);
    if (in == nullptr)
        return 0;
    const int status = run_dialogue(in);
    if (status < 0 || status > EXIT_BAD_POLYNOMIAL)
        std::abort();
    std::fclose(in);
    return 0;
}
