#include "residue/vector_unit.h"

#include <utility>

#include "residue/unit_target.h"

namespace {

VectorUnit& unit_in_use()
{
    static VectorUnit unit = vector_units_supported().back();
    return unit;
}

}  // namespace

std::vector<VectorUnit> vector_units_supported()
{
    std::vector<VectorUnit> units{VectorUnit::portable};
#ifdef SQUAREFREE_X86_UNITS
    if (__builtin_cpu_supports("avx2")) {
        units.push_back(VectorUnit::avx2);
        if (__builtin_cpu_supports("avx512f"))
            units.push_back(VectorUnit::avx512);
    }
#endif
    return units;
}

VectorUnit vector_unit_select(VectorUnit unit)
{
    return std::exchange(unit_in_use(), unit);
}

VectorUnit vector_unit_in_use()
{
    return unit_in_use();
}

const char* vector_unit_name(VectorUnit unit)
{
    switch (unit) {
    case VectorUnit::portable: return "portable";
    case VectorUnit::avx2: return "avx2";
    case VectorUnit::avx512: return "avx512";
    }
    return "";
}
