// Square-free factorizations checked against NTL: random inputs, and a check that multiplies the
// positions back, tests each for being square-free and coprime to the others, and compares the
// whole list with NTL's own square-free decomposition brought to this program's conventions.
#pragma once

#include <NTL/ZZX.h>
#include <NTL/lzz_pX.h>

#include <cstdint>
#include <random>

#include "ntl_convert.h"
#include "poly/poly.h"
#include "squarefree/squarefree.h"

// Modulo p (NTL's zz_p modulus must be p): a constant times random factors with random
// multiplicities; for small p also multiplicities that are multiples of p (p-th powers); now and
// then a constant or a square-free input.
NTL::zz_pX random_input_mod(std::mt19937_64& rng, std::int64_t p, int max_factors = 4);

// Modulo p, long: a constant times dense random factors of large degree, with multiplicities from
// one to a few and, for p up to 101, around p and 2p; its degree about log-uniform from 200 up to
// max_degree, so that its gcds and products cross every crossover of the fast arithmetic.
NTL::zz_pX random_long_input_mod(std::mt19937_64& rng, std::int64_t p, long max_degree);

// Over the integers: a random sign times random primitive factors with random multiplicities,
// every coefficient of the product within 32 bits; now and then a constant.
NTL::ZZX random_input_int(std::mt19937_64& rng, int max_factors = 4);

// Over the integers with factors past 64 and 128 bits: the product of `count` binomials x^q - 1 for
// distinct primes q near 100, times a small extra factor; the input's coefficients stay small.
// count 12 gives a factor with coefficients past 2^64, count 20 past 2^128.
NTL::ZZX random_input_wide(std::mt19937_64& rng, int count);

// Inputs unlucky for the first primes of the program's images over the integers (1048573, then
// 2147483647 and 2147483629, the primes of Yun's certificates as well): a prime that divides the
// leading coefficient, or the discriminant of a factor, for one or two of those primes.
// Coefficients within 63 bits.
NTL::ZZX random_input_unlucky(std::mt19937_64& rng);

// A sparse input of high degree over the integers, ±x^k·h(x^g) for a random h of small degree
// (random factors and multiplicities), g and k up to about 10^6 (either may be 1 or 0): its
// factorization is h's with x^g for x and x at multiplicity k, which check_squarefree_int_sparse
// checks against NTL's decomposition of h.
struct SparseInput {
    NTL::ZZX h;
    long g = 1, k = 0;
};
SparseInput random_input_sparse(std::mt19937_64& rng);

// Factor f with squarefree_mod / squarefree_int and check the result with gtest assertions.
void check_squarefree_mod(std::int64_t p, const NTL::zz_pX& f);
// The integer check returns the bit size of the widest coefficient among the factors.
// `factor` is squarefree_int unless another is given (squarefree_int_by_gcds).
long check_squarefree_int(const NTL::ZZX& f, IntFactorList (*factorize)(Poly) = squarefree_int);
void check_squarefree_int_sparse(const SparseInput& input);
