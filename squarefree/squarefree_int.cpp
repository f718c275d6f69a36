#include <numeric>
#include <string>
#include <utility>

#include "poly/failure.h"
#include "squarefree/squarefree.h"

namespace {

// The primes whose images certify that a gcd is one; the second serves when the first divides a
// leading coefficient or shares a factor with the images that the integers do not have.
constexpr std::int64_t kCertificatePrimes[] = {2147483647, 2147483629};

bool is_primitive(const Poly& f)
{
    std::uint64_t g = 0;
    for (const Term& t : f.terms) {
        const std::uint64_t magnitude =
            t.coefficient < 0 ? 0 - static_cast<std::uint64_t>(t.coefficient) : static_cast<std::uint64_t>(t.coefficient);
        g = std::gcd(g, magnitude);
    }
    return g == 1;
}

// For a primitive a of degree deg_a and any b: true when their images modulo p prove
// gcd(a, b) = 1 in Z[x]. A common factor h of a and b is primitive (a is), its leading coefficient
// divides a's, so when p does not divide a's the image of h keeps its degree and divides both
// images; images with gcd one leave h no degree.
bool images_prove_coprime(const Poly& a_image, Exponent deg_a, const Poly& b_image, std::int64_t p)
{
    return poly_degree(a_image) == deg_a && poly_is_one(poly_gcd_mod(a_image, b_image, p));
}

// f primitive: true when f is certified square-free, gcd(f, f') = 1, without leaving the primes.
bool certified_square_free(const Poly& f)
{
    for (const std::int64_t p : kCertificatePrimes) {
        const Poly image = poly_reduce(f, p);
        if (images_prove_coprime(image, poly_degree(f), poly_derivative(image, p), p))
            return true;
    }
    return false;
}

// b primitive: gcd(b, d) by its certificate when that proves it one, by NTL otherwise.
IntPoly gcd_int(const IntPoly& b, const IntPoly& d)
{
    for (const std::int64_t p : kCertificatePrimes)
        if (images_prove_coprime(int_poly_reduce(b, p), int_poly_degree(b), int_poly_reduce(d, p), p))
            return int_poly_from_poly(poly_one());
    return poly_gcd_int(b, d);
}

DecimalPoly decimal_from_poly(const Poly& f)
{
    DecimalPoly result;
    result.terms.reserve(f.terms.size());
    for (const Term& t : f.terms)
        result.terms.push_back(DecimalTerm{t.exponent, std::to_string(t.coefficient)});
    return result;
}

bool is_one(const DecimalPoly& f)
{
    return f.terms.size() == 1 && f.terms[0].exponent == 0 && f.terms[0].coefficient == "1";
}

void append(IntFactorList& list, DecimalPoly f)
{
    ++list.length;
    if (!is_one(f))
        list.factors.push_back(FactorOf<DecimalPoly>{list.length, std::move(f)});
}

// ±x^k: the sign alone at multiplicity 1 (nothing for +), x at multiplicity k.
IntFactorList monomial_list(const Term& term)
{
    IntFactorList list;
    if (term.exponent == 1) {
        append(list, decimal_from_poly(Poly{{term}}));
        return list;
    }
    append(list, decimal_from_poly(Poly{{Term{0, term.coefficient}}}));
    list.length += term.exponent - 2;
    append(list, decimal_from_poly(Poly{{Term{1, 1}}}));
    return list;
}

}  // namespace

IntFactorList squarefree_int(Poly f)
{
    if (poly_is_zero(f))
        raise_failure(Failure::cannot_compute);
    IntFactorList result;
    if (poly_is_constant(f)) {
        append(result, decimal_from_poly(f));
        return result;
    }
    // A common divisor of the coefficients survives every gcd, so the steps below would never
    // reach a constant: such input is refused before any arithmetic.
    if (!is_primitive(f))
        raise_failure(Failure::not_primitive);
    if (f.terms.size() == 1)
        return monomial_list(f.terms[0]);
    // Most polynomials are square-free, and their images say so at a fraction of a gcd's cost.
    if (certified_square_free(f)) {
        append(result, decimal_from_poly(f));
        return result;
    }

    // Yun's arrangement of the repeated gcd with the derivative. With f = s·a_1·a_2^2⋯a_k^k
    // (s the sign, a_j primitive with positive leads): g = gcd(f, f') = a_2·a_3^2⋯, b = f / g =
    // s·a_1⋯a_k, and d = f' / g - b' = b·(a_1'/a_1 + 2a_2'/a_2 + ⋯) - b·(a_1'/a_1 + a_2'/a_2 + ⋯).
    // Then gcd(b, d) = a_1; dividing it out of b and d and subtracting the derivative again exposes
    // a_2, and so on. After the full-degree gcd every gcd is bounded by the degree of b, so a high
    // multiplicity costs one cheap step per unit instead of one full gcd; a multiplicity without a
    // factor costs only its certificate.
    const IntPoly whole = int_poly_from_poly(f);
    const IntPoly derivative = int_poly_derivative(whole);
    const IntPoly g = poly_gcd_int(whole, derivative);
    IntPoly b = int_poly_exact_quotient(whole, g);
    IntPoly d = int_poly_subtract(int_poly_exact_quotient(derivative, g), int_poly_derivative(b));
    while (!int_poly_is_constant(b)) {
        const IntPoly a = gcd_int(b, d);
        if (!int_poly_is_constant(a)) {
            b = int_poly_exact_quotient(b, a);
            d = int_poly_exact_quotient(d, a);
        }
        d = int_poly_subtract(d, int_poly_derivative(b));
        append(result, decimal_from_int_poly(a));
    }
    // b is now the sign s; it belongs to multiplicity 1.
    if (int_poly_lead_sign(b) < 0) {
        if (!result.factors.empty() && result.factors.front().multiplicity == 1) {
            for (DecimalTerm& t : result.factors.front().poly.terms)
                t.coefficient = t.coefficient[0] == '-' ? t.coefficient.substr(1) : "-" + t.coefficient;
        } else {
            result.factors.insert(result.factors.begin(), FactorOf<DecimalPoly>{1, decimal_from_poly(Poly{{Term{0, -1}}})});
        }
    }
    return result;
}
