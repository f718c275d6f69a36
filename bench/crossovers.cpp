// The measurements behind the crossovers of the modular arithmetic: each fast routine against its
// plain counterpart at sizes around its crossover, for a small, a medium and a large prime. The
// numbers in poly/thresholds.h come from runs of this program.
//
//   squarefree_crossovers        one table per routine, times in microseconds
#include <bit>
#include <chrono>
#include <cstdio>
#include <random>
#include <utility>

#include "fastest_slices.h"
#include "dense/dense.h"
#include "ntt/ntt.h"

namespace {

// Microseconds per call of f and of g, in alternating slices of 15 ms (fastest of ten each).
template <typename F, typename G>
std::pair<double, double> microseconds(F f, G g)
{
    return fastest_slices(f, g, std::chrono::milliseconds(15), 10);
}

Dense random_dense(std::mt19937_64& rng, const Modulus& mod, std::size_t length)
{
    Dense a(length);
    for (Residue& c : a)
        c = static_cast<Residue>(rng() % mod.p);
    a.back() = 1;
    return a;
}

const std::int64_t kPrimes[] = {3, 1000003, 2147483647};

}  // namespace

int main()
{
    std::mt19937_64 rng(1);
    std::printf("product of two operands of length n: plain / transforms (transform primes)\n");
    for (const std::int64_t p : kPrimes) {
        const Modulus mod(p);
        for (const std::size_t n : {32, 48, 64, 96, 128, 192, 256, 512, 1024}) {
            const Dense a = random_dense(rng, mod, n), b = random_dense(rng, mod, n);
            const auto [plain, fast] =
                microseconds([&] { dense_multiply_plain(a, b, mod); }, [&] { dense_multiply_ntt(a, b, mod); });
            std::printf("  p=%-10lld n=%-6zu %9.1f %9.1f (%zu)\n", static_cast<long long>(p), n, plain, fast,
                        transform_primes(n, mod));
        }
    }
    std::printf("transform of length 4m / 3m (one prime), for kThirdsFrom\n");
    for (const std::size_t m : {32, 64, 128, 256, 512, 1024}) {
        const Dense a = random_dense(rng, Modulus(3), 2 * m);
        Spectrum s;
        const auto [four, three] = microseconds([&] { spectrum_assign(s, a.data(), a.size(), 4 * m, 1); },
                                                [&] { spectrum_assign(s, a.data(), a.size(), 3 * m, 1); });
        std::printf("  m=%-6zu %9.2f %9.2f\n", m, four, three);
    }
    std::printf("division of degree 2n by degree n: long division / Newton\n");
    for (const std::int64_t p : kPrimes) {
        const Modulus mod(p);
        for (const std::size_t n : {500, 1000, 1500, 2000, 4000}) {
            const Dense a = random_dense(rng, mod, 2 * n), b = random_dense(rng, mod, n);
            Dense q, r;
            const auto [plain, fast] = microseconds([&] { dense_divide_plain(a, b, mod, &q, &r); },
                                                    [&] { dense_divide_newton(a, b, mod, &q, &r); });
            std::printf("  p=%-10lld n=%-6zu %9.1f %9.1f\n", static_cast<long long>(p), n, plain, fast);
        }
    }
    std::printf("gcd of degrees n + 1 and n: Euclid / half-gcd\n");
    for (const std::int64_t p : kPrimes) {
        const Modulus mod(p);
        for (const std::size_t n : {800, 1000, 1200, 1500, 2000, 2500, 3000, 3500, 4000, 5000, 6000, 7000}) {
            const Dense a = random_dense(rng, mod, n + 2), b = random_dense(rng, mod, n + 1);
            const auto [plain, fast] =
                microseconds([&] { dense_gcd_plain(a, b, mod); }, [&] { dense_gcd_half(a, b, mod); });
            std::printf("  p=%-10lld n=%-6zu %9.1f %9.1f\n", static_cast<long long>(p), n, plain, fast);
        }
    }
    return 0;
}
