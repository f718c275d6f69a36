#include "intgcd/library_hooks.h"

#include <NTL/tools.h>
#include <gmp.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

OutOfMemoryEnding out_of_memory_ending = nullptr;

[[noreturn]] void end_out_of_memory()
{
    if (out_of_memory_ending != nullptr)
        out_of_memory_ending();
    std::abort();
}

void ntl_error_message(const char* message)
{
    if (std::strcmp(message, "out of memory") == 0)
        end_out_of_memory();
    std::fprintf(stderr, "%s\n", message);
}

void* gmp_allocate(std::size_t size)
{
    void* block = std::malloc(size);
    if (block == nullptr)
        end_out_of_memory();
    return block;
}

void* gmp_reallocate(void* block, std::size_t, std::size_t size)
{
    void* moved = std::realloc(block, size);
    if (moved == nullptr)
        end_out_of_memory();
    return moved;
}

void gmp_free(void* block, std::size_t)
{
    std::free(block);
}

}  // namespace

void install_library_hooks(OutOfMemoryEnding ending)
{
    out_of_memory_ending = ending;
#if defined(__GLIBC__)
    // Every block comes from the heap, and stays there once freed: a block mapped afresh from the
    // system (glibc maps those above 32 MiB at the most) costs a cleared page per page, at degree
    // 10^7 a sixth of the time.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, -1);  // never given back
#endif
    NTL::ErrorMsgCallback = ntl_error_message;
    mp_set_memory_functions(gmp_allocate, gmp_reallocate, gmp_free);
}
