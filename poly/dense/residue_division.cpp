#include "dense/residue_division.h"

#include <algorithm>
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
    const std::uint64_t inv = mod.inverse(b[static_cast<std::size_t>(deg_b)]);
    const std::uint32_t p = static_cast<std::uint32_t>(mod.p);
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
        std::vector<Column> columns;
        columns.reserve(nonzero);
        for (std::size_t t = 0; t < below_lead; ++t)
            if (b[t] != 0) {
                const std::uint32_t c = static_cast<std::uint32_t>(mod.neg(mod.mul(inv, b[t])));
                columns.push_back(Column{t, c, mod.shoup(c)});
            }
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
                (*quotient)[s] = static_cast<Residue>(mod.mul(lead, inv));
        }
        return;
    }
    for (std::int64_t e = deg_r; e >= deg_b; --e) {
        const Residue lead = r[static_cast<std::size_t>(e)];
        if (lead == 0)
            continue;
        const Residue q = static_cast<Residue>(mod.mul(lead, inv));
        const Residue minus_q = static_cast<Residue>(mod.neg(q));
        const std::size_t s = static_cast<std::size_t>(e - deg_b);
        residues_add_multiple(r.data() + s, b.data(), below_lead, minus_q, mod.shoup(minus_q), p);
        r[static_cast<std::size_t>(e)] = 0;
        if (quotient != nullptr)
            (*quotient)[s] = q;
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
