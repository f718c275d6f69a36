// The console dialogue: the command line, the two readers, the result printer and the run itself.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>

#include "poly/factor_list.h"
#include "poly/poly.h"
#include "squarefree/squarefree.h"

// Asks for the characteristic and reads it like scanf "%d" followed by one discarded character.
// Only 0 and the primes up to 2147483647 are accepted; anything else raises
// RunEnding{EXIT_BAD_CHARACTERISTIC}.
std::int64_t read_characteristic(std::FILE* in);

// Asks for the polynomial and reads one line of `in` in the notation "coefx^deg + coefx^deg ...",
// coefficients reduced modulo p when p != 0. A line that breaks the notation raises
// RunEnding{EXIT_BAD_POLYNOMIAL} at the character that breaks it; an exponent of 2^30 or more
// raises RunEnding{EXIT_NO_MEMORY} when its term is complete.
Poly read_polynomial(std::FILE* in, std::int64_t p);

// Write the result line: the input as read, "=", and every factor other than the constant one
// with its multiplicity; no line feed at the end.
void print_factorization(const FactorList& list, const Poly& input);
void print_factorization(const IntFactorList& list, const Poly& input);

// One whole dialogue on `in` and standard output; returns the run's exit status.
int run_dialogue(std::FILE* in);

// The answer to the program's arguments (--help, --version, or one that is not understood) and
// its exit status; nothing when there are none and the dialogue is to run.
std::optional<int> answer_arguments(int argc, const char* const* argv);
