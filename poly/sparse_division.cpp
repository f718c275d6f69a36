#include <iterator>
#include <map>
#include <vector>

#include "poly/thresholds.h"
#include "sparse.h"

bool sparse_divide_mod(const Poly& a, const Poly& b, const Modulus& mod, Poly* quotient, Poly& remainder,
                       std::size_t max_terms)
{
    const std::int64_t p = static_cast<std::int64_t>(mod.p);
    const Exponent deg_b = poly_degree(b);
    const std::uint64_t inv = mod.inverse(static_cast<std::uint64_t>(coef_reduce(poly_lead(b), p)));
    std::map<Exponent, std::uint64_t> working;
    for (const Term& t : a.terms)
        working.emplace(t.exponent, static_cast<std::uint64_t>(coef_reduce(t.coefficient, p)));
    std::vector<Term> quotient_terms;  // found highest first
    // Each step costs one update per term of b: a b with many terms below a much higher a would
    // make the steps many and long without the remainder ever growing, so the updates are bounded too.
    const std::size_t max_updates = kSparseUpdatesPerTerm * max_terms;
    std::size_t updates = 0;
    while (!working.empty() && working.rbegin()->first >= deg_b) {
        const auto lead = std::prev(working.end());
        const Exponent shift = lead->first - deg_b;
        const std::uint64_t q = mod.mul(lead->second, inv);
        const std::uint64_t minus_q = mod.neg(q);
        working.erase(lead);
        quotient_terms.push_back(Term{shift, static_cast<Coef>(q)});
        for (std::size_t j = 0; j + 1 < b.terms.size(); ++j) {  // the lead of b cancels the lead
            const Term& t = b.terms[j];
            auto [slot, fresh] = working.try_emplace(shift + t.exponent, 0);
            slot->second = mod.reduce(slot->second + minus_q * static_cast<std::uint64_t>(coef_reduce(t.coefficient, p)));
            if (slot->second == 0)
                working.erase(slot);
        }
        updates += b.terms.size();
        if (working.size() > max_terms || quotient_terms.size() > max_terms || updates > max_updates)
            return false;
    }
    remainder.terms.clear();
    for (const auto& [exponent, value] : working)
        remainder.terms.push_back(Term{exponent, static_cast<Coef>(value)});
    if (quotient != nullptr)
        quotient->terms.assign(quotient_terms.rbegin(), quotient_terms.rend());
    return true;
}
