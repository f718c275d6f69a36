// Internal to the transforms: the transforms of every transform length modulo one of the primes,
// and Garner's reconstruction.
#pragma once

#include <cstddef>
#include <cstdint>

#include "residue/modulus.h"

// In place, values in [0, 2q) in and out: forward in natural order in, in the transform's own order
// out; the inverse the other way, times n.
void forward_transform(std::size_t prime, std::uint32_t* a, std::size_t n);
void inverse_transform(std::size_t prime, std::uint32_t* a, std::size_t n);
// a[0, count) = a·n^-1 reduced into [0, q): undoes the inverse transform's factor n and the
// pointwise product's 2^-32.
void undo_inverse_scale(std::size_t prime, std::uint32_t* a, std::size_t count, std::size_t n);
// Residues below 2^31 into [0, 2q), and the rest of target[0, n) zero.
void load_for_transform(std::size_t prime, const Residue* source, std::size_t count, std::uint32_t* target,
                        std::size_t n);
// out = a·b and sum += a·b pointwise, as pointwise products of transforms need them.
void pointwise_multiply(std::size_t prime, std::uint32_t* out, const std::uint32_t* a, const std::uint32_t* b,
                        std::size_t n);
void pointwise_multiply_add(std::size_t prime, std::uint32_t* sum, const std::uint32_t* a, const std::uint32_t* b,
                            std::size_t n);

// out[i] for i < length: the residue modulo p of the coefficient whose residues modulo the first
// `primes` transform primes are residues[0..primes)[i], each in [0, q).
void garner_combine(const std::uint32_t* const residues[3], std::size_t primes, std::size_t length, Residue* out,
                    const Modulus& mod);
