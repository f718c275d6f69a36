#include <algorithm>
#include <bit>
#include <cassert>
#include <initializer_list>
#include <optional>
#include <tuple>
#include <utility>

#include "dense/dense.h"
#include "dense/residue_division.h"
#include "dense/thresholds.h"
#include "ntt/ntt.h"
#include "residue/kernels.h"
#include "spectra.h"

namespace {

void make_monic(Dense& a, const Modulus& mod)
{
    if (a.empty())
        return;
    const std::uint64_t inverse = mod.inverse(a.back());
    for (Residue& c : a)
        c = static_cast<Residue>(mod.mul(c, inverse));
}

// A 2x2 matrix of polynomials: the product of the steps (a, b) ← (b, a - q·b) it stands for.
struct Matrix {
    Dense m00, m01, m10, m11;
};

Matrix identity()
{
    return Matrix{{1}, {}, {}, {1}};
}

// Transforms for sums of two products of these operands whose results have at most
// `result_length` coefficients: the products wrap around modulo x^n - 1, and what wraps cancels in
// the sums. A length of zero when the plain products are cheaper, or the transforms too short.
struct Transforms {
    std::size_t n = 0;
    std::size_t primes = 0;
};

Transforms transforms_for(std::size_t longest_left, std::size_t longest_right, std::size_t result_length, const Modulus& mod,
                          double transform_share = 1.0)
{
    if (longest_left == 0 || longest_right == 0)
        return {};
    // Powers of two: gcd_by_jumps aligns the half-gcd's degrees to them, and lengths 3·2^k measured
    // slower here. Past the longest power of two, the lengths 3·2^k that follow it: sharing the
    // spectra is still worth far more than any choice of length.
    std::size_t n = std::bit_ceil(result_length);
    if (n > kMaxPowerOfTwoTransform)
        n = 3 * (n / 4) >= result_length ? 3 * (n / 4) : 3 * (n / 2);
    if (n > kMaxTransformLength)
        return {};
    // An operand longer than n is folded modulo x^n - 1 first, so no product sums more than n terms.
    const std::size_t primes = transform_primes(2 * std::min({longest_left, longest_right, n}), mod);
    if (plain_is_cheaper_than_transforms(longest_left, longest_right, n, primes, transform_share,
                                         plain_product_share(std::min(longest_left, longest_right), mod)))
        return {};
    return {n, primes};
}

std::size_t longest(std::initializer_list<const Dense*> polys)
{
    std::size_t n = 0;
    for (const Dense* f : polys)
        n = std::max(n, f->size());
    return n;
}

// s = the spectrum of a modulo x^n - 1.
void assign_cyclic_spectrum(Spectrum& s, const Dense& a, const Transforms& t, const Modulus& mod)
{
    if (a.size() <= t.n) {
        spectrum_assign(s, a.data(), a.size(), t.n, t.primes);
        return;
    }
    const Residues folded = dense_fold(a, t.n, mod);
    spectrum_assign(s, folded.data(), folded.size(), t.n, t.primes);
}

// x·y + z·w from spectra, its first `length` coefficients: each operand transformed once, one
// inverse transform for the sum, which `sum` holds meanwhile.
Dense sum_of_products(const Spectrum& x, const Spectrum& y, const Spectrum& z, const Spectrum& w, std::size_t length,
                      Spectrum& sum, const Modulus& mod)
{
    spectrum_multiply(sum, x, y);
    spectrum_multiply_add(sum, z, w);
    return dense_from_spectrum(sum, length, mod);
}

// The four entries' spectra, shared by the application of a matrix and its product with the next.
struct MatrixSpectra {
    Spectrum m00, m01, m10, m11;
};

void assign_matrix_spectra(MatrixSpectra& s, const Matrix& r, const Transforms& t, const Modulus& mod)
{
    assign_cyclic_spectrum(s.m00, r.m00, t, mod);
    assign_cyclic_spectrum(s.m01, r.m01, t, mod);
    assign_cyclic_spectrum(s.m10, r.m10, t, mod);
    assign_cyclic_spectrum(s.m11, r.m11, t, mod);
}

// How the matrix r of Euclid's steps on (a, b), deg a >= deg b, is applied. The steps' quotients take
// deg r11 off a's degree and the second remainder is below the first, so both results have at most
// `length` = a.size() - deg r11 coefficients, and transforms of that length suffice. Transforms of
// half that length n suffice too when a has at most 2n coefficients: a result c modulo x^n - 1
// holds c_i + c_(i+n) at i < low = length - n and c_i above, and its first `low` coefficients come
// from the products of r with a and b cut to their first `low` coefficients (which fit n without
// wrapping, since r's entries have at most n + 1 - low coefficients then).
struct ApplyPlan {
    Transforms t;  // n == 0: the plain products
    std::size_t length = 0;
    std::size_t low = 0;  // results longer than t.n: how many first coefficients come separately
};

ApplyPlan plan_apply(const Matrix& r, const Dense& a, const Dense& b, const Modulus& mod)
{
    const std::size_t left = longest({&r.m00, &r.m01, &r.m10, &r.m11}), right = longest({&a, &b});
    ApplyPlan plan{{}, a.size() - static_cast<std::size_t>(dense_degree(r.m11)), 0};
    const std::size_t half = std::bit_ceil(plan.length) / 2;
    const bool wrapped = half > 0 && right <= 2 * half && left + (plan.length - half) <= half + 1;
    // Wrapped: twelve transforms of half the length instead of eight.
    plan.t = transforms_for(left, right, plan.length, mod, wrapped ? kWrappedApplyShare : 1.0);
    if (wrapped && plan.t.n != 0) {
        plan.t.n = half;  // the primes chosen for twice the length bound these shorter sums as well
        plan.low = plan.length - half;
    }
    return plan;
}

// The result of `length` coefficients from its image modulo x^n - 1 and its first `low`
// coefficients (both trimmed, missing entries zero).
Dense unwrap(const Dense& wrapped, const Dense& low_part, std::size_t n, std::size_t length, const Modulus& mod)
{
    const std::size_t low = length - n;
    const auto at = [](const Dense& v, std::size_t i) { return i < v.size() ? v[i] : Residue{0}; };
    const Residue p = static_cast<Residue>(mod.p);
    Dense c(length);
    for (std::size_t i = 0; i < low; ++i) {
        c[i] = at(low_part, i);
        const Residue difference = at(wrapped, i) - c[i];  // wraps when negative; adding p brings it back
        c[n + i] = std::min(difference, static_cast<Residue>(difference + p));
    }
    for (std::size_t i = low; i < n; ++i)
        c[i] = at(wrapped, i);
    dense_trim(c);
    return c;
}

// (r00·a + r01·b, r10·a + r11·b) by the plan's transforms, with r's spectra computed for them. Two
// spectra hold a and b (then their first `low` coefficients), a third each sum in turn.
std::pair<Dense, Dense> apply_planned(const ApplyPlan& plan, const MatrixSpectra& rs, const Dense& a, const Dense& b,
                                      const Modulus& mod)
{
    const Transforms& t = plan.t;
    Spectrum sa, sb, sum;
    assign_cyclic_spectrum(sa, a, t, mod);
    assign_cyclic_spectrum(sb, b, t, mod);
    Dense c = sum_of_products(rs.m00, sa, rs.m01, sb, std::min(plan.length, t.n), sum, mod);
    Dense d = sum_of_products(rs.m10, sa, rs.m11, sb, std::min(plan.length, t.n), sum, mod);
    if (plan.low == 0)
        return {std::move(c), std::move(d)};
    spectrum_assign(sa, a.data(), std::min(a.size(), plan.low), t.n, t.primes);
    spectrum_assign(sb, b.data(), std::min(b.size(), plan.low), t.n, t.primes);
    const Dense c_low = sum_of_products(rs.m00, sa, rs.m01, sb, plan.low, sum, mod);
    const Dense d_low = sum_of_products(rs.m10, sa, rs.m11, sb, plan.low, sum, mod);
    return {unwrap(c, c_low, t.n, plan.length, mod), unwrap(d, d_low, t.n, plan.length, mod)};
}

// The same by the plain products.
std::pair<Dense, Dense> apply_plain(const Matrix& r, const Dense& a, const Dense& b, const Modulus& mod)
{
    return {dense_add(dense_multiply(r.m00, a, mod), dense_multiply(r.m01, b, mod), mod),
            dense_add(dense_multiply(r.m10, a, mod), dense_multiply(r.m11, b, mod), mod)};
}

std::pair<Dense, Dense> apply(const Matrix& r, const Dense& a, const Dense& b, const Modulus& mod)
{
    const ApplyPlan plan = plan_apply(r, a, b, mod);
    if (plan.t.n == 0)
        return apply_plain(r, a, b, mod);
    MatrixSpectra rs;
    assign_matrix_spectra(rs, r, plan.t, mod);
    return apply_planned(plan, rs, a, b, mod);
}

// s·r, the spectra of r given when they were computed for transforms (non-zero rt.n) long enough
// for the product.
Matrix product(const Matrix& s, const Matrix& r, const Modulus& mod, const Transforms& rt = {},
               const MatrixSpectra* rs = nullptr)
{
    const std::size_t left = longest({&s.m00, &s.m01, &s.m10, &s.m11}), right = longest({&r.m00, &r.m01, &r.m10, &r.m11});
    const std::size_t length = left + right - 1;
    // With r's spectra at hand, eight transforms instead of twelve.
    const bool shared = rs != nullptr && rt.n >= length && rt.n <= std::bit_ceil(length);
    Transforms t = transforms_for(left, right, length, mod, shared ? kSharedSpectraShare : 1.0);
    MatrixSpectra own;
    if (shared && t.n != 0 && rt.primes >= t.primes) {
        t = rt;  // r's spectra are at hand: only s is transformed
    } else if (t.n == 0) {
        const auto entry = [&mod](const Dense& x, const Dense& y, const Dense& z, const Dense& w) {
            return dense_add(dense_multiply(x, y, mod), dense_multiply(z, w, mod), mod);
        };
        return Matrix{entry(s.m00, r.m00, s.m01, r.m10), entry(s.m00, r.m01, s.m01, r.m11),
                      entry(s.m10, r.m00, s.m11, r.m10), entry(s.m10, r.m01, s.m11, r.m11)};
    } else {
        assign_matrix_spectra(own, r, t, mod);
        rs = &own;
    }
    MatrixSpectra ss;
    assign_matrix_spectra(ss, s, t, mod);
    Spectrum sum;
    Matrix p;
    p.m00 = sum_of_products(ss.m00, rs->m00, ss.m01, rs->m10, length, sum, mod);
    p.m01 = sum_of_products(ss.m00, rs->m01, ss.m01, rs->m11, length, sum, mod);
    p.m10 = sum_of_products(ss.m10, rs->m00, ss.m11, rs->m10, length, sum, mod);
    p.m11 = sum_of_products(ss.m10, rs->m01, ss.m11, rs->m11, length, sum, mod);
    return p;
}

// top = top - q·bottom; in place, by one vectorized row per coefficient of q, when the product is
// one the plain method does anyway (a quotient of Euclid's steps is mostly short).
void subtract_multiple(Dense& top, const Dense& q, const Dense& bottom, const Modulus& mod)
{
    if (q.empty() || bottom.empty())
        return;
    if (q.size() > kShortQuotient &&
        !plain_product_is_cheaper(q.size(), bottom.size(), transform_primes(std::min(q.size(), bottom.size()), mod))) {
        top = dense_subtract(top, dense_multiply(q, bottom, mod), mod);
        return;
    }
    top.resize(std::max(top.size(), q.size() + bottom.size() - 1), 0);
    const std::uint32_t p = static_cast<std::uint32_t>(mod.p);
    for (std::size_t j = 0; j < q.size(); ++j) {
        if (q[j] == 0)
            continue;
        const Residue w = static_cast<Residue>(mod.neg(q[j]));
        residues_add_multiple(top.data() + j, bottom.data(), bottom.size(), w, mod.shoup(w), p);
    }
    dense_trim(top);
}

// One Euclid step with quotient q: the rows move up, the new bottom row is top - q·bottom.
void step(Matrix& r, const Dense& q, const Modulus& mod)
{
    subtract_multiple(r.m00, q, r.m10, mod);
    subtract_multiple(r.m01, q, r.m11, mod);
    std::swap(r.m00, r.m10);
    std::swap(r.m01, r.m11);
}

// Where the half-gcd's recursion ends for this modulus (its products need the same primes at
// every length), unless a base is asked for.
std::int64_t half_gcd_base(const Modulus& mod, std::int64_t asked)
{
    return asked > 0 ? asked : kHalfGcdBase[transform_primes(1, mod) - 1];
}

// Whether the step from (a, b) cancels leading terms without inverting b's lead: for a short
// quotient and divisor modulo a large prime, whose inversion costs more than the extra scaling.
bool inverse_free(const Dense& a, const Dense& b, const Modulus& mod)
{
    return mod.p > kInverseFreeModulusAbove && dense_degree(b) < kInverseFreeDegreeBelow &&
           dense_degree(a) - dense_degree(b) < kInverseFreeQuotientBelow;
}

// One step of Euclid's algorithm in place: a becomes the remainder of a by b, or c·a - q·b for a
// non-zero constant c when the step is inverse-free (the matrix's top row is then scaled by c too),
// and the matrix takes the step.
void step_in_place(Dense& a, const Dense& b, Dense& q, Matrix& r, const Modulus& mod)
{
    if (inverse_free(a, b, mod)) {
        Residue c = 1;
        residues_remainder_up_to_unit(a, dense_degree(a), b, dense_degree(b), mod, &q, &c);
        for (Dense* top : {&r.m00, &r.m01})
            for (Residue& v : *top)
                v = static_cast<Residue>(mod.mul(v, c));
    } else {
        residues_divide(a, dense_degree(a), b, dense_degree(b), mod, &q);
    }
    a.resize(b.size() - 1);
    dense_trim(a);
    step(r, q, mod);
}

// deg a > deg b. The matrix of the Euclid steps that take (a, b) to the first pair of remainders
// whose second has degree below m = ceil(deg a / 2).
Matrix half_gcd(Dense a, Dense b, const Modulus& mod, std::int64_t base)
{
    const std::int64_t m = (dense_degree(a) + 1) / 2;
    if (dense_degree(b) < m)
        return identity();
    Matrix r = identity();
    if (dense_degree(a) < base) {
        Dense q;
        while (dense_degree(b) >= m) {
            step_in_place(a, b, q, r, mod);
            std::swap(a, b);
        }
        return r;
    }
    // The top halves decide the first half of the quotients.
    const std::size_t shift = static_cast<std::size_t>(m);
    r = half_gcd(dense_shift_down(a, shift), dense_shift_down(b, shift), mod, base);
    const ApplyPlan plan = plan_apply(r, a, b, mod);
    std::optional<MatrixSpectra> rs;
    Dense c, d;
    if (plan.t.n == 0) {
        std::tie(c, d) = apply_plain(r, a, b, mod);
    } else {
        assign_matrix_spectra(rs.emplace(), r, plan.t, mod);
        std::tie(c, d) = apply_planned(plan, *rs, a, b, mod);
    }
    if (dense_degree(d) < m)
        return r;
    Dense q, remainder;
    dense_divide(std::move(c), d, mod, &q, &remainder);
    if (dense_degree(remainder) < m) {
        step(r, q, mod);
        return r;
    }
    // The top of what is left decides the second half. The step with q joins the second half's
    // matrix s (s·[[0, 1], [1, -q]], rows of s times q), so that r, whose spectra are at hand, is
    // multiplied as it is.
    const std::size_t k = static_cast<std::size_t>(2 * m - dense_degree(d));
    Matrix s = half_gcd(dense_shift_down(d, k), dense_shift_down(remainder, k), mod, base);
    subtract_multiple(s.m00, q, s.m01, mod);
    subtract_multiple(s.m10, q, s.m11, mod);
    std::swap(s.m00, s.m01);
    std::swap(s.m10, s.m11);
    return product(s, r, mod, plan.t, rs ? &*rs : nullptr);
}

// deg a > deg b >= the half-gcd's base. The pair that half_gcd's steps take (a, b) to, without their
// matrix: the two halves' matrices are applied in turn to the pair (the second to a pair of three
// quarters the degree) instead of being multiplied and applied to the whole pair.
std::pair<Dense, Dense> half_reduce(Dense a, Dense b, const Modulus& mod, std::int64_t base)
{
    assert(dense_degree(b) >= base);
    const std::int64_t m = (dense_degree(a) + 1) / 2;
    if (dense_degree(b) < m)
        return {std::move(a), std::move(b)};
    const std::size_t shift = static_cast<std::size_t>(m);
    auto [c, d] = apply(half_gcd(dense_shift_down(a, shift), dense_shift_down(b, shift), mod, base), a, b, mod);
    if (dense_degree(d) < m)
        return {std::move(c), std::move(d)};
    Dense remainder;
    dense_divide(std::move(c), d, mod, nullptr, &remainder);
    if (dense_degree(remainder) < m)
        return {std::move(d), std::move(remainder)};
    const std::size_t k = static_cast<std::size_t>(2 * m - dense_degree(d));
    return apply(half_gcd(dense_shift_down(d, k), dense_shift_down(remainder, k), mod, base), d, remainder, mod);
}

}  // namespace

