// Where the term-list arithmetic and the factorization drivers switch from one method to another.
// The dense arithmetic below keeps its own crossovers (dense/thresholds.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "poly/poly.h"

// A polynomial with fewer than one term in this many exponents is divided and reduced on its term
// list (the work follows the terms), not on a dense vector (the work follows the degree).
constexpr std::int64_t kSparseTermRatio = 16;
inline bool poly_is_sparse(const Poly& f)
{
    return static_cast<std::int64_t>(f.terms.size()) * kSparseTermRatio < poly_degree(f);
}

// A term-list division gives up once its remainder or quotient holds more terms than this, or once
// it has made kSparseUpdatesPerTerm times as many updates: the operands were not sparse after all,
// and the dense division takes over.
inline std::size_t sparse_term_limit(const Poly& a, const Poly& b)
{
    return 4 * (a.terms.size() + b.terms.size()) + 64;
}
constexpr std::size_t kSparseUpdatesPerTerm = 64;

// A sparse dividend of more than this many times the divisor's degree gives its remainder term by
// term through powers of x modulo the divisor, when its term-list division gives up.
constexpr std::int64_t kPowerRemainderRatio = 4;
inline bool remainder_by_powers(const Poly& a, const Poly& b)
{
    return poly_is_sparse(a) && poly_degree(a) > kPowerRemainderRatio * (poly_degree(b) + 1);
}

// The chain of gcds modulo p splits off the factors of w from g by gcds with w(x^P) only while
// P·deg w stays below a kChainSplitFraction-th of deg g; beyond it the recursion on all of g costs
// less (squarefree_mod.cpp).
constexpr std::int64_t kChainSplitFraction = 16;

// Below this degree of g the chain of gcds modulo p goes on past multiplicity p, one round per
// multiplicity, instead of handing the higher ones to the recursion: its rounds are short there,
// and the recursion's set-up costs more than they do.
constexpr std::int64_t kChainPastPDegree = 1000;
