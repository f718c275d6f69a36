#include <gmp.h>

#include <algorithm>
#include <functional>
#include <cmath>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "multimodular/multimodular.h"
#include "residue/modulus.h"

namespace {

__extension__ typedef __int128 Int128;

std::uint64_t magnitude(Coef c)
{
    return c < 0 ? 0 - static_cast<std::uint64_t>(c) : static_cast<std::uint64_t>(c);
}

// The decimal digits of a signed 128-bit value.
std::string decimal(Int128 v)
{
    if (v >= INT64_MIN && v <= INT64_MAX)
        return std::to_string(static_cast<std::int64_t>(v));
    const bool negative = v < 0;
    UInt128 m = negative ? 0 - static_cast<UInt128>(v) : static_cast<UInt128>(v);
    std::string digits;
    while (m != 0) {
        digits.push_back(static_cast<char>('0' + static_cast<int>(m % 10)));
        m /= 10;
    }
    if (negative)
        digits.push_back('-');
    std::reverse(digits.begin(), digits.end());
    return digits;
}

// The multiplicities and degrees of an image's non-constant factors.
using Shape = std::vector<std::pair<std::int64_t, Exponent>>;

// A candidate looks settled when its coefficients stay this many bits inside the symmetric range.
constexpr double kSettledMargin = 8;

}  // namespace

// Integers below the product P of the primes p_0 .. p_(n-1), in mixed radix: u = d_0 + p_0·(d_1 +
// p_1·(d_2 + ...)) with digits d_i < p_i. The symmetric residue is u when u <= (P - 1)/2, u - P
// above.
struct FactorReconstruction::State {
    struct Candidate {
        std::int64_t multiplicity;
        std::size_t length;                         // coefficients
        std::vector<std::vector<Residue>> digits;  // digits[i][c]: digit i of coefficient c
    };

    Poly f;
    std::uint64_t lead = 0;
    double f_bits = 0;      // log2 ‖f‖∞
    double bound_bits = 0;  // log2 of 2·|lc(f)|·2^deg f·‖f‖2: past it the candidates are exact
    bool square_free = false;

    std::int64_t e = -1;
    Shape shape;
    std::vector<std::uint32_t> primes;
    double prime_bits = 0;                 // log2 P
    std::vector<double> prefix_bits;       // log2 of p_0·…·p_(i-1), for i = 0 .. n
    std::vector<std::uint32_t> half;       // the digits of (P - 1)/2
    std::vector<Candidate> candidates;
    bool stable = false;

    // Whether coefficient c of a candidate is above (P - 1)/2: its symmetric residue is negative.
    bool negative(const Candidate& a, std::size_t c) const
    {
        for (std::size_t i = primes.size(); i-- > 0;) {
            const Residue d = a.digits[i][c];
            if (d != half[i])
                return d > half[i];
        }
        return false;
    }

    // The symmetric residue of coefficient c modulo q.
    std::uint64_t value_mod(const Candidate& a, std::size_t c, const Modulus& q, std::uint64_t product_mod_q) const
    {
        std::uint64_t v = 0;
        for (std::size_t i = primes.size(); i-- > 0;)
            v = q.reduce(q.mul(v, q.reduce(primes[i])) + a.digits[i][c]);
        return negative(a, c) ? (v + q.p - product_mod_q) % q.p : v;
    }

    // An upper bound on log2 of the symmetric residue's magnitude: its top mixed-radix digit t
    // (of u, or of P - 1 - u for a negative one) bounds it by (d_t + 1)·p_0·…·p_(t-1).
    double magnitude_bits(const Candidate& a, std::size_t c) const
    {
        const bool below_zero = negative(a, c);
        for (std::size_t i = primes.size(); i-- > 0;) {
            const Residue d = below_zero ? primes[i] - 1 - a.digits[i][c] : a.digits[i][c];
            if (d != 0)
                return std::log2(static_cast<double>(d) + 1) + prefix_bits[i];
        }
        return 0;  // |v| <= 1
    }

