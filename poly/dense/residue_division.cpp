#include "dense/residue_division.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "dense/thresholds.h"
#include "residue/kernels.h"
#include "residue/lanes_portable.h"

void residues_divide(Residues& r, std::int64_t deg_r, const Residues& b, std::int64_t deg_b, const Modulus& mod,
                     Residues* quotient)
{
    if (quotient != nullptr)
        quotient->assign(static_cast<std::size_t>(deg_r >= deg_b ? deg_r - deg_b + 1 : 0), 0);
    if (deg_r < deg_b)
        return;
    const std::uint32_t inv = static_cast<std::uint32_t>(mod.inverse(b[static_cast<std::size_t>(deg_b)]));
    const std::uint32_t p = static_cast<std::uint32_t>(mod.p);
    // Every quotient coefficient is a lead times the inverse: by Shoup's multiplication with the
    // inverse's constant, made once.
    const std::uint32_t inv_shoup = mod.shoup(inv);
    const auto times_inverse = [inv, inv_shoup, p](std::uint64_t x) {
        return unit_portable::shoup_multiply(static_cast<std::uint32_t>(x), inv, inv_shoup, p);
    };
    // A divisor with few terms, or a short one, is walked term by term instead of slot by slot
    // (a row of the vector unit costs more than a few scalar steps); counting its terms costs a
    // pass over it, which pays only when the quotient has many coefficients (a step of Euclid's
    // algorithm has one or two).
    const std::size_t below_lead = static_cast<std::size_t>(deg_b);
    const bool worth_counting = deg_r - deg_b + 1 > kSparseDivisorCheckRows;
    const std::size_t nonzero =
        worth_counting ? below_lead - static_cast<std::size_t>(std::count(b.begin(), b.begin() + deg_b, Residue{0})) : below_lead;
    const bool sparse = nonzero * kDenseRowRatio < below_lead || (worth_counting && below_lead <= kShortDivisorTerms);
    if (sparse) {
        // Each step adds lead·(-inv·b[t]) at the divisor's terms: those constants and their Shoup
        // factors are fixed for the whole division, so a step costs one Shoup multiplication per
        // term, and the quotient's coefficient stays off the chain from one lead to the next.
        struct Column {
            std::size_t t;
            std::uint32_t c, c_shoup;
        };
        // A short divisor's columns stay on the stack: Euclid's steps on short operands come here
        // one after another, and an allocation would cost about as much as the step.
        constexpr std::size_t kColumnsOnStack = 32;
        std::array<Column, kColumnsOnStack> on_stack;
        std::vector<Column> on_heap(nonzero > kColumnsOnStack ? nonzero : 0);
        const std::span<Column> storage = nonzero > kColumnsOnStack ? std::span<Column>(on_heap) : std::span<Column>(on_stack);
        std::size_t count = 0;
        for (std::size_t t = 0; t < below_lead && count < nonzero; ++t)
            if (b[t] != 0) {
                const std::uint32_t c = static_cast<std::uint32_t>(mod.neg(mod.mul(inv, b[t])));
                storage[count++] = Column{t, c, mod.shoup(c)};
            }
        const std::span<const Column> columns = storage.first(count);
        for (std::int64_t e = deg_r; e >= deg_b; --e) {
            const Residue lead = r[static_cast<std::size_t>(e)];
            if (lead == 0)
                continue;
            const std::size_t s = static_cast<std::size_t>(e - deg_b);
            Residue* window = r.data() + s;
            for (const Column& column : columns) {
                const std::uint32_t sum = window[column.t] + unit_portable::shoup_multiply(lead, column.c, column.c_shoup, p);
                window[column.t] = std::min(sum, sum - p);
            }
            r[static_cast<std::size_t>(e)] = 0;
            if (quotient != nullptr)
                (*quotient)[s] = times_inverse(lead);
        }
        return;
    }
    // Two quotient coefficients at a time, their two rows in one pass over the window: the lower one
    // comes from r's next entry once the upper row has reached it.
    const std::uint32_t below = below_lead > 0 ? b[below_lead - 1] : 0, below_shoup = mod.shoup(below);
    for (std::int64_t e = deg_r; e >= deg_b;) {
        const std::size_t top = static_cast<std::size_t>(e), s = static_cast<std::size_t>(e - deg_b);
        const Residue q_hi = times_inverse(r[top]);
        std::uint32_t next = 0;
        if (e > deg_b && below_lead > 0) {
            const std::uint32_t reached = unit_portable::shoup_multiply(q_hi, below, below_shoup, p);
            next = r[top - 1] >= reached ? r[top - 1] - reached : r[top - 1] + p - reached;
        }
        // A zero coefficient needs no row (small p makes them common): then one row alone.
        if (q_hi != 0 && next != 0) {
            const Residue q_lo = times_inverse(next);
            const Residue minus_lo = static_cast<Residue>(mod.neg(q_lo)), minus_hi = static_cast<Residue>(mod.neg(q_hi));
            residues_add_two_multiples(r.data() + s - 1, b.data(), below_lead, minus_lo, mod.shoup(minus_lo), minus_hi,
                                       mod.shoup(minus_hi), p);
            r[top] = r[top - 1] = 0;
            if (quotient != nullptr) {
                (*quotient)[s] = q_hi;
                (*quotient)[s - 1] = q_lo;
            }
            e -= 2;
            continue;
        }
        if (q_hi != 0) {
            const Residue minus_q = static_cast<Residue>(mod.neg(q_hi));
            residues_add_multiple(r.data() + s, b.data(), below_lead, minus_q, mod.shoup(minus_q), p);
        }
        r[top] = 0;
        if (quotient != nullptr)
            (*quotient)[s] = q_hi;
        --e;
    }
}

void residues_remainder_up_to_unit(Residues& r, std::int64_t deg_r, const Residues& b, std::int64_t deg_b, const Modulus& mod,
                                   Residues* quotient, Residue* scale)
{
    const Residue lead_b = b[static_cast<std::size_t>(deg_b)];
    const std::uint32_t lead_b_shoup = mod.shoup(lead_b);
    const std::uint32_t p = static_cast<std::uint32_t>(mod.p);
    if (quotient != nullptr)
        quotient->assign(static_cast<std::size_t>(deg_r >= deg_b ? deg_r - deg_b + 1 : 0), 0);
    std::uint64_t factor = 1;
    for (std::int64_t e = deg_r; e >= deg_b; --e) {
        const Residue lead = r[static_cast<std::size_t>(e)];
        if (lead == 0)
            continue;
        const std::size_t s = static_cast<std::size_t>(e - deg_b);
        for (std::size_t t = 0; t < s; ++t)  // the entries below b's window are only scaled
            r[t] = static_cast<Residue>(mod.mul(r[t], lead_b));
        const Residue minus_lead = static_cast<Residue>(mod.neg(lead));
        residues_scale_add_multiple(r.data() + s, b.data(), static_cast<std::size_t>(deg_b), lead_b, lead_b_shoup, minus_lead,
                                    mod.shoup(minus_lead), p);
        r[static_cast<std::size_t>(e)] = 0;
        // r = lc(b)·r - lead·x^s·b: the quotient so far is scaled too, and gains lead·x^s.
        if (quotient != nullptr) {
            for (std::size_t t = s + 1; t < quotient->size(); ++t)
                (*quotient)[t] = static_cast<Residue>(mod.mul((*quotient)[t], lead_b));
            (*quotient)[s] = lead;
        }
        factor = mod.mul(factor, lead_b);
    }
    if (scale != nullptr)
        *scale = static_cast<Residue>(factor);
}
