// Internal to the summed products: the operand read across the rows, with kPad zeros on either
// side, so that every window of a block reads zeros where the product has no term. A short one goes
// into a buffer kept for the next product; a long one into its own, given back at once (its product
// costs far more than the allocation, and the memory is not held for the rest of the run).
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "residue/modulus.h"

class PaddedOperand {
public:
    static constexpr std::size_t kPad = 16;

    PaddedOperand(const Residue* b, std::size_t n)
    {
        thread_local std::vector<Residue> kept;
        std::vector<Residue>& buffer = n + 2 * kPad <= kKeptPadding ? kept : own_;
        buffer.assign(n + 2 * kPad, 0);
        std::copy(b, b + n, buffer.begin() + kPad);
        entries_ = buffer.data() + kPad;
    }
    PaddedOperand(const PaddedOperand&) = delete;
    PaddedOperand& operator=(const PaddedOperand&) = delete;
    const Residue* entries() const { return entries_; }

private:
    static constexpr std::size_t kKeptPadding = std::size_t{1} << 14;
    std::vector<Residue> own_;
    const Residue* entries_ = nullptr;
};

// The rows i of a that meet coefficient s of a product with an operand of length n.
inline std::size_t first_row(std::size_t s, std::size_t n)
{
    return s >= n ? s - n + 1 : 0;
}

// Where the window of row i for the block at k starts, relative to the operand's first entry
// (up to kPad - 1 entries before it).
inline std::ptrdiff_t window_offset(std::size_t k, std::size_t i)
{
    return static_cast<std::ptrdiff_t>(k) - static_cast<std::ptrdiff_t>(i);
}
