#include <cstdio>
#include <cstdlib>
#include <new>
#include <utility>

#include "frontend/ending.h"
#include "frontend/frontend.h"
#include "intgcd/library_hooks.h"
#include "poly/failure.h"
#include "squarefree/squarefree.h"

namespace {

const char kNotPrimitive[] = "Polynomy nie su primitivne nad Q, cize nemoze tvorit bezstvorcovu faktorizaciu nad Z. \n";

// The dialogue's input, for the one ending that cannot return to run_dialogue.
std::FILE* dialogue_input = stdin;

// Exhausted memory inside GMP or NTL, where no exception can pass: the run ends there.
[[noreturn]] void end_inside_library()
{
    std::exit(end_run(EXIT_NO_MEMORY, dialogue_input));
}

ExitCode exit_code_of(Failure failure)
{
    return failure == Failure::invalid_operation ? EXIT_INVALID_OPERATION : EXIT_CANNOT_COMPUTE;
}

}  // namespace

int run_dialogue(std::FILE* in)
{
    dialogue_input = in;
    install_library_hooks(end_inside_library);
    try {
        const std::int64_t p = read_characteristic(in);
        const Poly input = read_polynomial(in, p);
        // Over the integers the factorization takes a copy over; modulo p it reads the input.
        if (p == 0)
            print_factorization(squarefree_int(poly_copy(input)), input);
        else
            print_factorization(squarefree_mod(p, input), input);
        flush_output();
        (void)std::getc(in);  // the end-of-run pause
        return 0;
    } catch (const RunEnding& ending) {
        return end_run(ending.code, in);
    } catch (const ComputationFailure& failure) {
        if (failure.failure == Failure::not_primitive)
            std::fputs(kNotPrimitive, stdout);
        return end_run(exit_code_of(failure.failure), in);
    } catch (const std::bad_alloc&) {
        return end_run(EXIT_NO_MEMORY, in);
    }
}
