#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "poly/failure.h"
#include "poly/thresholds.h"
#include "squarefree/squarefree.h"

// Two arrangements of the gcds give the same list.
//
// The classical recursion: with g = gcd(f, f'), factor g first, then move the distinct factors of
// f, w = f / g, up one multiplicity each. A polynomial in x^p is factored through its p-th root. Each
// level makes exactly one recursive call, so the recursion is a chain: it is run as a descent that
// records what every level has to do on the way back, and an ascent that does it, with no call
// stack deeper than one level whatever the multiplicities. Its polynomials stay as sparse as f's
// powers allow, and a multiplicity far above p costs few levels (a p-th root divides it by p).
//
// The chain of gcds with large results (Musser's arrangement for characteristic p): with g and w as
// above (w the product of the factors whose multiplicity p does not divide), each round takes
// y = gcd(w, g); w / y holds the factors of multiplicity i, and w = y, g = g / y go on to
// multiplicity i + 1. When w is used up, g holds the factors whose multiplicity p divides: a
// polynomial in x^p, whose p-th root is factored the same way, its multiplicities times p. Each
// gcd stops at a large result, where the recursion's gcds walk through the lower remainders too
// (on the dense products of the benchmarks, remainder sequences about 40% shorter in all). It takes one round per multiplicity, and
// its quotients g / y can be dense where g is sparse: it serves dense polynomials, and hands the
// factors of multiplicities above p to the recursion.

