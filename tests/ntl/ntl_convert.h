// Conversions between the program's polynomials and NTL's, for the tests and the benchmarks that
// use NTL as the independent computation.
#pragma once

#include <NTL/ZZX.h>
#include <NTL/lzz_pX.h>

#include "intgcd/intpoly.h"
#include "poly/poly.h"

// Modulo the current zz_p modulus.
inline NTL::zz_pX to_zz_pX(const Poly& f)
{
    NTL::zz_pX g;
    for (const Term& t : f.terms)
        NTL::SetCoeff(g, t.exponent, t.coefficient);
    return g;
}

inline NTL::ZZX to_ZZX(const Poly& f)
{
    NTL::ZZX g;
    for (const Term& t : f.terms)
        NTL::SetCoeff(g, t.exponent, NTL::conv<NTL::ZZ>(t.coefficient));
    return g;
}

inline NTL::ZZX to_ZZX(const DecimalPoly& f)
{
    NTL::ZZX g;
    for (const DecimalTerm& t : f.terms)
        NTL::SetCoeff(g, t.exponent, NTL::conv<NTL::ZZ>(t.coefficient.c_str()));
    return g;
}

inline Poly poly_from_ntl(const NTL::zz_pX& g)
{
    Poly f;
    for (long i = 0; i <= NTL::deg(g); ++i)
        if (!NTL::IsZero(NTL::coeff(g, i)))
            f.terms.push_back(Term{i, NTL::rep(NTL::coeff(g, i))});
    return f;
}

// Coefficients must fit in signed 64 bits.
inline Poly poly_from_ntl(const NTL::ZZX& g)
{
    Poly f;
    for (long i = 0; i <= NTL::deg(g); ++i)
        if (!NTL::IsZero(NTL::coeff(g, i)))
            f.terms.push_back(Term{i, NTL::conv<long>(NTL::coeff(g, i))});
    return f;
}