    // P modulo q.
    std::uint64_t product_mod(const Modulus& q) const
    {
        std::uint64_t v = 1;
        for (const std::uint32_t p : primes)
            v = q.mul(v, q.reduce(p));
        return v;
    }

    // Whether P exceeds x.
    bool product_exceeds(UInt128 x) const
    {
        UInt128 product = 1;
        for (const std::uint32_t p : primes) {
            product *= p;
            if (product > x)
                return true;
        }
        return false;
    }

    // log2 of the largest coefficient of a candidate, from above.
    double largest_bits(const Candidate& a) const
    {
        double largest = 0;
        for (std::size_t c = 0; c < a.length; ++c)
            largest = std::max(largest, magnitude_bits(a, c));
        return largest;
    }

    bool settled(const Candidate& a) const { return largest_bits(a) + 1 + kSettledMargin < prime_bits; }

    // The candidate's symmetric residues modulo q, as a term list.
    Poly candidate_mod(const Candidate& a, const Modulus& q, std::uint64_t product_mod_q) const
    {
        Poly image;
        for (std::size_t c = 0; c < a.length; ++c)
            if (const std::uint64_t v = value_mod(a, c, q, product_mod_q); v != 0)
                image.terms.push_back(Term{static_cast<Exponent>(c), static_cast<Coef>(v)});
        return image;
    }

    // The symmetric residue of coefficient c divided by `divisor`, in decimal.
    std::string decimal_value(const Candidate& a, std::size_t c, std::uint64_t divisor) const;

    void restart()
    {
        primes.clear();
        prime_bits = 0;
        prefix_bits.assign(1, 0.0);
        half.clear();
        candidates.clear();
        stable = false;
    }
};

std::string FactorReconstruction::State::decimal_value(const Candidate& a, std::size_t c, std::uint64_t divisor) const
{
    const bool below_zero = negative(a, c);
    if (prime_bits < 124) {  // u and P fit 128 bits
        UInt128 u = 0, product = 1;
        for (std::size_t i = primes.size(); i-- > 0;)
            u = u * primes[i] + a.digits[i][c];
        for (const std::uint32_t p : primes)
            product *= p;
        const Int128 v = below_zero ? -static_cast<Int128>(product - u) : static_cast<Int128>(u);
        return decimal(v / static_cast<Int128>(divisor));
    }
    mpz_t u;
    mpz_init(u);
    for (std::size_t i = primes.size(); i-- > 0;) {
        mpz_mul_ui(u, u, primes[i]);
        mpz_add_ui(u, u, a.digits[i][c]);
    }
    if (below_zero) {
        mpz_t product;
        mpz_init_set_ui(product, 1);
        for (const std::uint32_t p : primes)
            mpz_mul_ui(product, product, p);
        mpz_sub(u, u, product);
        mpz_clear(product);
    }
    mpz_divexact_ui(u, u, divisor);
    std::string digits(mpz_sizeinbase(u, 10) + 2, '\0');
    mpz_get_str(digits.data(), 10, u);
    digits.resize(std::char_traits<char>::length(digits.c_str()));
    mpz_clear(u);
    return digits;
}

FactorReconstruction::FactorReconstruction(const Poly& f) : state_(std::make_unique<State>())
{
    State& s = *state_;
    s.f = f;
    s.lead = magnitude(poly_lead(f));
    double largest = 0, squares = 0;
    for (const Term& t : f.terms) {
        const double c = static_cast<double>(magnitude(t.coefficient));
        largest = std::max(largest, c);
        squares += c * c;
    }
    s.f_bits = std::log2(largest);
    // Mignotte: a factor a of f has ‖a‖∞ <= 2^deg a·‖f‖2; the residues stand for lc(f)/lc(a)·a, and
    // their symmetric range is half the product.
    s.bound_bits = 1 + std::log2(static_cast<double>(s.lead)) + static_cast<double>(poly_degree(f)) + 0.5 * std::log2(squares);
    s.restart();
}

FactorReconstruction::~FactorReconstruction() = default;

std::size_t FactorReconstruction::primes() const
{
    return state_->primes.size();
}

