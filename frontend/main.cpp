#include <cstdio>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "frontend/frontend.h"

int main(int argc, char** argv)
{
#if defined(__GLIBC__)
    // The fast arithmetic allocates and frees large work arrays many times over; keeping freed
    // memory in the heap spares the fresh zero pages of a new mapping each time. The peak is the same.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
    if (const auto status = answer_arguments(argc, argv))
        return *status;
    return run_dialogue(stdin);
}
