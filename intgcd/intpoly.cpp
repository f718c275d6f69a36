#include "intgcd/intpoly.h"

#include <NTL/ZZX.h>
#include <gmp.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "poly/failure.h"

struct IntPoly::Rep {
    NTL::ZZX zzx;
};

namespace {

IntPoly wrap(NTL::ZZX&& zzx)
{
    IntPoly f;
    f.rep->zzx = std::move(zzx);
    return f;
}

const NTL::ZZX& zzx(const IntPoly& f)
{
    return f.rep->zzx;
}

// What NTL's dense gcd of two polynomials of this degree holds at once, generously: the operands,
// their images and the result, each one handle and one small number per coefficient.
constexpr std::uint64_t kGcdWorkspacePerCoefficient = 8 * (sizeof(NTL::ZZ) + 32);

// The decimal digits of c. Wide values go through GMP's conversion into a buffer of ours (NTL's
// stream output keeps a buffer of its own for the life of the process).
std::string decimal(const NTL::ZZ& c)
{
    if (NTL::NumBits(c) <= 63)  // fits in a long
        return std::to_string(NTL::conv<long>(c));
    const NTL::ZZ magnitude = NTL::abs(c);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(NTL::NumBytes(magnitude)));
    NTL::BytesFromZZ(bytes.data(), magnitude, static_cast<long>(bytes.size()));  // least significant first
    mpz_t value;
    mpz_init(value);
    mpz_import(value, bytes.size(), -1, 1, 0, 0, bytes.data());
    std::string digits(mpz_sizeinbase(value, 10) + 1, '\0');
    mpz_get_str(digits.data(), 10, value);
    mpz_clear(value);
    digits.resize(std::strlen(digits.c_str()));
    return NTL::sign(c) < 0 ? "-" + digits : digits;
}

}  // namespace

IntPoly::IntPoly() : rep(std::make_unique<Rep>()) {}
IntPoly::IntPoly(const IntPoly& other) : rep(std::make_unique<Rep>(*other.rep)) {}
IntPoly::IntPoly(IntPoly&& other) noexcept : rep(std::move(other.rep)) {}
IntPoly& IntPoly::operator=(const IntPoly& other)
{
    if (this != &other)
        rep = std::make_unique<Rep>(*other.rep);
    return *this;
}
IntPoly& IntPoly::operator=(IntPoly&& other) noexcept = default;
IntPoly::~IntPoly() = default;

std::uint64_t int_poly_length_limit()
{
    return memory_ceiling() / kGcdWorkspacePerCoefficient;
}

IntPoly int_poly_from_poly(const Poly& f)
{
    if (static_cast<std::uint64_t>(poly_degree(f) + 1) > int_poly_length_limit())
        throw std::bad_alloc();
    NTL::ZZX result;
    if (poly_is_zero(f))
        return wrap(std::move(result));
    result.rep.SetLength(poly_degree(f) + 1);
    for (const Term& t : f.terms)
        NTL::conv(result.rep[t.exponent], static_cast<long>(t.coefficient));
    result.normalize();
    return wrap(std::move(result));
}

DecimalPoly decimal_from_int_poly(const IntPoly& f)
{
    DecimalPoly result;
    const NTL::ZZX& g = zzx(f);
    for (long i = 0; i <= NTL::deg(g); ++i) {
        const NTL::ZZ& c = g.rep[i];
        if (NTL::IsZero(c))
            continue;
        result.terms.push_back(DecimalTerm{i, decimal(c)});
    }
    return result;
}

Exponent int_poly_degree(const IntPoly& f)
{
    return NTL::deg(zzx(f));
}

bool int_poly_is_constant(const IntPoly& f)
{
    return NTL::deg(zzx(f)) == 0;
}

int int_poly_lead_sign(const IntPoly& f)
{
    return static_cast<int>(NTL::sign(NTL::LeadCoeff(zzx(f))));
}

Poly int_poly_reduce(const IntPoly& f, std::int64_t p)
{
    const NTL::ZZX& g = zzx(f);
    Poly image;
    for (long i = 0; i <= NTL::deg(g); ++i)
        if (const long c = NTL::rem(g.rep[i], static_cast<long>(p)); c != 0)
            image.terms.push_back(Term{i, c});
    return image;
}

IntPoly int_poly_derivative(const IntPoly& f)
{
    return wrap(NTL::diff(zzx(f)));
}

IntPoly int_poly_subtract(const IntPoly& a, const IntPoly& b)
{
    return wrap(zzx(a) - zzx(b));
}

IntPoly int_poly_negate(const IntPoly& f)
{
    return wrap(-zzx(f));
}

IntPoly int_poly_multiply(const IntPoly& a, const IntPoly& b)
{
    return wrap(zzx(a) * zzx(b));
}

IntPoly int_poly_power(const IntPoly& f, std::int64_t k)
{
    NTL::ZZX result(1), square = zzx(f);
    for (; k > 0; k >>= 1) {
        if (k & 1)
            result *= square;
        if (k > 1)
            square *= square;
    }
    return wrap(std::move(result));
}

bool int_poly_equal(const IntPoly& a, const IntPoly& b)
{
    return zzx(a) == zzx(b);
}

IntPoly int_poly_exact_quotient(const IntPoly& a, const IntPoly& b)
{
    NTL::ZZX q;
    if (NTL::IsZero(zzx(a)))
        return wrap(std::move(q));  // NTL's divide reports zero as not divisible
    if (!NTL::divide(q, zzx(a), zzx(b)))
        raise_failure(Failure::invalid_operation);
    return wrap(std::move(q));
}

namespace {
std::uint64_t gcds_taken = 0;
}  // namespace

IntPoly poly_gcd_int(const IntPoly& a, const IntPoly& b)
{
    ++gcds_taken;
    return wrap(NTL::GCD(zzx(a), zzx(b)));
}

std::uint64_t int_gcd_count()
{
    return gcds_taken;
}
