#include <NTL/ZZX.h>
#include <gmp.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "frontend/fatal.h"
#include "intgcd/intgcd.h"

namespace {

// NTL and GMP end the process on their own failures. Exhausted memory is routed to the run's
// own ending instead; anything else NTL refuses keeps NTL's message and abort.
void ntl_error_message(const char* message)
{
    if (std::strcmp(message, "out of memory") == 0)
        fatal_exit(EXIT_NO_MEMORY);
    std::fprintf(stderr, "%s\n", message);
}

void* gmp_allocate(std::size_t size)
{
    void* block = std::malloc(size);
    if (block == nullptr)
        fatal_exit(EXIT_NO_MEMORY);
    return block;
}

void* gmp_reallocate(void* block, std::size_t, std::size_t size)
{
    void* moved = std::realloc(block, size);
    if (moved == nullptr)
        fatal_exit(EXIT_NO_MEMORY);
    return moved;
}

void gmp_free(void* block, std::size_t)
{
    std::free(block);
}

void route_library_failures()
{
    static std::once_flag once;
    std::call_once(once, [] {
        NTL::ErrorMsgCallback = ntl_error_message;
        mp_set_memory_functions(gmp_allocate, gmp_reallocate, gmp_free);
    });
}

NTL::ZZX to_ntl(const Poly& f)
{
    NTL::ZZX result;
    if (poly_is_zero(f))
        return result;
    result.rep.SetLength(poly_degree(f) + 1);
    for (const Term& t : f.terms)
        NTL::conv(result.rep[t.exponent], static_cast<long>(t.coefficient));
    result.normalize();
    return result;
}

// A coefficient of the result, converted directly and range-checked.
Coef from_ntl(const NTL::ZZ& c)
{
    static_assert(sizeof(long) == sizeof(Coef));
    static const NTL::ZZ smallest = -NTL::power2_ZZ(63);  // the one value of 64 bits that fits
    if (NTL::NumBits(c) > 63 && c != smallest)
        fatal_exit(EXIT_CANNOT_COMPUTE);
    return NTL::conv<long>(c);
}

}  // namespace

Poly poly_gcd_int(const Poly& a, const Poly& b)
{
    route_library_failures();
    const NTL::ZZX d = NTL::GCD(to_ntl(a), to_ntl(b));
    Poly result;
    const long length = d.rep.length();
    for (long i = 0; i < length; ++i)
        if (!NTL::IsZero(d.rep[i]))
            result.terms.push_back(Term{i, from_ntl(d.rep[i])});
    return result;
}
