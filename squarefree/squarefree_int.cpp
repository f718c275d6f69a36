#include <numeric>
#include <optional>
#include <string>
#include <utility>

#include "multimodular/multimodular.h"
#include "poly/failure.h"
#include "squarefree/squarefree.h"

namespace {

// The images modulo word primes that the factors are rebuilt from before Yun's gcds take over: far
// more than the coefficients of any factor of a typed polynomial need, unless the primes keep
// turning out unlucky.
constexpr int kMostImages = 48;
// The first image is taken modulo a prime below 2^20 where the degree allows (the prime must
// exceed it): its products need two transform primes, not three, so its gcds pass to the
// half-gcd at a lower degree, and each inverse takes fewer steps. It alone decides a square-free
// input. The others are taken modulo the primes below 2^31, for the most bits per image.
constexpr std::int64_t kFirstPrimeBelow = std::int64_t{1} << 20;

// The primes whose images prove that a gcd of Yun's steps is one; the second serves when the first
// divides a leading coefficient or gives images with factors that the integers do not have.
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
        list.length = std::max<std::int64_t>(list.length, 1);
    }
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

// Yun's arrangement of the repeated gcd with the derivative, for f primitive with a positive lead.
// With f = a_1·a_2^2⋯a_k^k (a_j primitive with positive leads): g = gcd(f, f') = a_2·a_3^2⋯,
// b = f / g = a_1⋯a_k, and d = f' / g - b' = b·(a_1'/a_1 + 2a_2'/a_2 + ⋯) - b·(a_1'/a_1 + a_2'/a_2 +
// ⋯). Then gcd(b, d) = a_1; dividing it out of b and d and subtracting the derivative again exposes
// a_2, and so on. After the full-degree gcd every gcd is bounded by the degree of b, so a high
// multiplicity costs one cheap step per unit instead of one full gcd; a multiplicity without a
// factor costs only its certificate.
IntFactorList by_gcds(const Poly& f)
{
    IntFactorList result;
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
    return result;
}

// f primitive with a positive lead, at least two terms: its factors rebuilt from images modulo
// word primes and proven (multimodular.h), by Yun's gcds when that does not succeed. A square-free
// image of full degree proves f square-free at once.
// The primes of the images in turn: none that divides lc(f), where the image would lose f's degree.
class ImagePrimes {
public:
    explicit ImagePrimes(const Poly& f)
        : lead_(magnitude(poly_lead(f))), below_(poly_degree(f) < kFirstPrimeBelow / 2 ? kFirstPrimeBelow : kLargest)
    {
    }

    std::int64_t next()
    {
        std::int64_t p = prime_below(below_);
        while (lead_ % static_cast<std::uint64_t>(p) == 0)
            p = prime_below(p);
        below_ = p < kFirstPrimeBelow ? kLargest : p;
        return p;
    }

private:
    static constexpr std::int64_t kLargest = std::int64_t{1} << 31;
    std::uint64_t lead_;
    std::int64_t below_;
};

IntFactorList factor_primitive(const Poly& f)
{
    FactorReconstruction reconstruction(f);
    ImagePrimes primes(f);
    for (int images = 0; images < kMostImages; ++images) {
        const std::int64_t p = primes.next();
        // After the first image, the candidates that look settled are divided out of f modulo p: only
        // what they leave needs a square-free factorization (none for a single factor).
        std::optional<FactorList> image;
        if (reconstruction.primes() > 0)
            image = reconstruction.image_by_division(p, [p](const Poly& rest) { return squarefree_mod(p, rest); });
        if (!image)
            image = squarefree_mod(p, poly_reduce(f, p));
        const FactorReconstruction::Image outcome = reconstruction.add(p, *image);
        if (outcome == FactorReconstruction::Image::unlucky)
            continue;
        // A proof is worth trying once the candidates look exact, stop changing, or are past the
        // bound on their coefficients.
        if (outcome == FactorReconstruction::Image::square_free || reconstruction.plausible() ||
            reconstruction.stable() || reconstruction.past_bound())
            if (std::optional<IntFactorList> list = reconstruction.prove())
                return std::move(*list);
    }
    return by_gcds(f);
}

// Every exponent of the factors times g: the factors of h(x^g) from those of h.
void raise_exponents(IntFactorList& list, Exponent g)
{
    for (FactorOf<DecimalPoly>& factor : list.factors)
        for (DecimalTerm& t : factor.poly.terms)
            t.exponent *= g;
}

// x joins multiplicity k of a list whose factors x does not divide.
void attach_power_of_x(IntFactorList& list, std::int64_t k)
{
    auto at = list.factors.begin();
    while (at != list.factors.end() && at->multiplicity < k)
        ++at;
    if (at != list.factors.end() && at->multiplicity == k) {
        for (DecimalTerm& t : at->poly.terms)
            ++t.exponent;
    } else {
        list.factors.insert(at, FactorOf<DecimalPoly>{k, decimal_from_poly(Poly{{Term{1, 1}}})});
        list.length = std::max(list.length, k);
    }
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

    // f = ±x^k·h(x^g) with h(0) != 0 and g the gcd of the exponents left. Over the integers h(x^g)
    // is square-free when h is (a repeated root α of h(x^g) is not zero, and α^g would be a
    // repeated root of h), and coprime factors of h stay coprime the same way; x, which divides no
    // factor of h, joins multiplicity k. The cost then follows h, whatever the degree of f.
    const Exponent k = f.terms.front().exponent;
    Exponent g = 0;
    for (Term& t : f.terms) {
        t.exponent -= k;
        g = std::gcd(g, t.exponent);
    }
    const bool negative = poly_lead(f) < 0;
    for (Term& t : f.terms) {
        t.exponent /= g;
        if (negative)
            t.coefficient = -t.coefficient;
    }
    // Dense work on a polynomial of a degree that no integer gcd could take is refused at once, as
    // Yun's gcds would refuse it: a sparse f whose images need that much ends with exhausted memory.
    const DenseLengthLimit limit(int_poly_length_limit());
    result = factor_primitive(f);
    raise_exponents(result, g);
    if (k > 0)
        attach_power_of_x(result, k);
    if (negative)
        attach_negative_sign(result);
    return result;
}

IntFactorList squarefree_int_by_gcds(Poly f)
{
    const bool negative = poly_lead(f) < 0;
    if (negative)
        for (Term& t : f.terms)
            t.coefficient = -t.coefficient;
    IntFactorList result = by_gcds(f);
    if (negative)
        attach_negative_sign(result);
    return result;
}