namespace {

// The length of the recursion's list for a polynomial whose non-constant factors have these
// multiplicities. Each level of the recursion either deflates a monic polynomial in x^p (the
// length is p times that of its root's list), makes a non-monic one monic (one more), or passes to
// gcd(f, f'), whose multiplicities are f's less one where p does not divide them, a multiplicity
// one dropping out (one more); a square-free polynomial ends it (length one). The levels between
// two changes of shape are counted in one jump, so that x^k costs nothing for a large k.
std::int64_t recursion_length(std::int64_t p, std::vector<std::int64_t> multiplicities, bool monic)
{
    // Multiplicities all below p each fall by one per level: the list is as long as the largest.
    if (!multiplicities.empty() &&
        std::all_of(multiplicities.begin(), multiplicities.end(), [p](std::int64_t m) { return m < p; }))
        return *std::max_element(multiplicities.begin(), multiplicities.end());
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

// What one level does with the list of the level below it.
struct Level {
    bool deflated;  // f was a polynomial in x^p: multiplicities are multiplied by p
    Poly w;         // otherwise: f / g, the distinct factors to move up
};

struct Carry {
    std::int64_t multiplicity;
    Poly poly;
};

// Multiplicities k·p of the new list hold multiplicity k of the p-th root's list; the rest hold one.
FactorList spread_by_p(FactorList inner, std::int64_t p)
{
    for (Factor& factor : inner.factors)
        factor.multiplicity *= p;
    inner.length *= p;
    return inner;
}

// Moves the factors of w up one multiplicity: in every multiplicity k in turn, y = gcd(multiplicity k, w)
// leaves multiplicity k, joins multiplicity k + 1 and leaves w. What is left of w joins multiplicity 1.
// Multiplicities that hold the constant one, and every multiplicity once w is the constant one, are
// passed over: their gcd with w is one and nothing would change.
FactorList distribute(FactorList inner, Poly w, std::int64_t p)
{
    const std::int64_t last = inner.length + 1;  // the extra multiplicity that may receive the top carry
    FactorList out;
    std::optional<Carry> carry;

    const auto emit = [&out](std::int64_t multiplicity, Poly poly) {
        factor_list_append_ones(out, multiplicity - 1 - out.length);
        factor_list_append(out, std::move(poly));
    };
    const auto visit = [&](std::int64_t multiplicity, Poly current) {
        if (!poly_is_one(w)) {
            Poly y = poly_gcd_mod(current, w, p);
            if (!poly_is_one(y)) {
                current = poly_quotient(current, p, y);
                w = poly_quotient(w, p, y);
                emit(multiplicity, std::move(current));
                carry = Carry{multiplicity + 1, std::move(y)};
                return;
            }
        }
        emit(multiplicity, std::move(current));
    };
    const auto flush_carry_below = [&](std::int64_t multiplicity) {
        while (carry && carry->multiplicity < multiplicity && carry->multiplicity < last) {
            Carry moving = std::move(*carry);
            carry.reset();
            visit(moving.multiplicity, std::move(moving.poly));
        }
    };

    for (Factor& factor : inner.factors) {
        flush_carry_below(factor.multiplicity);
        Poly current = std::move(factor.poly);
        if (carry && carry->multiplicity == factor.multiplicity) {
            current = poly_multiply(current, p, carry->poly);
            carry.reset();
        }
        visit(factor.multiplicity, std::move(current));
    }
    flush_carry_below(last);
    if (carry)
        emit(carry->multiplicity, std::move(carry->poly));
    factor_list_append_ones(out, last - out.length);

    // What is left of w (the factors of multiplicity one and the leading coefficient) joins multiplicity 1.
    if (!poly_is_one(w)) {
        if (!out.factors.empty() && out.factors.front().multiplicity == 1)
            out.factors.front().poly = poly_multiply(out.factors.front().poly, p, w);
        else
            out.factors.insert(out.factors.begin(), Factor{1, std::move(w)});
    }
    return out;
}

// The list that the recursion builds for c·x^k, k >= 1, without walking its levels (x^k has one
// level per unit of k): c at multiplicity 1 and x at multiplicity k (c·x alone when k = 1), and the
// recursion's constant ones after them.
FactorList monomial_list(std::int64_t p, const Term& term)
{
    FactorList list = monomial_factor_list<Poly>(term, [](Poly f) { return f; });
    factor_list_append_ones(list, recursion_length(p, {term.exponent}, term.coefficient == 1) - list.length);
    return list;
}

// The list by the recursion.
FactorList by_recursion(std::int64_t p, Poly f)
{
    std::vector<Level> levels;
    FactorList list;
    for (;;) {
        if (poly_is_constant(f)) {
            factor_list_append(list, std::move(f));
            break;
        }
        if (f.terms.size() == 1) {
            list = monomial_list(p, f.terms[0]);
            break;
        }
        Poly g = poly_gcd_with_derivative(f, p);
        if (poly_is_zero(g))
            raise_failure(Failure::cannot_compute);
        if (poly_is_one(g)) {
            factor_list_append(list, std::move(f));
            break;
        }
        if (poly_equal(g, f)) {
            poly_deflate(f, p);
            levels.push_back(Level{true, Poly{}});
            continue;
        }
        Poly w = poly_quotient(f, p, g);
        levels.push_back(Level{false, std::move(w)});
        f = std::move(g);
    }
    while (!levels.empty()) {
        Level level = std::move(levels.back());
        levels.pop_back();
        list = level.deflated ? spread_by_p(std::move(list), p) : distribute(std::move(list), std::move(level.w), p);
    }
    return list;
}

// The factors found so far, one per multiplicity: a second one found at a multiplicity joins the
// first (the chain's multiplicities do not meet, but the list must hold their product if they did).
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

// Whether g, not constant, is a polynomial in x^p: then g = h^p for h its p-th root (poly_deflate),
// since the p-th power map fixes every residue.
bool is_pth_power(const Poly& g, std::int64_t p)
{
    return !poly_is_constant(g) &&
           std::all_of(g.terms.begin(), g.terms.end(), [p](const Term& t) { return t.exponent % p == 0; });
}

// w^k for k >= 1, by repeated squaring.
Poly power(const Poly& w, std::int64_t k, std::int64_t p)
{
    Poly result = w, square = w;
    for (k -= 1; k > 0; k >>= 1) {
        if (k & 1)
            result = poly_multiply(result, p, square);
        if (k > 1)
            square = poly_multiply(square, p, square);
    }
    return result;
}

// g = of_w·rest: of_w made of the factors of w, rest prime to w.
struct Split {
    Poly of_w, rest;
};

// Splits g by the factors of the square-free, monic w. With P a power of p, w^P = w(x^P) (the p-th
// power map fixes every residue), and gcd(g, w^P) holds each factor of w to the smaller of P and
// its power in g. It is all of g's part made of w's factors once every such power is below P:
// certainly when the gcd's degree is below P, or when the gcd is that of the previous P. Nothing
// (no split) once P·deg w would pass a kChainSplitFraction-th of deg g: the gcds stay short next to
// the recursion's on all of g, which then follows (a factor of w to a power in the hundreds beside
// a long p-th power costs about 8% more than the recursion alone; a short power, up to 20% less).
std::optional<Split> split_by_factors_of(const Poly& w, const Poly& g, std::int64_t p)
{
    const std::int64_t w_degree = poly_degree(w), g_degree = poly_degree(g);
    Poly previous;
    for (std::int64_t power = p; power <= g_degree / (kChainSplitFraction * w_degree); power *= p) {
        Poly w_power = w;
        for (Term& t : w_power.terms)
            t.exponent *= power;
        Poly of_w = poly_gcd_mod(g, w_power, p);
        if (poly_degree(of_w) < power || poly_equal(of_w, previous)) {
            Poly rest = poly_quotient(g, p, of_w);
            return Split{std::move(of_w), std::move(rest)};
        }
        previous = std::move(of_w);
    }
    return std::nullopt;
}

// The chain of gcd(w, g) from multiplicity 1 up, scale times each multiplicity; leaves in g the
// factors whose multiplicity p divides (the constant one when there are none). A chain that
// reaches a multiplicity i above p hands the factors of multiplicity i and up, w^i times g's part
// made of w's factors, to the recursion, where a p-th root divides a high multiplicity by p
// instead of taking one round per unit; the rest of g stays. When g will not split cheaply, all of
// w^i·g goes to the recursion.
void factors_up_the_chain(Found& found, std::int64_t p, std::int64_t scale, Poly w, Poly& g)
{
    for (std::int64_t i = 1; !poly_is_constant(w); ++i) {
        if (poly_is_constant(g)) {  // nothing of w's goes higher: all of it has multiplicity i
            found.add(i * scale, std::move(w));
            return;
        }
        if (i > p && poly_degree(g) >= kChainPastPDegree) {
            std::optional<Split> split = split_by_factors_of(w, g, p);
            const Poly& of_w = split ? split->of_w : g;
            for (Factor& factor : by_recursion(p, poly_multiply(power(w, i, p), p, of_w)).factors)
                found.add(factor.multiplicity * scale, std::move(factor.poly));
            g = split ? std::move(split->rest) : poly_one();
            return;
        }
        if (g.terms.size() == 1 && poly_degree(g) > 0) {
            // g = x^e: the factors of w other than x have multiplicity i, and x has multiplicity
            // i + e when it divides w, e otherwise.
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
        // The square-free w meets g = h^p where it meets h: that gcd runs on a p-th of g's degree.
        Poly y;
        if (is_pth_power(g, p)) {
            Poly h = g;
            y = poly_gcd_mod(w, poly_deflate(h, p), p);
        } else {
            y = poly_gcd_mod(w, g, p);
        }
        if (poly_is_one(y)) {
            found.add(i * scale, std::move(w));
            return;
        }
        found.add(i * scale, poly_quotient(w, p, y));
        g = poly_quotient(g, p, y);
        w = std::move(y);
    }
}

// The list by the chain of gcds, for a non-constant f with at least two terms. The first round runs
// on the caller's f itself, whose derivative never becomes a term list: at a high degree f is most
// of the memory, and the later rounds run on p-th roots of g.
FactorList by_chain(std::int64_t p, const Poly& input)
{
    const bool monic = poly_lead(input) == 1;
    Found found(p);
    // The leading coefficient joins multiplicity 1; below it every polynomial is monic.
    std::int64_t scale = 1;
    Poly root;  // the polynomial of a later round
    const Poly* f = &input;
    for (;;) {
        if (f->terms.size() == 1) {  // x^k, a p-th root
            found.add(poly_degree(*f) * scale, Poly{{Term{1, 1}}});
            break;
        }
        if (poly_derivative_is_zero(*f, p)) {  // f = c·h^p: on to h
            found.add(1, Poly{{Term{0, poly_lead(*f)}}});
            if (f != &root)
                root = *f;
            poly_make_monic(p, root);
            poly_deflate(root, p);
            f = &root;
            scale *= p;
            continue;
        }
        Poly g = poly_gcd_with_derivative(*f, p);
        Poly w = !poly_is_one(g) ? poly_quotient(*f, p, g) : f == &root ? std::move(root) : Poly(*f);
        factors_up_the_chain(found, p, scale, std::move(w), g);
        if (poly_is_constant(g))
            break;
        root = std::move(poly_deflate(g, p));
        f = &root;
        scale *= p;
    }
    return std::move(found).list(monic);
}

}  // namespace

FactorList squarefree_mod(std::int64_t p, const Poly& f)
{
    const bool reduced = std::all_of(f.terms.begin(), f.terms.end(),
                                     [p](const Term& t) { return t.coefficient > 0 && t.coefficient < p; });
    if (!reduced)
        return squarefree_mod(p, poly_reduce(f, p));
    if (poly_is_zero(f))
        raise_failure(Failure::cannot_compute);
    if (f.terms.size() > 1 && !poly_is_sparse(f))
        return by_chain(p, f);
    return by_recursion(p, f);
}
