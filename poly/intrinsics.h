// The x86 vector intrinsics, for the kernels and transforms written for AVX2 and AVX-512 (chosen at
// run time by vector_unit_select); SQUAREFREE_X86_INTRINSICS says they are there.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
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
#define SQUAREFREE_X86_INTRINSICS 1
#endif
