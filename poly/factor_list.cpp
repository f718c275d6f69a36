#include "poly/poly.h"

void factor_list_append(FactorList& list, Poly f)
{
    ++list.length;
    if (!poly_is_one(f))
        list.factors.push_back(Factor{list.length, std::move(f)});
}

void factor_list_append_ones(FactorList& list, std::int64_t count)
{
    list.length += count;
}

Poly factor_list_at(const FactorList& list, std::int64_t k)
{
    for (const Factor& factor : list.factors)
        if (factor.multiplicity == k)
            return factor.poly;
    return poly_one();
}
