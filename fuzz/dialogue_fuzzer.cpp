// Any bytes on standard input: the dialogue ends with the result or with one of its five endings,
// never with a crash, a sanitizer report or a hang.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "frontend/fatal.h"
#include "frontend/frontend.h"

namespace {

// The cost of a run grows with the degree; inputs whose exponents reach the limit below are
// skipped so that the fuzzer spends its time on the grammar and the arithmetic, not on size.
// Large degrees have end-to-end tests of their own.
constexpr long kMaxExponent = 2000;

// An exponent takes every digit after its term's first '^' up to the sign or line feed that commits
// the term ('x^5x22' has the exponent 522, and so has 'x^5 x^22').
bool too_large(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '^')
            continue;
        long exponent = 0;
        for (std::size_t j = i + 1; j < text.size(); ++j) {
            const char c = text[j];
            if (c == '+' || c == '-' || c == '\n')
                break;
            if (c >= '0' && c <= '9')
                exponent = exponent * 10 + (c - '0');
            if (exponent >= kMaxExponent)
                return true;
        }
    }
    return false;
}

void out_of_memory()
{
    fatal_exit(EXIT_NO_MEMORY);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The dialogue's prompts go nowhere, and the pauses of the arithmetic's endings read nothing.
    (void)std::freopen("/dev/null", "w", stdout);
    (void)std::freopen("/dev/null", "r", stdin);
    std::set_new_handler(out_of_memory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    if (too_large(text))
        return 0;
    text.push_back('\0');  // fmemopen refuses an empty buffer; the extra byte is not part of the input
    std::FILE* in = fmemopen(text.data(), size == 0 ? 1 : size, "r");
    if (in == nullptr)
        return 0;
    if (size == 0)
        (void)std::getc(in);  // consume the placeholder byte: the input is empty
    try {
        if (run_dialogue(in) != 0)
            std::abort();
    } catch (const FatalExit& ending) {
        if (ending.code < EXIT_NO_MEMORY || ending.code > EXIT_BAD_POLYNOMIAL)
            std::abort();
    }
    std::fclose(in);
    return 0;
}
