// Code for one vector unit. The x86 intrinsics, and the regions that compile what they enclose for
// AVX2 or AVX-512: every function defined between SQUAREFREE_TARGET_AVX2 (or _AVX512) and
// SQUAREFREE_TARGET_END may use that unit's instructions, everything else is compiled for the
// baseline processor. A unit's code is only called once the processor is known to have the unit
// (vector_unit_select). SQUAREFREE_X86_UNITS (residue/vector_unit.h) says that the two units can be
// compiled at all.
//
// The standard headers a unit's code needs are included before its region opens: a template
// instantiated inside a region keeps the target of the place it was declared, so nothing of the
// standard library is compiled for a unit the processor may lack.
#pragma once

#include "residue/vector_unit.h"

#ifdef SQUAREFREE_X86_UNITS
// GCC 12's AVX-512 headers read a deliberately undefined register in some intrinsics, which its
// own -Wmaybe-uninitialized (or, in some inlining contexts, -Wuninitialized) reports wherever
// they are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#else
#include <immintrin.h>
#endif
#endif

#if defined(__clang__)
#define SQUAREFREE_TARGET_AVX2 _Pragma("clang attribute push(__attribute__((target(\"avx2\"))), apply_to = function)")
#define SQUAREFREE_TARGET_AVX512 \
    _Pragma("clang attribute push(__attribute__((target(\"avx2,avx512f\"))), apply_to = function)")
#define SQUAREFREE_TARGET_END _Pragma("clang attribute pop")
#else
#define SQUAREFREE_TARGET_AVX2 _Pragma("GCC push_options") _Pragma("GCC target(\"avx2\")")
#define SQUAREFREE_TARGET_AVX512 _Pragma("GCC push_options") _Pragma("GCC target(\"avx2,avx512f\")")
#define SQUAREFREE_TARGET_END _Pragma("GCC pop_options")
#endif
