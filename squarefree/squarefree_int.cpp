#include <numeric>
#include <optional>
#include <string>
#include <utility>

#include "poly/failure.h"
#include "squarefree/squarefree.h"

namespace {

// The primes whose images give a proven factorization, or prove that a gcd is one; the second
// serves when the first divides a leading coefficient or gives images with factors that the
// integers do not have.
constexpr std::int64_t kCertificatePrimes[] = {2147483647, 2147483629};

std::uint64_t magnitude(Coef c)
{
    return c < 0 ? 0 - static_cast<std::uint64_t>(c) : static_cast<std::uint64_t>(c);
}

std::uint64_t content(const Poly& f)
{
    std::uint64_t g = 0;
    for (const Term& t : f.terms)
        g = std::gcd(g, magnitude(t.coefficient));
    return g;
}

// For a primitive a of degree deg_a and any b: true when their images modulo p prove
// gcd(a, b) = 1 in Z[x]. A common factor h of a and b is primitive (a is), its leading coefficient
// divides a's, so when p does not divide a's the image of h keeps its degree and divides both
// images; images with gcd one leave h no degree.
bool images_prove_coprime(const Poly& a_image, Exponent deg_a, const Poly& b_image, std::int64_t p)
{
    return poly_degree(a_image) == deg_a && poly_is_one(poly_gcd_mod(a_image, b_image, p));
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

// ±x^k: the sign alone at multiplicity 1 (nothing for +), x at multiplicity k.
IntFactorList monomial_list(const Term& term)
{
    return monomial_factor_list<DecimalPoly>(term, decimal_from_poly);
}

// A negative leading coefficient of f joins multiplicity 1 of its list of positive-lead factors.
void attach_negative_sign(IntFactorList& list)
{
    if (!list.factors.empty() && list.factors.front().multiplicity == 1) {
        for (DecimalTerm& t : list.factors.front().poly.terms)
            t.coefficient = t.coefficient[0] == '-' ? t.coefficient.substr(1) : "-" + t.coefficient;
    } else {
        list.factors.insert(list.factors.begin(), FactorOf<DecimalPoly>{1, decimal_from_poly(Poly{{Term{0, -1}}})});
    }
}

// The integer factor that a factor m of f's image modulo p stands for, when its coefficients are
// small: |lc(f)|·m made monic first, each coefficient taken in (-p/2, p/2), divided by their
// content, the lead made positive.
Poly lift_factor(Poly m, std::uint64_t scale, std::int64_t p)
{
    poly_make_monic(p, m);
    const std::uint64_t scale_mod_p = scale % static_cast<std::uint64_t>(p);
    for (Term& t : m.terms) {
        const std::int64_t r = static_cast<std::int64_t>(static_cast<std::uint64_t>(t.coefficient) * scale_mod_p %
                                                         static_cast<std::uint64_t>(p));
        t.coefficient = r > p / 2 ? r - p : r;
    }
    const std::int64_t divisor = static_cast<std::int64_t>(content(m)) * (poly_lead(m) < 0 ? -1 : 1);
    for (Term& t : m.terms)
        t.coefficient /= divisor;
    return m;
}

// The factors of f's image modulo p lifted to the integers, when they are proven to be f's: p
// does not divide lc(f), so every lifted factor keeps the degree of its image, a unit times the
// image's factor; those are square-free and pairwise coprime modulo p (p exceeds the degree: no
// p-th powers), so the lifted factors are square-free and pairwise coprime in Z[x]; primitive,
// with positive leads, and with ±f as the product of their powers, they are f's square-free
// factorization, which is unique. No result when a factor's coefficients are too wide to lift or
// the image has factors that the integers do not have.
std::optional<IntFactorList> lift_image(const FactorList& image, std::uint64_t scale, std::int64_t p, const IntPoly& whole)
{
    IntFactorList list;
    IntPoly product = int_poly_from_poly(poly_one());
    for (const Factor& factor : image.factors) {
        if (poly_is_constant(factor.poly))
            continue;
        const Poly lifted = lift_factor(factor.poly, scale, p);
        product = int_poly_multiply(product, int_poly_power(int_poly_from_poly(lifted), factor.multiplicity));
        list.length = factor.multiplicity - 1;
        factor_list_append(list, decimal_from_poly(lifted));
    }
    if (int_poly_equal(product, whole))
        return list;
    if (int_poly_equal(int_poly_negate(product), whole)) {
        attach_negative_sign(list);
        return list;
    }
    return std::nullopt;
}

// f primitive, not a monomial: its factorization read off its images modulo the certificate
// primes, when one of them proves it. An image that keeps f's degree and is square-free proves f
// square-free: a repeated factor of f (primitive, its lead dividing f's) would keep its degree
// modulo p and divide the image twice. Otherwise the image's factors are lifted and checked.
std::optional<IntFactorList> factors_from_images(const Poly& f)
{
    const std::uint64_t scale = magnitude(poly_lead(f));
    std::optional<IntPoly> whole;  // f in Z[x], made only when a lifted product needs it
    for (const std::int64_t p : kCertificatePrimes) {
        if (scale % static_cast<std::uint64_t>(p) == 0)
            continue;  // the image would lose f's degree
        const FactorList image = squarefree_mod(p, poly_reduce(f, p));
        if (image.length == 1) {
            IntFactorList list;
            factor_list_append(list, decimal_from_poly(f));
            return list;
        }
        if (!whole)
            whole = int_poly_from_poly(f);
        if (std::optional<IntFactorList> list = lift_image(image, scale, p, *whole))
            return list;
    }
    return std::nullopt;
}

}  // namespace

IntFactorList squarefree_int(Poly f)
{
    if (poly_is_zero(f))
        raise_failure(Failure::cannot_compute);
    IntFactorList result;
    if (poly_is_constant(f)) {
        factor_list_append(result, decimal_from_poly(f));
        return result;
    }
    // A common divisor of the coefficients survives every gcd, so the steps below would never
    // reach a constant: such input is refused before any arithmetic.
    if (content(f) != 1)
        raise_failure(Failure::not_primitive);
    if (f.terms.size() == 1)
        return monomial_list(f.terms[0]);
    // Most polynomials are square-free or have factors with small coefficients: an image modulo a
    // prime then gives the factorization, proven, at a fraction of a gcd's cost.
    if (std::optional<IntFactorList> list = factors_from_images(f))
        return std::move(*list);

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
        factor_list_append(result, decimal_from_int_poly(a));
    }
    // b is now the sign s; it belongs to multiplicity 1.
    if (int_poly_lead_sign(b) < 0)
        attach_negative_sign(result);
    return result;
}
