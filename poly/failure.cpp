#include "poly/failure.h"

#include <sys/resource.h>
#include <unistd.h>

#include <new>

namespace {

std::uint64_t measure_memory_ceiling()
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

thread_local std::uint64_t dense_length_limit = UINT64_MAX;

}  // namespace

std::uint64_t memory_ceiling()
{
    static const std::uint64_t ceiling = measure_memory_ceiling();
    return ceiling;
}

void require_memory(std::uint64_t bytes)
{
    if (bytes > memory_ceiling())
        throw std::bad_alloc();
}

DenseLengthLimit::DenseLengthLimit(std::uint64_t max_length) : previous_(dense_length_limit)
{
    dense_length_limit = max_length;
}

DenseLengthLimit::~DenseLengthLimit()
{
    dense_length_limit = previous_;
}

void require_dense_length(std::uint64_t length)
{
    if (length > dense_length_limit)
        throw std::bad_alloc();
}
