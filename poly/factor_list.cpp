#include "poly/factor_list.h"

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
