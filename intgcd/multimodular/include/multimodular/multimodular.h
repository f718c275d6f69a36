// Square-free factors over the integers rebuilt from their images modulo several word primes and
// proven without an integer gcd.
//
// For a prime p above deg f that does not divide lc(f), the square-free factorization of f modulo p
// (squarefree_mod) has e(p) = Σ (k - 1)·deg(factor k) = deg gcd(f mod p, f' mod p), at least
// deg gcd(f, f'); the two are equal exactly for the lucky primes, which all give the factors the
// same degrees, and only finitely many primes are unlucky. The images of least e are combined by
// the Chinese remainder theorem, coefficient by coefficient in mixed radix (machine words only),
// into symmetric residues: those of lc(f)·(factor k made monic), which equal
// lc(f)/lc(a_k)·a_k for the integer factor a_k once the primes' product is large enough.
//
// A candidate list a_k (each the primitive part of its residues, lead made positive) is proven to
// be f's square-free factorization when
//   - the product of the leads to their multiplicities is |lc(f)|: then P = ∏ a_k^k ≡ ±f modulo
//     every prime combined, since there a_k is lc(a_k) times the monic image factor;
//   - P ≡ ±f modulo further primes, until all the primes' product M exceeds ‖f‖∞ + ∏ ‖a_k‖₁^k,
//     which bounds the coefficients of P ∓ f: then P = ±f;
// and then the a_k are f's square-free factors: primitive with positive leads, their images modulo
// a combined prime p (p > deg f, not dividing any lead) are square-free and pairwise coprime and
// keep their degrees, so a repeated or shared factor in Z[x] would show modulo p; and the
// square-free factorization is unique.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "intgcd/intpoly.h"
#include "poly/factor_list.h"
#include "poly/poly.h"

// The largest prime below n (n > 2).
std::int64_t prime_below(std::int64_t n);

class FactorReconstruction {
public:
    // f primitive, of degree at least one, with a positive leading coefficient.
    explicit FactorReconstruction(const Poly& f);
    ~FactorReconstruction();
    FactorReconstruction(const FactorReconstruction&) = delete;
    FactorReconstruction& operator=(const FactorReconstruction&) = delete;

    // What an image did to the candidates.
    enum class Image {
        square_free,  // the image is square-free of full degree: f is square-free
        combined,     // the first image, or one of the same least e: combined with the others
        restarted,    // of smaller e than the images so far: they are dropped, this one kept
        unlucky,      // of larger e, or of another shape at the same e: left out
    };
    // The square-free factorization of f modulo p (squarefree_mod), for a prime 2^30 < p < 2^31
    // above deg f, dividing neither lc(f) nor any earlier prime.
    Image add(std::int64_t p, const FactorList& image);

    // The image modulo a further prime p, p as for add(), rebuilt from the candidates that look
    // settled (every coefficient far inside the primes' range): f modulo p divided by them to their
    // multiplicities, and the rest, the product of the unsettled ones' powers, factored by
    // `factor_rest` (squarefree_mod) unless it is a single factor at multiplicity 1. Far cheaper
    // than the whole factorization modulo p when the settled candidates are most of f's degree.
    // Nothing when no candidate looks settled or all do, or when the division is not exact.
    std::optional<FactorList> image_by_division(std::int64_t p,
                                                const std::function<FactorList(const Poly&)>& factor_rest) const;

    std::size_t primes() const;
    // The last image combined changed no candidate coefficient.
    bool stable() const;
    // Every candidate coefficient lies far inside the primes' symmetric range, where wrong ones,
    // spread over all of it, would not: a proof is likely to succeed.
    bool plausible() const;
    // The combined primes' product exceeds the bound on |lc(f)|·‖a‖∞ for every factor a of f
    // (Mignotte's): lucky images give the candidates exactly.
    bool past_bound() const;

    // f's square-free factors (every one primitive with a positive lead, none constant), when the
    // candidates are proven to be them; nothing otherwise. For a square-free f, f itself.
    std::optional<FactorListOf<DecimalPoly>> prove() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};
