#include "poly/failure.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <new>

namespace {

OutOfMemoryEnding out_of_memory_ending = nullptr;

std::uint64_t memory_ceiling()
{
    std::uint64_t ceiling = UINT64_MAX;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGESIZE);
    if (pages > 0 && page_size > 0)
        ceiling = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
    struct rlimit limit;
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < ceiling)
        ceiling = limit.rlim_cur;
    return ceiling;
}

}  // namespace

void require_memory(std::uint64_t bytes)
{
    static const std::uint64_t ceiling = memory_ceiling();
    if (bytes > ceiling)
        throw std::bad_alloc();
}

void keep_freed_memory_for_reuse()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 << 20);  // glibc's largest: blocks up to 32 MiB come from the heap
    mallopt(M_TRIM_THRESHOLD, 1 << 30);   // and stay there once freed
#endif
}

void set_out_of_memory_ending(OutOfMemoryEnding ending)
{
    out_of_memory_ending = ending;
}

void end_run_out_of_memory()
{
    if (out_of_memory_ending != nullptr)
        out_of_memory_ending();
    std::abort();
}
