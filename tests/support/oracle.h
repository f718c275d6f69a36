// Square-free factorizations checked against NTL: random inputs, and a check that multiplies the
// positions back, tests each for being square-free and coprime to the others, and compares the
// whole list with NTL's own square-free decomposition brought to this program's conventions.
#pragma once

#include <NTL/ZZX.h>
#include <NTL/lzz_pX.h>

#include <cstdint>
#include <random>

#include "poly/poly.h"
#include "tests/support/ntl_convert.h"

// Modulo p (NTL's zz_p modulus must be p): a constant times random factors with random
// multiplicities; for small p also multiplicities that are multiples of p (p-th powers); now and
// then a constant or a square-free input.
NTL::zz_pX random_input_mod(std::mt19937_64& rng, std::int64_t p, int max_factors = 4);

// Over the integers: a random sign times random primitive factors with random multiplicities,
// every coefficient of the product within 32 bits; now and then a constant.
NTL::ZZX random_input_int(std::mt19937_64& rng, int max_factors = 4);

// Factor f with squarefree_mod / squarefree_int and check the result with gtest assertions.
void check_squarefree_mod(std::int64_t p, const NTL::zz_pX& f);
void check_squarefree_int(const NTL::ZZX& f);