bool FactorReconstruction::stable() const
{
    return state_->stable;
}

bool FactorReconstruction::past_bound() const
{
    return state_->prime_bits > state_->bound_bits;
}

bool FactorReconstruction::plausible() const
{
    const State& s = *state_;
    return !s.candidates.empty() &&
           std::all_of(s.candidates.begin(), s.candidates.end(), [&s](const State::Candidate& a) { return s.settled(a); });
}

namespace {

// w^k modulo p, by repeated squaring.
Poly power_mod(const Poly& w, std::int64_t k, std::int64_t p)
{
    Poly result = poly_one(), square = w;
    for (; k > 0; k >>= 1) {
        if (k & 1)
            result = poly_multiply(result, p, square);
        if (k > 1)
            square = poly_multiply(square, p, square);
    }
    return result;
}

// f(x0) modulo p.
std::uint64_t evaluate(const Poly& f, std::uint64_t x0, const Modulus& mod)
{
    std::uint64_t value = 0, power = 1;
    Exponent at = 0;
    for (const Term& t : f.terms) {
        for (; at < t.exponent; ++at)
            power = mod.mul(power, x0);
        value = mod.reduce(value + mod.mul(power, static_cast<std::uint64_t>(t.coefficient)));
    }
    return value;
}

}  // namespace

std::optional<FactorList> FactorReconstruction::image_by_division(
    std::int64_t p, const std::function<FactorList(const Poly&)>& factor_rest) const
{
    const State& s = *state_;
    std::vector<bool> settled;
    for (const State::Candidate& a : s.candidates)
        settled.push_back(s.settled(a));
    const std::size_t count = static_cast<std::size_t>(std::count(settled.begin(), settled.end(), true));
    if (count == 0 || count == settled.size())
        return std::nullopt;
    const Modulus mod(p);
    const std::uint64_t product = s.product_mod(mod);
    // The rest: f divided by the settled candidates to their multiplicities. A division that is not
    // exact shows at a point: the rest times the divisors differs from f there.
    Poly rest = poly_reduce(s.f, p);
    const std::uint64_t x0 = 3 + static_cast<std::uint64_t>(poly_degree(rest)) % (mod.p - 5);
    std::uint64_t divisors_at_x0 = 1;
    std::vector<Poly> images(s.candidates.size());
    std::size_t unsettled_at_one = 0, unsettled = 0;
    for (std::size_t k = 0; k < s.candidates.size(); ++k) {
        const State::Candidate& a = s.candidates[k];
        if (!settled[k]) {
            ++unsettled;
            unsettled_at_one += a.multiplicity == 1 ? 1 : 0;
            continue;
        }
        images[k] = s.candidate_mod(a, mod, product);
        const Poly divisor = power_mod(images[k], a.multiplicity, p);
        rest = poly_quotient(rest, p, divisor);
        divisors_at_x0 = mod.mul(divisors_at_x0, evaluate(divisor, x0, mod));
    }
    if (mod.mul(evaluate(rest, x0, mod), divisors_at_x0) != evaluate(poly_reduce(s.f, p), x0, mod))
        return std::nullopt;
    // The unsettled candidates' images: the rest itself, or its factors.
    FactorList rest_image;
    if (unsettled == 1 && unsettled_at_one == 1)
        factor_list_append(rest_image, std::move(rest));
    else
        rest_image = factor_rest(rest);
    FactorList image;
    std::size_t next_rest = 0;
    for (std::size_t k = 0; k < s.candidates.size(); ++k) {
        const std::int64_t multiplicity = s.candidates[k].multiplicity;
        Poly node;
        if (settled[k]) {
            node = std::move(images[k]);
        } else {
            while (next_rest < rest_image.factors.size() && poly_is_constant(rest_image.factors[next_rest].poly))
                ++next_rest;
            if (next_rest == rest_image.factors.size() || rest_image.factors[next_rest].multiplicity != multiplicity)
                return std::nullopt;  // the rest's factors modulo p do not have the candidates' shape
            node = std::move(rest_image.factors[next_rest++].poly);
        }
        factor_list_append_ones(image, multiplicity - 1 - image.length);
        factor_list_append(image, std::move(node));
    }
    return image;
}

