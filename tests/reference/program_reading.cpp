#include "reference/program_reading.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "frontend/ending.h"
#include "frontend/frontend.h"

namespace {

struct CloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

ReaderOutcome program_read(std::string_view input)
{
    // fmemopen refuses an empty buffer: an empty input is one byte that is read at once and not
    // counted.
    std::string text(input);
    text.push_back('\0');
    const long skipped = input.empty() ? 1 : 0;
    const std::unique_ptr<std::FILE, CloseFile> in(
        fmemopen(text.data(), input.size() + static_cast<std::size_t>(skipped), "r"));
    if (in == nullptr)
        std::abort();
    if (skipped != 0)
        (void)std::getc(in.get());

    ReaderOutcome outcome;
    try {
        outcome.characteristic = read_characteristic(in.get());
        const Poly f = read_polynomial(in.get(), outcome.characteristic);
        for (const Term& t : f.terms)
            outcome.terms.push_back(ReadTerm{t.exponent, t.coefficient});
    } catch (const RunEnding& ending) {
        outcome.status = ending.code;
    }
    outcome.consumed = static_cast<std::size_t>(std::ftell(in.get()) - skipped);
    return outcome;
}