namespace {

// (a, b) ← (b, a mod b), the remainder computed in place in a; a short quotient's remainder up to
// a constant (a gcd is made monic at the end), which spares inverting b's lead.
void euclid_step(Dense& a, Dense& b, const Modulus& mod)
{
    if (inverse_free(a, b, mod))
        residues_remainder_up_to_unit(a, dense_degree(a), b, dense_degree(b), mod, nullptr, nullptr);
    else
        residues_divide(a, dense_degree(a), b, dense_degree(b), mod, nullptr);
    a.resize(b.size() - 1);
    dense_trim(a);
    std::swap(a, b);
}

}  // namespace

Dense dense_gcd_plain(Dense a, Dense b, const Modulus& mod)
{
    assert(dense_is_trimmed(a) && dense_is_trimmed(b));
    if (dense_degree(a) < dense_degree(b))
        std::swap(a, b);
    while (!b.empty())
        euclid_step(a, b, mod);
    make_monic(a, mod);
    return a;
}

namespace {

// Half-gcd jumps while the smaller operand's degree is at least `plain_below`, Euclid after; the
// half-gcd's recursion ends at `base` (at most plain_below).
Dense gcd_by_jumps(Dense a, Dense b, const Modulus& mod, std::int64_t plain_below, std::int64_t base)
{
    if (dense_degree(a) < dense_degree(b))
        std::swap(a, b);
    // Operands of unequal degrees: the first remainder by the fast division (its quotient is long),
    // then the steps on two operands of the smaller degree.
    if (!b.empty() && dense_degree(a) - dense_degree(b) > static_cast<std::int64_t>(kNewtonDivisionCrossover)) {
        Dense remainder;
        dense_divide(std::move(a), b, mod, nullptr, &remainder);
        a = std::move(b);
        b = std::move(remainder);
    }
    while (!b.empty() && dense_degree(b) >= plain_below) {
        // A degree n above a power of two t first jumps to just below t: the steps of the top
        // 2·(n - t + 1) coefficients take off n - t + 1 degrees, and that jump's product then needs
        // transforms of length t instead of 2t. From a power of two on, each jump halves the degree.
        const std::int64_t n = dense_degree(a);
        const std::int64_t t = static_cast<std::int64_t>(std::bit_floor(static_cast<std::uint64_t>(n)));
        std::int64_t shift = 2 * t - n - 2;
        // A top just above a power of two u would give every level of the half-gcd products just
        // above a power of two: the top of degree u - 1 goes first, a short jump does the rest.
        const std::int64_t top = n - shift;
        const std::int64_t u = static_cast<std::int64_t>(std::bit_floor(static_cast<std::uint64_t>(std::max<std::int64_t>(top, 1))));
        if (top - u < u / kJumpNearPowerFraction && u - 1 >= kJumpBases * base)
            shift = n - (u - 1);
        if (shift > 0 && n - shift < kJumpBases * base) {
            // Too few degrees above t for a jump: Euclid's steps on the whole pair take them off
            // (rather than a half-gcd of the whole, whose halves would be just above powers of two).
            while (!b.empty() && dense_degree(a) >= t)
                euclid_step(a, b, mod);
            continue;
        }
        if (shift > 0)
            std::tie(a, b) = apply(half_gcd(dense_shift_down(a, static_cast<std::size_t>(shift)),
                                            dense_shift_down(b, static_cast<std::size_t>(shift)), mod, base),
                                   a, b, mod);
        else
            std::tie(a, b) = half_reduce(std::move(a), std::move(b), mod, base);
        if (dense_degree(a) < dense_degree(b))
            std::swap(a, b);
        if (b.empty())
            break;
        Dense remainder;
        dense_divide(std::move(a), b, mod, nullptr, &remainder);
        a = std::move(b);
        b = std::move(remainder);
    }
    return dense_gcd_plain(std::move(a), std::move(b), mod);
}

}  // namespace

Dense dense_gcd_half(Dense a, Dense b, const Modulus& mod, std::int64_t base)
{
    assert(dense_is_trimmed(a) && dense_is_trimmed(b));
    base = half_gcd_base(mod, base);
    return gcd_by_jumps(std::move(a), std::move(b), mod, base, base);
}

Dense dense_gcd(Dense a, Dense b, const Modulus& mod)
{
    const std::size_t length = std::max(a.size(), b.size());
    const std::size_t primes = transform_primes(length, mod);  // those of its typical products
    return gcd_by_jumps(std::move(a), std::move(b), mod, kHalfGcdCrossover[primes - 1], half_gcd_base(mod, 0));
}
