#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "poly/failure.h"
#include "squarefree/squarefree.h"

// The factors come from one gcd with the derivative and then a chain of gcds whose results are
// large (Musser's arrangement for characteristic p): with g = gcd(f, f') and w = f / g, the
// product of the factors whose multiplicity p does not divide, each round takes y = gcd(w, g);
// w / y holds the factors of multiplicity i, and w = y, g = g / y go on to multiplicity i + 1.
// When w is used up, g holds the factors whose multiplicity p divides: it is a polynomial in
// x^p, and its p-th root is factored the same way, its multiplicities times p.
//
// The list is the one the classical recursion on gcd(f, f') builds: the same factor at each
// multiplicity (the factor of multiplicity 1 carrying the leading coefficient, the others monic)
// and the same length, ones at the end included. Its gcds have the lower remainders to walk
// through, while this chain stops each gcd at a large result.

namespace {

// The length of the recursion's list for a polynomial whose non-constant factors have these
// multiplicities. Each level of the recursion either deflates a monic polynomial in x^p (the
// length is p times that of its root's list), makes a non-monic one monic (one more), or passes to
// gcd(f, f'), whose multiplicities are f's less one where p does not divide them, a multiplicity
// one dropping out (one more); a square-free polynomial ends it (length one). The levels between
// two changes of shape are counted in one jump, so that x^k costs nothing for a large k.
std::int64_t recursion_length(std::int64_t p, std::vector<std::int64_t> multiplicities, bool monic)
{
    std::int64_t scale = 1, offset = 0;  // length = scale · (length for the current multiplicities) + offset
    for (;;) {
        std::sort(multiplicities.begin(), multiplicities.end());
        multiplicities.erase(std::unique(multiplicities.begin(), multiplicities.end()), multiplicities.end());
        if (multiplicities.empty() || multiplicities == std::vector<std::int64_t>{1})
            return scale + offset;
        const bool in_x_to_the_p =
            std::all_of(multiplicities.begin(), multiplicities.end(), [p](std::int64_t m) { return m % p == 0; });
        if (in_x_to_the_p) {
            if (!monic) {
                offset += scale;
                monic = true;
                continue;
            }
            for (std::int64_t& m : multiplicities)
                m /= p;
            scale *= p;
            continue;
        }
        // A multiplicity m that p does not divide falls by one per level until p divides it or it
        // drops out, after m mod p levels. A lone multiplicity below p reaches one first.
        std::int64_t levels = p;
        for (const std::int64_t m : multiplicities)
            if (m % p != 0)
                levels = std::min(levels, m % p);
        if (multiplicities.size() == 1 && multiplicities[0] < p)
            levels = multiplicities[0] - 1;
        offset += scale * levels;
        monic = true;  // gcd(f, f') is monic
        std::vector<std::int64_t> next;
        for (const std::int64_t m : multiplicities)
            if (m % p == 0)
                next.push_back(m);
            else if (m > levels)
                next.push_back(m - levels);
        multiplicities = std::move(next);
    }
}

// The factors found so far by multiplicity; two found at the same multiplicity (a constant and
// a monomial) are multiplied.
class Found {
public:
    explicit Found(std::int64_t p) : p_(p) {}

    void add(std::int64_t multiplicity, Poly factor)
    {
        if (poly_is_one(factor))
            return;
        auto [at, fresh] = factors_.try_emplace(multiplicity, std::move(factor));
        if (!fresh)
            at->second = poly_multiply(at->second, p_, factor);
    }

    FactorList list(bool monic) &&
    {
        FactorList out;
        std::vector<std::int64_t> multiplicities;
        for (auto& [multiplicity, factor] : factors_) {
            if (!poly_is_constant(factor))
                multiplicities.push_back(multiplicity);
            out.factors.push_back(Factor{multiplicity, std::move(factor)});
        }
        out.length = recursion_length(p_, std::move(multiplicities), monic);
        return out;
    }

private:
    std::int64_t p_;
    std::map<std::int64_t, Poly> factors_;
};

// w·x^-1 for w with no constant term.
Poly divided_by_x(Poly w)
{
    for (Term& t : w.terms)
        --t.exponent;
    return w;
}

// The chain of gcd(w, g) from multiplicity 1 up, scale times each multiplicity; leaves in g the
// factors whose multiplicity p divides (the constant one when there are none).
void factors_up_the_chain(Found& found, std::int64_t p, std::int64_t scale, Poly w, Poly& g)
{
    for (std::int64_t i = 1; !poly_is_constant(w); ++i) {
        if (g.terms.size() == 1 && poly_degree(g) > 0) {
            // g = x^e: the factors of w other than x have multiplicity i, and x has multiplicity
            // i + e when it divides w, e otherwise. Taken at once, so x^k·h costs no k rounds.
            const std::int64_t e = poly_degree(g);
            if (w.terms.front().exponent > 0) {
                found.add(i * scale, divided_by_x(std::move(w)));
                found.add((i + e) * scale, Poly{{Term{1, 1}}});
            } else {
                found.add(i * scale, std::move(w));
                found.add(e * scale, Poly{{Term{1, 1}}});
            }
            g = poly_one();
            return;
        }
        Poly y = poly_gcd_mod(w, g, p);
        if (poly_is_one(y)) {
            found.add(i * scale, std::move(w));
            return;
        }
        found.add(i * scale, poly_quotient(w, p, y));
        g = poly_quotient(g, p, y);
        w = std::move(y);
    }
}

}  // namespace

FactorList squarefree_mod(std::int64_t p, Poly f)
{
    f = poly_reduce(f, p);
    if (poly_is_zero(f))
        raise_failure(Failure::cannot_compute);
    const bool monic = poly_lead(f) == 1;
    Found found(p);
    if (poly_is_constant(f)) {
        found.add(1, std::move(f));
        return std::move(found).list(monic);
    }
    // The leading coefficient joins multiplicity 1; below it every polynomial is monic.
    std::int64_t scale = 1;
    for (;;) {
        if (f.terms.size() == 1) {  // c·x^k
            found.add(1, Poly{{Term{0, poly_lead(f)}}});
            found.add(poly_degree(f) * scale, Poly{{Term{1, 1}}});
            break;
        }
        const Poly derivative = poly_derivative(f, p);
        if (poly_is_zero(derivative)) {  // f = c·h^p: on to h
            found.add(1, Poly{{Term{0, poly_lead(f)}}});
            poly_make_monic(p, f);
            poly_deflate(f, p);
            scale *= p;
            continue;
        }
        Poly g = poly_gcd_mod(derivative, f, p);
        Poly w = poly_is_one(g) ? std::move(f) : poly_quotient(f, p, g);
        factors_up_the_chain(found, p, scale, std::move(w), g);
        if (poly_is_constant(g))
            break;
        f = std::move(poly_deflate(g, p));
        scale *= p;
    }
    return std::move(found).list(monic);
}
