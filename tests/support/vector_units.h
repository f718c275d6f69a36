// The fast arithmetic runs on the vector unit in use; its tests run every unit the processor has.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "residue/vector_unit.h"

// Runs `body` once on each vector unit the processor has, the unit named in every failure, and
// gives the unit in use back afterwards.
template <typename Body>
void on_every_vector_unit(Body body)
{
    for (const VectorUnit unit : vector_units_supported()) {
        const VectorUnit before = vector_unit_select(unit);
        SCOPED_TRACE(std::string("vector unit ") + vector_unit_name(unit));
        body();
        vector_unit_select(before);
    }
}
