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

// The machine's physical memory, or the process's address-space limit when that is lower.
std::uint64_t memory_ceiling();

// Refuses, with std::bad_alloc, a step whose memory can be foreseen and that could never get it:
// more bytes than memory_ceiling(). Without it such a step would grow until the system stops it,
// with no message.
void require_memory(std::uint64_t bytes);

// While one lives, the arithmetic modulo p refuses, with std::bad_alloc, to lay out a polynomial of
// more than `max_length` coefficients densely: work that the caller knows it could not finish.
class DenseLengthLimit {
public:
    explicit DenseLengthLimit(std::uint64_t max_length);
    ~DenseLengthLimit();
    DenseLengthLimit(const DenseLengthLimit&) = delete;
    DenseLengthLimit& operator=(const DenseLengthLimit&) = delete;

private:
    std::uint64_t previous_;
};
// Raises std::bad_alloc when a dense polynomial of `length` coefficients is refused.
void require_dense_length(std::uint64_t length);
