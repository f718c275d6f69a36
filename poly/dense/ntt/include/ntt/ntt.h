// Products modulo p < 2^31 through number-theoretic transforms modulo up to three primes
// q < 2^30 and the Chinese remainder theorem: a coefficient of the exact integer product is a sum
// of at most min(m, n) products of two residues, below 2^84 < q0·q1·q2, so its residues modulo
// the primes determine it, and with it its residue modulo p. Small p need one prime, larger p two
// or three (transform_primes).
//
// The transform lengths are the powers of two and three times a power of two (is_transform_length);
// which one a product takes is the caller's choice (the cost model of the dense layer). Everything
// here runs on the vector unit in use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "residue/modulus.h"

// The largest transforms: 2^23 divides q - 1 for every transform prime, and so does 3·2^23, so the
// powers of two go up to 2^23 and three times them up to 3·2^23 (about 2.5·10^7: every product of
// two polynomials of degree 10^7).
constexpr std::size_t kMaxPowerOfTwoTransform = std::size_t{1} << 23;
constexpr std::size_t kMaxTransformLength = 3 * kMaxPowerOfTwoTransform;

// Whether the transforms take length n: a power of two up to kMaxPowerOfTwoTransform, or three
// times one up to kMaxTransformLength.
bool is_transform_length(std::size_t n);

// How many transform primes (one to three) make a result exact modulo p when each of its
// coefficients is a sum of at most `terms` products of two residues: for one product, the shorter
// operand's length; for a sum of two, twice that.
std::size_t transform_primes(std::size_t terms, const Modulus& mod);

// out[0, m + n - 1) = a·b modulo p (m, n >= 1), by transforms of length n_transform, a transform
// length of at least m + n - 1.
void ntt_multiply(const Residue* a, std::size_t m, const Residue* b, std::size_t n, std::size_t n_transform,
                  Residue* out, const Modulus& mod);

// A polynomial's images under the transforms of length n modulo the first `primes` transform
// primes, for sums of products that share operands: each operand is transformed once. A spectrum
// keeps its buffers when it is assigned again.
struct Spectrum {
    std::size_t n = 0;
    std::size_t primes = 0;
    std::size_t capacity = 0;  // entries each buffer holds
    std::unique_ptr<std::uint32_t[]> values[3];
};

// s = the spectrum of a[0, count) (count <= n, n a transform length) modulo the first `primes` primes.
void spectrum_assign(Spectrum& s, const Residue* a, std::size_t count, std::size_t n, std::size_t primes);
// out = a·b and sum += a·b, pointwise (a and b of the same length and primes).
void spectrum_multiply(Spectrum& out, const Spectrum& a, const Spectrum& b);
void spectrum_multiply_add(Spectrum& sum, const Spectrum& a, const Spectrum& b);
// out[0, length) = the first `length` (<= s.n) coefficients modulo p of the polynomial whose
// spectrum is s; s's values are used up.
void spectrum_to_residues(Spectrum& s, std::size_t length, Residue* out, const Modulus& mod);
