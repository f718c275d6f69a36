#include "poly/failure.h"

#include <sys/resource.h>
#include <unistd.h>

#include <new>

namespace {

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
