#include <optional>
#include <utility>
#include <vector>

#include "poly/failure.h"
#include "squarefree/squarefree.h"

// The classical recursion: with g = gcd(f, f'), factor g first, then move the distinct factors of
// f, w = f / g, up one multiplicity each. A polynomial in x^p is factored through its p-th root. Each
// level makes exactly one recursive call, so the recursion is a chain: it is run as a descent that
// records what every level has to do on the way back, and an ascent that does it, with no call
// stack deeper than one level whatever the multiplicities.

namespace {

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

// The list that the chain builds for c·x^k, k >= 1, without walking its levels (x^k has one level
// per unit of k). The factors are c at multiplicity 1 and x at multiplicity k (c·x alone when k = 1). The
// length follows the chain: a multiple of p in a monic polynomial is deflated (length times p), a
// non-monic one is first made monic (one more multiplicity), and any other k > 1 gives one level with
// one more multiplicity on top of k - 1.
FactorList monomial_list(std::int64_t p, const Term& term)
{
    std::int64_t k = term.exponent;
    bool monic = term.coefficient == 1;
    std::int64_t scale = 1, offset = 0;  // length = scale · (length for the current k) + offset
    std::int64_t length = 0;
    while (length == 0) {
        if (k == 1) {
            length = scale + offset;
        } else if (k % p == 0) {
            if (monic) {
                scale *= p;
                k /= p;
            } else {
                offset += scale;
                monic = true;
            }
        } else if (k < p) {
            length = scale * k + offset;  // k - 1 levels down to x, none of them a multiple of p
        } else {
            offset += scale * (k % p);  // down to the next multiple of p, one level per unit
            k -= k % p;
            monic = true;
        }
    }
    FactorList list;
    if (term.exponent == 1) {
        factor_list_append(list, Poly{{term}});
    } else {
        factor_list_append(list, Poly{{Term{0, term.coefficient}}});
        factor_list_append_ones(list, term.exponent - 2);
        factor_list_append(list, Poly{{Term{1, 1}}});
    }
    factor_list_append_ones(list, length - list.length);
    return list;
}

}  // namespace

FactorList squarefree_mod(std::int64_t p, Poly f)
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
        Poly g = poly_gcd_mod(poly_derivative(f, p), f, p);
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