FactorReconstruction::Image FactorReconstruction::add(std::int64_t p, const FactorList& image)
{
    State& s = *state_;
    Shape shape;
    std::int64_t e = 0;
    for (const Factor& factor : image.factors)
        if (!poly_is_constant(factor.poly)) {
            shape.emplace_back(factor.multiplicity, poly_degree(factor.poly));
            e += (factor.multiplicity - 1) * poly_degree(factor.poly);
        }
    if (e == 0) {
        s.square_free = true;
        return Image::square_free;
    }
    Image outcome = Image::combined;
    if (!s.candidates.empty() && (e > s.e || (e == s.e && shape != s.shape)))
        return Image::unlucky;
    if (!s.candidates.empty() && e < s.e) {
        s.restart();
        outcome = Image::restarted;
    }
    s.e = e;
    s.shape = shape;

    const Modulus mod(p);
    const std::uint32_t prime = static_cast<std::uint32_t>(p);
    const std::uint64_t lead = mod.reduce(s.lead);
    const std::size_t n = s.primes.size();
    // P modulo p and its inverse: the weight of the new digit.
    std::uint64_t product = 1;
    for (const std::uint32_t q : s.primes)
        product = mod.mul(product, mod.reduce(q));
    const std::uint64_t product_inverse = n == 0 ? 1 : mod.inverse(product);

    bool stable = n > 0;
    std::size_t index = 0;
    for (const Factor& factor : image.factors) {
        if (poly_is_constant(factor.poly))
            continue;
        // lc(f)·(the factor made monic) modulo p, by exponent.
        const std::size_t length = static_cast<std::size_t>(poly_degree(factor.poly) + 1);
        std::vector<Residue> target(length, 0);
        const std::uint64_t scale =
            mod.mul(lead, mod.inverse(static_cast<std::uint64_t>(coef_reduce(poly_lead(factor.poly), p))));
        for (const Term& t : factor.poly.terms)
            target[static_cast<std::size_t>(t.exponent)] =
                static_cast<Residue>(mod.mul(static_cast<std::uint64_t>(coef_reduce(t.coefficient, p)), scale));
        if (n == 0) {
            s.candidates.push_back(State::Candidate{factor.multiplicity, length, {std::move(target)}});
            continue;
        }
        State::Candidate& a = s.candidates[index++];
        // Garner: the new digit makes the value congruent to the target modulo p.
        std::vector<Residue> digit(length);
        for (std::size_t c = 0; c < length; ++c) {
            std::uint64_t v = 0;
            for (std::size_t i = n; i-- > 0;)
                v = mod.reduce(mod.mul(v, mod.reduce(s.primes[i])) + a.digits[i][c]);
            digit[c] = static_cast<Residue>(mod.mul(mod.reduce(target[c] + p - v), product_inverse));
            // The symmetric residue stays the same when the new digit is 0 above zero, p - 1 below.
            if (digit[c] != (s.negative(a, c) ? prime - 1 : 0))
                stable = false;
        }
        a.digits.push_back(std::move(digit));
    }

    s.primes.push_back(prime);
    s.prime_bits += std::log2(static_cast<double>(prime));
    s.prefix_bits.push_back(s.prime_bits);
    // (P - 1)/2: P - 1 has the digits p_i - 1; halved from the top digit down.
    s.half.assign(s.primes.size(), 0);
    std::uint64_t carry = 0;
    for (std::size_t i = s.primes.size(); i-- > 0;) {
        const std::uint64_t x = carry * s.primes[i] + (s.primes[i] - 1);
        s.half[i] = static_cast<std::uint32_t>(x / 2);
        carry = x % 2;
    }
    s.stable = stable;
    return outcome;
}

