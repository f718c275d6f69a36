// How a computation reports that it cannot give a result. The arithmetic and the factorizations
// raise a ComputationFailure; the console front end turns it into the run's ending (its message,
// pause and exit status). Exhausted memory is std::bad_alloc, as everywhere in C++.
#pragma once

#include <cstdint>

enum class Failure {
    invalid_operation,  // an integer division that is not exact
    cannot_compute,     // the zero polynomial, or deflation of a constant
    not_primitive,      // over the integers: the coefficients share a divisor greater than 1
};

struct ComputationFailure {
    Failure failure;
};

[[noreturn]] inline void raise_failure(Failure failure)
{
    throw ComputationFailure{failure};
}

// Refuses, with std::bad_alloc, a step whose memory can be foreseen and that could never get it:
// more bytes than the machine's physical memory or the process's address-space limit. Without it
// such a step would grow until the system stops it, with no message.
void require_memory(std::uint64_t bytes);
