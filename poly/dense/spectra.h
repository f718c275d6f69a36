// Internal to the dense layer: dense polynomials from spectra.
#pragma once

#include <cstddef>

#include "dense/dense.h"
#include "ntt/ntt.h"

// The first `length` coefficients of the polynomial whose spectrum is s, trimmed; s's values are
// used up.
inline Dense dense_from_spectrum(Spectrum& s, std::size_t length, const Modulus& mod)
{
    Dense out(length);
    spectrum_to_residues(s, length, out.data(), mod);
    dense_trim(out);
    return out;
}