std::optional<FactorListOf<DecimalPoly>> FactorReconstruction::prove() const
{
    const State& s = *state_;
    FactorListOf<DecimalPoly> list;
    if (s.square_free) {
        DecimalPoly whole;
        for (const Term& t : s.f.terms)
            whole.terms.push_back(DecimalTerm{t.exponent, std::to_string(t.coefficient)});
        factor_list_append(list, std::move(whole));
        return list;
    }
    if (s.candidates.empty() || !s.product_exceeds(2 * static_cast<UInt128>(s.lead)))
        return std::nullopt;  // the lead lc(f) itself is not yet among the symmetric residues

    // The content of each candidate divides its lead lc(f): it is the gcd of lc(f) and the
    // coefficients modulo lc(f). Then lc(a_k) = lc(f) / content.
    const std::size_t count = s.candidates.size();
    std::vector<std::uint64_t> contents(count, 1);
    if (s.lead > 1) {
        const Modulus by_lead(static_cast<std::int64_t>(s.lead));
        const std::uint64_t product = s.product_mod(by_lead);
        for (std::size_t k = 0; k < count; ++k) {
            std::uint64_t g = s.lead;
            for (std::size_t c = 0; c < s.candidates[k].length && g > 1; ++c)
                g = std::gcd(g, s.value_mod(s.candidates[k], c, by_lead, product));
            contents[k] = g;
        }
    }
    UInt128 leads = 1;
    for (std::size_t k = 0; k < count; ++k)
        for (std::int64_t i = 0; i < s.candidates[k].multiplicity && leads <= s.lead; ++i)
            leads *= s.lead / contents[k];
    if (leads != s.lead)
        return std::nullopt;

    // log2 of ‖f‖∞ + ∏ ‖a_k‖₁^k, from above.
    double product_bits = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const State::Candidate& a = s.candidates[k];
        double largest = 0;
        for (std::size_t c = 0; c < a.length; ++c)
            largest = std::max(largest, s.magnitude_bits(a, c));
        const double one_norm = std::log2(static_cast<double>(a.length)) + largest - std::log2(static_cast<double>(contents[k]));
        product_bits += static_cast<double>(a.multiplicity) * std::max(one_norm, 0.0);
    }
    const double needed = 1 + std::max(s.f_bits, product_bits) + 1e-6;

    // P ≡ f modulo further primes until all the primes' product passes the bound.
    double bits = s.prime_bits;
    for (std::int64_t q = prime_below(std::int64_t{1} << 30); bits <= needed; q = prime_below(q)) {
        if (s.lead % static_cast<std::uint64_t>(q) == 0 ||
            std::find(s.primes.begin(), s.primes.end(), static_cast<std::uint32_t>(q)) != s.primes.end())
            continue;
        const Modulus mod(q);
        const std::uint64_t product = s.product_mod(mod);
        Poly image = poly_one();
        for (std::size_t k = 0; k < count; ++k) {
            const State::Candidate& a = s.candidates[k];
            const std::uint64_t divide = mod.inverse(mod.reduce(contents[k]));
            Poly factor;
            for (std::size_t c = 0; c < a.length; ++c)
                if (const std::uint64_t v = mod.mul(s.value_mod(a, c, mod, product), divide); v != 0)
                    factor.terms.push_back(Term{static_cast<Exponent>(c), static_cast<Coef>(v)});
            image = poly_multiply(image, q, power_mod(factor, a.multiplicity, q));
        }
        if (!poly_equal(image, poly_reduce(s.f, q)))
            return std::nullopt;
        bits += std::log2(static_cast<double>(q));
    }

    for (std::size_t k = 0; k < count; ++k) {
        const State::Candidate& a = s.candidates[k];
        DecimalPoly factor;
        for (std::size_t c = 0; c < a.length; ++c)
            if (a.digits.front()[c] != 0 || s.primes.size() > 1) {
                std::string digits = s.decimal_value(a, c, contents[k]);
                if (digits != "0")
                    factor.terms.push_back(DecimalTerm{static_cast<Exponent>(c), std::move(digits)});
            }
        factor_list_append_ones(list, a.multiplicity - 1 - list.length);
        factor_list_append(list, std::move(factor));
    }
    return list;
}
