// A second reading of the input notation, written from the reader's rules for obviousness rather
// than speed: the characteristic line and the polynomial line read from a byte buffer, with the
// state, the per-character rules and the commit steps spelled out as the rules state them. The
// tests and the differential fuzzer compare the program's readers with it; it is never part of
// the program and shares none of its code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ReadTerm {
    std::int64_t exponent;
    std::int64_t coefficient;
    friend bool operator==(const ReadTerm&, const ReadTerm&) = default;
};

// How the two readers together take one input: the characteristic, then the polynomial line.
struct ReaderOutcome {
    int status = 0;                     // 0, or the ending: 1 (memory), 4 (characteristic), 5 (polynomial)
    std::int64_t characteristic = 0;    // the characteristic accepted; 0 when status is 4
    std::vector<ReadTerm> terms;        // for status 0: ascending exponents, non-zero coefficients
    std::size_t consumed = 0;           // bytes read: through the ending's character, or the line feed
    friend bool operator==(const ReaderOutcome&, const ReaderOutcome&) = default;
};

// "status 0 after 12 bytes, characteristic 7, terms {0, 4} {2, 2}"
std::string describe(const ReaderOutcome& outcome);

// The reference reading of `input`.
ReaderOutcome reference_read(std::string_view input);
