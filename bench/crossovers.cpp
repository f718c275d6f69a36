// The measurements behind the crossovers of the modular arithmetic: each fast routine against its
// plain counterpart at sizes around its crossover, for a small, a medium and a large prime, and
// the size from which the fast one stays faster, printed beside the crossover the arithmetic uses
// (dense/thresholds.h, poly/thresholds.h). Times in microseconds, each the fastest of alternating
// slices of the two routines.
//
//   squarefree_crossovers
//
// The term-list crossovers are measured on the term-list layer's own routines (its private
// sparse.h and to_dense.h), as only a tuning program may.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "dense/dense.h"
#include "dense/residue_division.h"
#include "dense/thresholds.h"
#include "fastest_slices.h"
#include "ntt/ntt.h"
#include "poly/thresholds.h"
#include "sparse.h"
#include "to_dense.h"

namespace {

// Microseconds per call of f and of g.
template <typename F, typename G>
std::pair<double, double> microseconds(F f, G g)
{
    return fastest_slices(f, g, std::chrono::milliseconds(10), 8);
}

std::mt19937_64 rng(1);

Dense random_dense(const Modulus& mod, std::size_t length)
{
    Dense a(length);
    for (Residue& c : a)
        c = static_cast<Residue>(rng() % mod.p);
    a.back() = 1;
    return a;
}

const std::int64_t kPrimes[] = {3, 1000003, 2147483647};

// One table: a size, the plain routine's time, the fast one's.
struct Row {
    std::size_t size;
    double plain, fast;
};

// The first size from which the fast routine is faster at every size measured; 0 when it never is.
std::size_t crossing(const std::vector<Row>& rows)
{
    std::size_t from = 0;
    for (auto row = rows.rbegin(); row != rows.rend() && row->fast < row->plain; ++row)
        from = row->size;
    return from;
}

void print_crossing(const char* what, const std::vector<Row>& rows, const std::string& used)
{
    const std::size_t from = crossing(rows);
    if (from == 0)
        std::printf("  %s: the fast routine is never faster here; used: %s\n", what, used.c_str());
    else
        std::printf("  %s: faster from %zu on; used: %s\n", what, from, used.c_str());
    std::fflush(stdout);
}

template <typename Plain, typename Fast>
Row measure(std::size_t size, Plain plain, Fast fast, const char* label)
{
    const auto [p, f] = microseconds(plain, fast);
    std::printf("    %-24s %-8zu %10.2f %10.2f\n", label, size, p, f);
    return Row{size, p, f};
}

std::string prime_label(std::int64_t p)
{
    return "p=" + std::to_string(p);
}

void products()
{
    std::printf("product of two operands of length n, and the square of one: plain / transforms\n");
    for (const std::int64_t p : kPrimes) {
        const Modulus mod(p);
        const std::size_t lengths[] = {32, 48, 64, 96, 128, 192, 256, 384, 512, 1024};
        std::size_t model = 0;
        for (const std::size_t n : lengths)
            if (model == 0 && !plain_product_is_cheaper(n, n, transform_primes(n, mod), plain_product_share(n, mod)))
                model = n;
        for (const bool square : {false, true}) {
            std::vector<Row> rows;
            for (const std::size_t n : lengths) {
                const Dense a = random_dense(mod, n), b = square ? a : random_dense(mod, n);
                rows.push_back(measure(n, [&] { dense_multiply_plain(a, b, mod); }, [&] { dense_multiply_ntt(a, b, mod); },
                                       (prime_label(p) + (square ? " square" : "")).c_str()));
            }
            print_crossing(square ? "squares" : "products", rows,
                           "the cost model switches at n = " + std::to_string(model) + " (" +
                               std::to_string(transform_primes(128, mod)) + " transform primes)");
        }
    }
}

void short_quotients()
{
    std::printf("product of a short operand of length k by one of length 3000: plain / transforms\n");
    for (const std::int64_t p : kPrimes) {
        const Modulus mod(p);
        const Dense b = random_dense(mod, 3000);
        std::vector<Row> rows;
        for (const std::size_t k : {4, 8, 12, 16, 24, 32, 48, 64}) {
            const Dense q = random_dense(mod, k);
            rows.push_back(measure(k, [&] { dense_multiply_plain(q, b, mod); }, [&] { dense_multiply_ntt(q, b, mod); },
                                   prime_label(p).c_str()));
        }
        print_crossing("short quotients", rows,
                       "up to kShortQuotient = " + std::to_string(kShortQuotient) + " without weighing the transforms");
    }
}

void thirds()
{
    std::printf("transform of length 4m / 3m (one prime)\n");
    std::vector<Row> rows;
    Spectrum s;
    for (const std::size_t m : {32, 64, 128, 256, 512, 1024}) {
        const Dense a = random_dense(Modulus(3), 2 * m);
        rows.push_back(measure(m, [&] { spectrum_assign(s, a.data(), a.size(), 4 * m, 1); },
                               [&] { spectrum_assign(s, a.data(), a.size(), 3 * m, 1); }, "m"));
    }
    print_crossing("lengths 3m", rows, "kThirdsFrom = " + std::to_string(kThirdsFrom));
}

void division()
{
    std::printf("division of degree 2n by degree n: long division / Newton\n");
    for (const std::int64_t p : kPrimes) {
        const Modulus mod(p);
        std::vector<Row> rows;
        for (const std::size_t n : {500, 1000, 1500, 2000, 3000, 4000}) {
            const Dense a = random_dense(mod, 2 * n), b = random_dense(mod, n);
            Dense q, r;
            rows.push_back(measure(n, [&] { dense_divide_plain(a, b, mod, &q, &r); },
                                   [&] { dense_divide_newton(a, b, mod, &q, &r); }, prime_label(p).c_str()));
        }
        print_crossing("Newton's division", rows, "kNewtonDivisionCrossover = " + std::to_string(kNewtonDivisionCrossover));
    }
}

void kept_remainders()
{
    std::printf("x^e mod g for g of degree n, e near 2^31: long division / the kept inverse\n");
    for (const std::int64_t p : kPrimes) {
        const Modulus mod(p);
        std::vector<Row> rows;
        for (const std::size_t n : {25, 50, 100, 150, 200, 300, 400, 600, 800}) {
            const Dense g = random_dense(mod, n + 1);
            DenseModulus plain;
            plain.g = g;  // nothing kept: every remainder by long division
            const DenseModulus kept = dense_modulus(g, mod, 2);  // kept at every degree
            rows.push_back(measure(n, [&] { dense_power_of_x_mod(2147483647, plain, mod); },
                                   [&] { dense_power_of_x_mod(2147483647, kept, mod); }, prime_label(p).c_str()));
        }
        print_crossing("kept inverse", rows, "kKeptInverseCrossover = " + std::to_string(kKeptInverseCrossover));
    }
}

void gcds()
{
    std::printf("gcd of degrees n + 1 and n: Euclid / half-gcd\n");
    for (const std::int64_t p : kPrimes) {
        const Modulus mod(p);
        std::vector<Row> rows;
        for (const std::size_t n : {800, 1200, 1600, 2000, 2500, 3000, 4000, 5000, 6000, 7000}) {
            const Dense a = random_dense(mod, n + 2), b = random_dense(mod, n + 1);
            rows.push_back(measure(n, [&] { dense_gcd_plain(a, b, mod); }, [&] { dense_gcd_half(a, b, mod); },
                                   prime_label(p).c_str()));
        }
        const std::size_t primes = transform_primes(8000, mod);
        print_crossing("half-gcd", rows,
                       "kHalfGcdCrossover[" + std::to_string(primes - 1) + "] = " + std::to_string(kHalfGcdCrossover[primes - 1]));
    }
}

void half_gcd_bases()
{
    std::printf("half-gcd of degrees n + 1 and n with its recursion ending at base b / at base 2b\n");
    for (const std::int64_t p : kPrimes) {
        const Modulus mod(p);
        const Dense a = random_dense(mod, 8002), b = random_dense(mod, 8001);
        std::vector<Row> rows;
        for (const std::int64_t base : {64, 128, 256, 512, 1024}) {
            rows.push_back(measure(static_cast<std::size_t>(base), [&] { dense_gcd_half(a, b, mod, 2 * base); },
                                   [&] { dense_gcd_half(a, b, mod, base); }, (prime_label(p) + " n=8000").c_str()));
        }
        // The fastest base measured: row b times base b (fast) and base 2b (plain).
        std::int64_t fastest = 0;
        double best = 0;
        for (const Row& row : rows)
            for (const auto& [base, time] : {std::pair{row.size, row.fast}, std::pair{2 * row.size, row.plain}})
                if (fastest == 0 || time < best) {
                    fastest = static_cast<std::int64_t>(base);
                    best = time;
                }
        const std::size_t primes = transform_primes(1, mod);
        std::printf("  base: fastest at %lld; used: kHalfGcdBase[%zu] = %lld\n", static_cast<long long>(fastest), primes - 1,
                    static_cast<long long>(kHalfGcdBase[primes - 1]));
    }
}

void inverse_free_steps()
{
    std::printf("remainder of degree n + k by degree n (a quotient of k + 1 coefficients): dividing / "
                "cancelling without the inverse\n");
    for (const std::int64_t p : {std::int64_t{65537}, std::int64_t{1000003}, std::int64_t{2147483647}}) {
        const Modulus mod(p);
        for (const std::size_t k : {0, 1, 2, 3}) {
            std::vector<Row> rows;
            for (const std::size_t n : {25, 50, 100, 150, 200, 300, 400}) {
                const Residues a = random_dense(mod, n + k + 1), b = random_dense(mod, n + 1);
                Residues r;
                rows.push_back(measure(n,
                                       [&] {
                                           r = a;
                                           residues_divide(r, static_cast<std::int64_t>(n + k), b, static_cast<std::int64_t>(n),
                                                           mod, nullptr);
                                       },
                                       [&] {
                                           r = a;
                                           residues_remainder_up_to_unit(r, static_cast<std::int64_t>(n + k), b,
                                                                         static_cast<std::int64_t>(n), mod, nullptr, nullptr);
                                       },
                                       (prime_label(p) + " k=" + std::to_string(k)).c_str()));
            }
            // Here the plain routine is the division; the inverse-free step should win below a degree.
            std::size_t last = 0;
            for (const Row& row : rows)
                if (row.fast < row.plain)
                    last = row.size;
            std::printf("  k=%zu: without the inverse %s; used: quotients below %lld coefficients, degrees below "
                        "%lld, primes above 2^16\n",
                        k, last == 0 ? "never faster" : ("faster up to degree " + std::to_string(last)).c_str(),
                        static_cast<long long>(kInverseFreeQuotientBelow), static_cast<long long>(kInverseFreeDegreeBelow));
        }
    }
}

// A polynomial of degree `degree` with about degree / ratio random terms.
Poly sparse_poly(const Modulus& mod, std::int64_t degree, std::int64_t ratio)
{
    Poly f;
    for (Exponent e = 0; e < degree; e += 1 + static_cast<Exponent>(rng() % static_cast<std::uint64_t>(2 * ratio - 1)))
        f.terms.push_back(Term{e, 1 + static_cast<Coef>(rng() % (mod.p - 1))});
    f.terms.push_back(Term{degree, 1});
    return f;
}

void sparse_ratios()
{
    std::printf("division of degree 4000 with one term in r exponents by x^1000 + x^7 + 1: dense / term lists\n");
    for (const std::int64_t p : {std::int64_t{3}, std::int64_t{2147483647}}) {
        const Modulus mod(p);
        const Poly b{{Term{0, 1}, Term{7, 1}, Term{1000, 1}}};
        std::vector<Row> rows;
        for (const std::int64_t ratio : {2, 4, 8, 16, 32, 64, 128}) {
            const Poly a = sparse_poly(mod, 4000, ratio);
            Poly q, r;
            const Dense da = dense_from_poly(a, mod), db = dense_from_poly(b, mod);
            rows.push_back(measure(static_cast<std::size_t>(ratio),
                                   [&] {
                                       Dense dq, dr;
                                       dense_divide(da, db, mod, &dq, &dr);
                                   },
                                   [&] { sparse_divide_mod(a, b, mod, &q, r, 1 << 20); }, (prime_label(p) + " r").c_str()));
        }
        print_crossing("term lists", rows, "kSparseTermRatio = " + std::to_string(kSparseTermRatio));
    }
    std::printf("product of a dense operand of length 2000 by one of length 2000 with one term in r: dense rows / "
                "rows per term\n");
    for (const std::int64_t p : {std::int64_t{3}, std::int64_t{2147483647}}) {
        const Modulus mod(p);
        const Dense dense = random_dense(mod, 2000);
        std::vector<Row> rows;
        for (const std::int64_t ratio : {1, 2, 3, 4, 6, 8, 16}) {
            const Poly sparse = sparse_poly(mod, 1999, ratio);
            const Dense as_dense = dense_from_poly(sparse, mod);
            rows.push_back(measure(static_cast<std::size_t>(ratio), [&] { dense_multiply_plain(as_dense, dense, mod); },
                                   [&] {
                                       Residues product(as_dense.size() + dense.size() - 1, 0);
                                       for (const Term& t : sparse.terms) {
                                           const Residue c = static_cast<Residue>(t.coefficient);
                                           residues_add_multiple(product.data() + t.exponent, dense.data(), dense.size(), c,
                                                                 mod.shoup(c), static_cast<std::uint32_t>(p));
                                       }
                                   },
                                   (prime_label(p) + " r").c_str()));
        }
        print_crossing("rows per term", rows, "kDenseRowRatio = " + std::to_string(kDenseRowRatio));
    }
    std::printf("remainder of x^(R·n) + x^(R·n/2) + ... (eight terms) by a dense g of degree n = 500: dense division / "
                "powers of x\n");
    for (const std::int64_t p : {std::int64_t{3}, std::int64_t{2147483647}}) {
        const Modulus mod(p);
        const Dense g = random_dense(mod, 501);
        std::vector<Row> rows;
        for (const std::int64_t ratio : {1, 2, 4, 8, 16, 32}) {
            Poly a;
            for (std::int64_t i = 0; i < 8; ++i)
                a.terms.push_back(Term{ratio * 500 * (i + 1) / 8 + i, 1});
            const Dense da = dense_from_poly(a, mod);
            rows.push_back(measure(static_cast<std::size_t>(ratio),
                                   [&] {
                                       Dense r;
                                       dense_divide(da, g, mod, nullptr, &r);
                                   },
                                   [&] { remainder_of_sparse(a, g, mod); }, (prime_label(p) + " R").c_str()));
        }
        print_crossing("powers of x", rows, "kPowerRemainderRatio = " + std::to_string(kPowerRemainderRatio));
    }
}

}  // namespace

int main()
{
    products();
    short_quotients();
    thirds();
    division();
    kept_remainders();
    gcds();
    half_gcd_bases();
    inverse_free_steps();
    sparse_ratios();
    return 0;
}
