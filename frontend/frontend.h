// The console dialogue: the two readers, the result printer and the run itself.
#pragma once

#include <cstdint>
#include <cstdio>

#include "poly/poly.h"

// Asks for the characteristic and reads it like scanf "%d" followed by one discarded character.
// Only 0 and the primes up to 2147483647 are accepted; anything else ends the run with
// EXIT_BAD_CHARACTERISTIC.
std::int64_t read_characteristic(std::FILE* in);

// Asks for the polynomial and reads one line of `in` in the notation "coefx^deg + coefx^deg ...",
// coefficients reduced modulo p when p != 0. A line that breaks the notation ends the run with
// EXIT_BAD_POLYNOMIAL at the character that breaks it.
Poly read_polynomial(std::FILE* in, std::int64_t p);

// Writes the result line: the input as read, "=", and every factor with its multiplicity.
// Positions that hold the constant one are counted but not printed; no line feed at the end.
void print_factorization(const FactorList& list, const Poly& input);

// One whole dialogue on `in` and standard output; returns the exit status of a normal run.
int run_dialogue(std::FILE* in);
