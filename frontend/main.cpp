#include <cstdio>
#include <new>

#include "frontend/fatal.h"
#include "frontend/frontend.h"

namespace {

// Every allocation that cannot be satisfied ends the run the same way.
void out_of_memory()
{
    fatal_exit(EXIT_NO_MEMORY);
}

}  // namespace

int main()
{
    std::set_new_handler(out_of_memory);
    return run_dialogue(stdin);
}
