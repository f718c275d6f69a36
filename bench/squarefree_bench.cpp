// Our square-free factorizations and arithmetic side by side with NTL's and FLINT's, on the same
// inputs, and the whole program as a user runs it. Benchmark names read family/who/parameters, so
// that the table script can pair "ours" with "ntl" and "flint".
//
//   squarefree_bench [google benchmark flags]   the timings
//   squarefree_bench --write-inputs DIR          the dialogues whose peak memory bench/run measures
//   squarefree_bench --growth                    the times behind the growth from degree 10^4 to 10^5
//   squarefree_bench --gcd-counts                NTL's integer gcds per call on each integer input
//   squarefree_bench --top-growth                squarefree_mod at degree 10^6 and 10^7, best of three
#include <benchmark/benchmark.h>

#include <NTL/ZZXFactoring.h>
#include <NTL/lzz_pXFactoring.h>
#include <flint/fmpz_poly.h>
#include <flint/fmpz_poly_factor.h>
#include <flint/nmod_poly.h>
#include <flint/nmod_poly_factor.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fastest_slices.h"
#include "intgcd/library_hooks.h"
#include "squarefree/squarefree.h"
#include "ntl_convert.h"

namespace {

// --- inputs ----------------------------------------------------------------------------------

NTL::zz_pX random_monic(std::mt19937_64& rng, long degree)
{
    NTL::zz_pX a;
    for (long e = 0; e < degree; ++e)
        NTL::SetCoeff(a, e, static_cast<long>(rng() % static_cast<std::uint64_t>(NTL::zz_p::modulus())));
    NTL::SetCoeff(a, degree, 1);
    return a;
}

// c·a1·a2^2·a3^3 of total degree `degree`, dense, with random factors of equal degree.
NTL::zz_pX dense_mod_input(long p, long degree)
{
    NTL::zz_p::init(p);
    std::mt19937_64 rng(static_cast<std::uint64_t>(p * 7919 + degree));
    const long part = degree / 6;
    const NTL::zz_pX a1 = random_monic(rng, degree - 5 * part), a2 = random_monic(rng, part), a3 = random_monic(rng, part);
    return NTL::zz_p(5) * a1 * NTL::power(a2, 2) * NTL::power(a3, 3);
}

NTL::ZZX monomial_plus(long k, long c)
{
    NTL::ZZX f;
    NTL::SetCoeff(f, k, 1);
    NTL::SetCoeff(f, 0, c);
    return f;
}

NTL::ZZX power_of(const NTL::ZZX& a, long e)
{
    NTL::ZZX r(1);
    for (long i = 0; i < e; ++i)
        r *= a;
    return r;
}

// --- FLINT's polynomials from NTL's ---------------------------------------------------------------

struct FlintModPoly {
    nmod_poly_t poly;
    explicit FlintModPoly(const NTL::zz_pX& f)
    {
        nmod_poly_init(poly, static_cast<mp_limb_t>(NTL::zz_p::modulus()));
        for (long i = 0; i <= NTL::deg(f); ++i)
            nmod_poly_set_coeff_ui(poly, i, static_cast<mp_limb_t>(NTL::rep(NTL::coeff(f, i))));
    }
    FlintModPoly(const FlintModPoly&) = delete;
    FlintModPoly& operator=(const FlintModPoly&) = delete;
    ~FlintModPoly() { nmod_poly_clear(poly); }
};

struct FlintIntPoly {
    fmpz_poly_t poly;
    explicit FlintIntPoly(const NTL::ZZX& f)
    {
        fmpz_poly_init(poly);
        for (long i = 0; i <= NTL::deg(f); ++i)
            fmpz_poly_set_coeff_si(poly, i, NTL::conv<long>(NTL::coeff(f, i)));
    }
    FlintIntPoly(const FlintIntPoly&) = delete;
    FlintIntPoly& operator=(const FlintIntPoly&) = delete;
    ~FlintIntPoly() { fmpz_poly_clear(poly); }
};

// A fixture's polynomial: its second line, terms "±c x^e" with stray blanks anywhere.
NTL::ZZX fixture_input(const char* name)
{
    std::FILE* file = std::fopen((std::string(SQUAREFREE_FIXTURES) + "/" + name).c_str(), "r");
    std::string text;
    for (int c = file != nullptr ? std::fgetc(file) : EOF; c != EOF; c = std::fgetc(file))
        text.push_back(static_cast<char>(c));
    if (file != nullptr)
        std::fclose(file);
    std::string line = text.substr(text.find('\n') + 1);
    line = line.substr(0, line.find('\n'));
    std::erase(line, ' ');
    NTL::ZZX f;
    for (std::size_t i = 0; i < line.size();) {
        const bool negative = line[i] == '-';
        if (line[i] == '+' || line[i] == '-')
            ++i;
        long coefficient = 0, exponent = 0;
        bool digits = false;
        for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i, digits = true)
            coefficient = coefficient * 10 + (line[i] - '0');
        if (!digits)
            coefficient = 1;
        if (i < line.size() && line[i] == 'x') {
            exponent = 1;
            if (++i < line.size() && line[i] == '^')
                for (exponent = 0, ++i; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i)
                    exponent = exponent * 10 + (line[i] - '0');
        }
        NTL::SetCoeff(f, exponent, negative ? -coefficient : coefficient);
    }
    return f;
}

// The integer families, each of degree about `degree`.
NTL::ZZX int_input(int family, long degree)
{
    switch (family) {
    case 6: {  // ∏ (x^q - 1) over the first primes q, as many as the degree allows: (x - 1)^k beside
               // a square-free factor with wide coefficients
        NTL::ZZX f(1);
        long sum = 0;
        for (long q = 2; sum + q <= degree; ++q) {
            bool prime = true;
            for (long d = 2; d * d <= q; ++d)
                prime = prime && q % d != 0;
            if (prime) {
                f *= monomial_plus(q, -1);
                sum += q;
            }
        }
        return f;
    }
    case 7:
        return fixture_input("factor-near-2-63.in");
    case 8:
        return fixture_input("factor-past-2-63.in");
    case 0:  // (x^k + 3)^4
        return power_of(monomial_plus(degree / 4, 3), 4);
    case 1: {  // (x^a - 1)^2 (x^b + 2)^3 (x^c + x + 1)
        const long a = degree / 6, b = degree / 6, c = degree - 2 * a - 3 * b;
        NTL::ZZX third = monomial_plus(c, 1);
        NTL::SetCoeff(third, 1, 1);
        return power_of(monomial_plus(a, -1), 2) * power_of(monomial_plus(b, 2), 3) * third;
    }
    case 3: {  // square-free: dense, random 31-bit coefficients
        std::mt19937_64 rng(static_cast<std::uint64_t>(degree) * 3);
        NTL::ZZX f;
        for (long i = 0; i <= degree; ++i)
            NTL::SetCoeff(f, i, static_cast<long>(1 + rng() % 2147483646) * (rng() % 2 == 0 ? 1 : -1));
        NTL::SetCoeff(f, degree, 1);
        return f;
    }
    case 4: {  // square-free: sparse, eight random terms
        std::mt19937_64 rng(static_cast<std::uint64_t>(degree) * 5);
        NTL::ZZX f;
        for (int i = 0; i < 7; ++i)
            NTL::SetCoeff(f, static_cast<long>(rng() % static_cast<std::uint64_t>(degree)), static_cast<long>(rng() % 2000) - 1000);
        NTL::SetCoeff(f, 0, 1);
        NTL::SetCoeff(f, degree, 1);
        return f;
    }
    case 5: {  // dense a1·a2^2·a3^3 with random factors of coefficients -1, 0, 1, the product within 31 bits
        std::mt19937_64 rng(static_cast<std::uint64_t>(degree) * 7);
        const auto random_factor = [&rng](long d) {
            NTL::ZZX a;
            for (long i = 0; i < d; ++i)
                NTL::SetCoeff(a, i, static_cast<long>(rng() % 3) - 1);
            NTL::SetCoeff(a, d, 1);
            return a;
        };
        const long part = degree / 6;
        for (;;) {
            const NTL::ZZX f = random_factor(degree - 5 * part) * power_of(random_factor(part), 2) * power_of(random_factor(part), 3);
            if (NTL::MaxBits(f) <= 31)
                return f;
        }
    }
    default: {  // products of random sparse factors x^k ± x^j ± c with multiplicities 1 to 3
        std::mt19937_64 rng(static_cast<std::uint64_t>(degree));
        for (;;) {
            NTL::ZZX f(1);
            long multiplicity = 1;
            while (NTL::deg(f) < degree) {
                const long k = 1 + static_cast<long>(rng() % static_cast<std::uint64_t>(degree / 6 + 1));
                const long constant = static_cast<long>(rng() % 5) - 2;
                NTL::ZZX a = monomial_plus(k, constant == 0 ? 1 : constant);
                if (k > 1)
                    NTL::SetCoeff(a, static_cast<long>(rng() % static_cast<std::uint64_t>(k - 1)) + 1, rng() % 2 == 0 ? 1 : -1);
                f *= power_of(a, multiplicity);
                multiplicity = multiplicity % 3 + 1;
            }
            NTL::ZZ largest;
            for (long i = 0; i <= NTL::deg(f); ++i)
                if (NTL::abs(NTL::coeff(f, i)) > largest)
                    largest = NTL::abs(NTL::coeff(f, i));
            if (NTL::NumBits(largest) <= 31)
                return f;
        }
    }
    }
}

// --- square-free factorization modulo p ---------------------------------------------------------

void mod_ours(benchmark::State& state)
{
    const long p = state.range(0), degree = state.range(1);
    const Poly f = poly_from_ntl(dense_mod_input(p, degree));
    for (auto _ : state)
        benchmark::DoNotOptimize(squarefree_mod(p, f));
}

// NTL's and FLINT's square-free factorizations of a monic f (NTL wants a monic input).
void ntl_squarefree(const NTL::zz_pX& monic)
{
    NTL::vec_pair_zz_pX_long result;
    NTL::SquareFreeDecomp(result, monic);
    benchmark::DoNotOptimize(result);
}

void flint_squarefree(const FlintModPoly& monic)
{
    nmod_poly_factor_t result;
    nmod_poly_factor_init(result);
    nmod_poly_factor_squarefree(result, monic.poly);
    nmod_poly_factor_clear(result);
}

void mod_ntl(benchmark::State& state)
{
    const long p = state.range(0), degree = state.range(1);
    const NTL::zz_pX f = dense_mod_input(p, degree);
    for (auto _ : state)
        ntl_squarefree(f / NTL::LeadCoeff(f));
}

void mod_flint(benchmark::State& state)
{
    const long p = state.range(0), degree = state.range(1);
    const NTL::zz_pX f = dense_mod_input(p, degree);
    const FlintModPoly g(f / NTL::LeadCoeff(f));
    for (auto _ : state)
        flint_squarefree(g);
}

constexpr long kModPrimes[] = {3L, 65537L, 1000003L, 2147483647L};

void mod_args(benchmark::internal::Benchmark* b)
{
    for (const long p : kModPrimes)
        for (const long degree : {30L, 100L, 300L, 1000L, 5000L, 10000L, 20000L, 100000L})
            b->Args({p, degree});
    b->ArgNames({"p", "deg"})->Unit(benchmark::kMicrosecond);
}

// Degree one million modulo each prime, and ten million modulo the smallest and the largest: one
// call each, they take seconds. bench/run runs the ten-million rows on their own, once.
void mod_million(benchmark::internal::Benchmark* b)
{
    for (const long p : kModPrimes)
        b->Args({p, 1000000L});
    b->ArgNames({"p", "deg"})->Unit(benchmark::kMillisecond)->Iterations(1);
}

void mod_ten_million(benchmark::internal::Benchmark* b)
{
    for (const long p : {3L, 2147483647L})
        b->Args({p, 10000000L});
    b->ArgNames({"p", "deg"})->Unit(benchmark::kMillisecond)->Iterations(1);
}

BENCHMARK(mod_ours)->Name("sqf_mod/ours")->Apply(mod_args);
BENCHMARK(mod_ntl)->Name("sqf_mod/ntl")->Apply(mod_args);
BENCHMARK(mod_flint)->Name("sqf_mod/flint")->Apply(mod_args);
BENCHMARK(mod_ours)->Name("sqf_mod_million/ours")->Apply(mod_million);
BENCHMARK(mod_ntl)->Name("sqf_mod_million/ntl")->Apply(mod_million);
BENCHMARK(mod_flint)->Name("sqf_mod_million/flint")->Apply(mod_million);
BENCHMARK(mod_ours)->Name("sqf_mod_ten_million/ours")->Apply(mod_ten_million);
BENCHMARK(mod_ntl)->Name("sqf_mod_ten_million/ntl")->Apply(mod_ten_million);
BENCHMARK(mod_flint)->Name("sqf_mod_ten_million/flint")->Apply(mod_ten_million);

// --- square-free factorization over Z ---------------------------------------------------------

void int_ours(benchmark::State& state)
{
    const Poly f = poly_from_ntl(int_input(static_cast<int>(state.range(0)), state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(squarefree_int(f));
}

void int_ntl(benchmark::State& state)
{
    const NTL::ZZX f = int_input(static_cast<int>(state.range(0)), state.range(1));
    for (auto _ : state) {
        NTL::vec_pair_ZZX_long result;
        NTL::SquareFreeDecomp(result, f);
        benchmark::DoNotOptimize(result);
    }
}

void int_flint(benchmark::State& state)
{
    const FlintIntPoly f(int_input(static_cast<int>(state.range(0)), state.range(1)));
    for (auto _ : state) {
        fmpz_poly_factor_t result;
        fmpz_poly_factor_init(result);
        fmpz_poly_factor_squarefree(result, f.poly);
        fmpz_poly_factor_clear(result);
    }
}

void int_args(benchmark::internal::Benchmark* b)
{
    for (const long family : {0L, 1L, 2L, 5L, 3L, 4L, 6L})
        for (const long degree : {100L, 1000L, 4000L})
            b->Args({family, degree});
    b->Args({7, 175})->Args({8, 193});  // the fixtures: their degrees are their own
    b->ArgNames({"family", "deg"})->Unit(benchmark::kMicrosecond);
}

// How many integer gcds (NTL's) one call of squarefree_int takes on each integer input: the
// factors are meant to come from the images alone.
int print_gcd_counts()
{
    std::vector<std::pair<long, long>> inputs;
    for (const long family : {0L, 1L, 2L, 5L, 3L, 4L, 6L})
        for (const long degree : {100L, 1000L, 4000L})
            inputs.emplace_back(family, degree);
    inputs.emplace_back(7, 175);
    inputs.emplace_back(8, 193);
    for (const auto& [family, degree] : inputs) {
        const Poly f = poly_from_ntl(int_input(static_cast<int>(family), degree));
        const std::uint64_t before = int_gcd_count();
        benchmark::DoNotOptimize(squarefree_int(f));
        std::printf("sqf_int/family:%ld/deg:%ld %llu\n", family, degree,
                    static_cast<unsigned long long>(int_gcd_count() - before));
    }
    return 0;
}

BENCHMARK(int_ours)->Name("sqf_int/ours")->Apply(int_args);
BENCHMARK(int_ntl)->Name("sqf_int/ntl")->Apply(int_args);
BENCHMARK(int_flint)->Name("sqf_int/flint")->Apply(int_args);

// --- arithmetic modulo p ------------------------------------------------------------------------

struct Operands {
    NTL::zz_pX a, b, common_a, common_b;  // a of degree 2n, b of degree n; a gcd of degree n/2
};

Operands operands(long p, long n)
{
    NTL::zz_p::init(p);
    std::mt19937_64 rng(static_cast<std::uint64_t>(n));
    const NTL::zz_pX g = random_monic(rng, n / 2);
    return Operands{random_monic(rng, 2 * n), random_monic(rng, n), g * random_monic(rng, n), g * random_monic(rng, n / 2)};
}

template <int Op>
void arith_ours(benchmark::State& state)
{
    const long p = state.range(0), n = state.range(1);
    const Operands o = operands(p, n);
    const Poly a = poly_from_ntl(o.a), b = poly_from_ntl(o.b), ca = poly_from_ntl(o.common_a), cb = poly_from_ntl(o.common_b);
    for (auto _ : state) {
        if constexpr (Op == 0)
            benchmark::DoNotOptimize(poly_multiply(b, p, b));
        else if constexpr (Op == 4)
            benchmark::DoNotOptimize(poly_multiply(a, p, b));
        else if constexpr (Op == 1)
            benchmark::DoNotOptimize(poly_quotient(a, p, b));
        else if constexpr (Op == 2)
            benchmark::DoNotOptimize(poly_remainder(a, p, b));
        else
            benchmark::DoNotOptimize(poly_gcd_mod(ca, cb, p));
    }
}

template <int Op>
void arith_ntl(benchmark::State& state)
{
    const long p = state.range(0), n = state.range(1);
    const Operands o = operands(p, n);
    for (auto _ : state) {
        if constexpr (Op == 0)
            benchmark::DoNotOptimize(NTL::zz_pX(o.b * o.b));
        else if constexpr (Op == 4)
            benchmark::DoNotOptimize(NTL::zz_pX(o.a * o.b));
        else if constexpr (Op == 1)
            benchmark::DoNotOptimize(NTL::zz_pX(o.a / o.b));
        else if constexpr (Op == 2)
            benchmark::DoNotOptimize(NTL::zz_pX(o.a % o.b));
        else
            benchmark::DoNotOptimize(NTL::GCD(o.common_a, o.common_b));
    }
}

template <int Op>
void arith_flint(benchmark::State& state)
{
    const long p = state.range(0), n = state.range(1);
    const Operands o = operands(p, n);
    const FlintModPoly a(o.a), b(o.b), ca(o.common_a), cb(o.common_b);
    nmod_poly_t r;
    nmod_poly_init(r, static_cast<mp_limb_t>(p));
    for (auto _ : state) {
        if constexpr (Op == 0)
            nmod_poly_mul(r, b.poly, b.poly);
        else if constexpr (Op == 4)
            nmod_poly_mul(r, a.poly, b.poly);
        else if constexpr (Op == 1)
            nmod_poly_div(r, a.poly, b.poly);
        else if constexpr (Op == 2)
            nmod_poly_rem(r, a.poly, b.poly);
        else
            nmod_poly_gcd(r, ca.poly, cb.poly);
    }
    nmod_poly_clear(r);
}

void arith_args(benchmark::internal::Benchmark* b)
{
    for (const long n : {100L, 1000L, 5000L, 20000L, 100000L})
        b->Args({1000003L, n});
    b->ArgNames({"p", "deg"})->Unit(benchmark::kMicrosecond);
}

// The gcd of the same shape modulo each benchmark prime at degrees 10^4 and 10^5, for how the
// gcd alone grows with the degree.
void growth_args(benchmark::internal::Benchmark* b)
{
    for (const long p : {3L, 1000003L, 2147483647L})
        for (const long n : {10000L, 100000L})
            b->Args({p, n});
    b->ArgNames({"p", "deg"})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(arith_ours<0>)->Name("multiply/ours")->Apply(arith_args);
BENCHMARK(arith_ntl<0>)->Name("multiply/ntl")->Apply(arith_args);
BENCHMARK(arith_ours<4>)->Name("multiply_two/ours")->Apply(arith_args);
BENCHMARK(arith_ntl<4>)->Name("multiply_two/ntl")->Apply(arith_args);
BENCHMARK(arith_ours<1>)->Name("quotient/ours")->Apply(arith_args);
BENCHMARK(arith_ntl<1>)->Name("quotient/ntl")->Apply(arith_args);
BENCHMARK(arith_ours<2>)->Name("remainder/ours")->Apply(arith_args);
BENCHMARK(arith_ntl<2>)->Name("remainder/ntl")->Apply(arith_args);
BENCHMARK(arith_ours<3>)->Name("gcd_mod/ours")->Apply(arith_args);
BENCHMARK(arith_ntl<3>)->Name("gcd_mod/ntl")->Apply(arith_args);
BENCHMARK(arith_flint<0>)->Name("multiply/flint")->Apply(arith_args);
BENCHMARK(arith_flint<4>)->Name("multiply_two/flint")->Apply(arith_args);
BENCHMARK(arith_flint<1>)->Name("quotient/flint")->Apply(arith_args);
BENCHMARK(arith_flint<2>)->Name("remainder/flint")->Apply(arith_args);
BENCHMARK(arith_flint<3>)->Name("gcd_mod/flint")->Apply(arith_args);
BENCHMARK(arith_ours<3>)->Name("gcd_mod_growth/ours")->Apply(growth_args);
BENCHMARK(arith_ntl<3>)->Name("gcd_mod_growth/ntl")->Apply(growth_args);
BENCHMARK(arith_flint<3>)->Name("gcd_mod_growth/flint")->Apply(growth_args);

// --- growth from degree 10^4 to 10^5 ------------------------------------------------------------

// One line per row of the growth table: the row's name, then for ours, NTL and FLINT the
// microseconds per call at degree 10^4 and at 10^5, from alternating slices of the two sizes.
int print_growth()
{
    const auto by_slices = [](auto small, auto large) {
        return fastest_slices(small, large, std::chrono::milliseconds(30), 8);
    };
    const auto print = [](const std::string& row, const std::pair<double, double> (&times)[3]) {
        std::printf("%s", row.c_str());
        for (const auto& [small, large] : times)
            std::printf(" %.1f %.1f", small, large);
        std::printf("\n");
        std::fflush(stdout);
    };
    for (const long p : {3L, 1000003L, 2147483647L}) {
        const NTL::zz_pX small = dense_mod_input(p, 10000), large = dense_mod_input(p, 100000);
        const Poly ours_small = poly_from_ntl(small), ours_large = poly_from_ntl(large);
        const NTL::zz_pX monic_small = small / NTL::LeadCoeff(small), monic_large = large / NTL::LeadCoeff(large);
        const FlintModPoly flint_small(monic_small), flint_large(monic_large);
        const std::pair<double, double> times[3] = {
            by_slices([&] { benchmark::DoNotOptimize(squarefree_mod(p, ours_small)); },
                      [&] { benchmark::DoNotOptimize(squarefree_mod(p, ours_large)); }),
            by_slices([&] { ntl_squarefree(monic_small); }, [&] { ntl_squarefree(monic_large); }),
            by_slices([&] { flint_squarefree(flint_small); }, [&] { flint_squarefree(flint_large); })};
        print("sqf_mod/p:" + std::to_string(p), times);
    }
    for (const long p : {3L, 1000003L, 2147483647L}) {
        const Operands small = operands(p, 10000), large = operands(p, 100000);
        const Poly small_a = poly_from_ntl(small.common_a), small_b = poly_from_ntl(small.common_b),
                   large_a = poly_from_ntl(large.common_a), large_b = poly_from_ntl(large.common_b);
        const FlintModPoly flint_small_a(small.common_a), flint_small_b(small.common_b),
            flint_large_a(large.common_a), flint_large_b(large.common_b);
        nmod_poly_t r;
        nmod_poly_init(r, static_cast<mp_limb_t>(p));
        const std::pair<double, double> times[3] = {
            by_slices([&] { benchmark::DoNotOptimize(poly_gcd_mod(small_a, small_b, p)); },
                      [&] { benchmark::DoNotOptimize(poly_gcd_mod(large_a, large_b, p)); }),
            by_slices([&] { benchmark::DoNotOptimize(NTL::GCD(small.common_a, small.common_b)); },
                      [&] { benchmark::DoNotOptimize(NTL::GCD(large.common_a, large.common_b)); }),
            by_slices([&] { nmod_poly_gcd(r, flint_small_a.poly, flint_small_b.poly); },
                      [&] { nmod_poly_gcd(r, flint_large_a.poly, flint_large_b.poly); })};
        nmod_poly_clear(r);
        print("gcd_mod_growth/p:" + std::to_string(p), times);
    }
    return 0;
}

// How squarefree_mod grows from degree 10^6 to 10^7 modulo each prime: one call of each size in
// turn, three times, the fastest of each (the first call of a size also pays for fresh pages).
int print_top_growth()
{
    for (const long p : kModPrimes) {
        const Poly small = poly_from_ntl(dense_mod_input(p, 1000000)), large = poly_from_ntl(dense_mod_input(p, 10000000));
        double best_small = 0, best_large = 0;
        for (int round = 0; round < 3; ++round) {
            const auto seconds = [p](const Poly& f) {
                const auto start = std::chrono::steady_clock::now();
                benchmark::DoNotOptimize(squarefree_mod(p, f));
                return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            };
            const double s = seconds(small), l = seconds(large);
            best_small = round == 0 ? s : std::min(best_small, s);
            best_large = round == 0 ? l : std::min(best_large, l);
        }
        std::printf("sqf_mod/p:%ld %.3f %.3f\n", p, best_small, best_large);
        std::fflush(stdout);
    }
    return 0;
}

// --- the whole program --------------------------------------------------------------------------

// Runs the real program with `input` on standard input and waits for it.
void run_program(const std::string& input)
{
    int in[2];
    if (pipe(in) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_addclose(&actions, in[0]);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char* const argv[] = {const_cast<char*>(SQUAREFREE_BINARY), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, SQUAREFREE_BINARY, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    if (spawned != 0) {
        close(in[1]);
        return;
    }
    std::size_t written = 0;
    while (written < input.size()) {
        const ssize_t w = write(in[1], input.data() + written, input.size() - written);
        if (w <= 0)
            break;
        written += static_cast<std::size_t>(w);
    }
    close(in[1]);
    int status = 0;
    waitpid(pid, &status, 0);
}

void dialogue(benchmark::State& state)
{
    for (auto _ : state)
        run_program("0\nx^3 + 3x^2 - 4\n\n");
}
BENCHMARK(dialogue)->Name("process/typical_dialogue")->Unit(benchmark::kMillisecond)->UseRealTime();

// Sparse input of huge degree: the cost follows the terms.
const char* const kSparseDialogues[] = {"2147483647\nx^1073741823 + x + 1\n\n", "3\nx^1000000000 + 1\n\n",
                                         "0\nx^1000000 + 1\n\n"};

void sparse_dialogue(benchmark::State& state)
{
    for (auto _ : state)
        run_program(kSparseDialogues[state.range(0)]);
}
BENCHMARK(sparse_dialogue)->Name("process/sparse")->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

std::string dialogue_text(long p, const NTL::zz_pX& f)
{
    std::string line;
    for (long i = NTL::deg(f); i >= 0; --i)
        if (!NTL::IsZero(NTL::coeff(f, i)))
            line += (line.empty() ? "" : " + ") + std::to_string(NTL::rep(NTL::coeff(f, i))) + "x^" + std::to_string(i);
    return std::to_string(p) + "\n" + line + "\n\n";
}

// Writes the dialogues whose peak memory bench/run measures, one file each, into `folder`.
int write_inputs(const std::string& folder, bool largest)
{
    const auto write = [&folder](const std::string& name, const std::string& text) {
        std::FILE* file = std::fopen((folder + "/" + name).c_str(), "w");
        if (file == nullptr)
            return false;
        std::fputs(text.c_str(), file);
        return std::fclose(file) == 0;
    };
    const char* const sparse_names[] = {"sparse-x^1073741823+x+1-mod-2147483647", "sparse-x^1000000000+1-mod-3",
                                        "sparse-x^1000000+1-over-Z"};
    for (int i = 0; i < 3; ++i)
        if (!write(sparse_names[i], kSparseDialogues[i]))
            return 1;
    for (const long p : {1000003L, 2147483647L})
        for (const long degree : {100L, 1000L, 5000L, 20000L, 100000L, 1000000L})
            if (!write("dense-mod-" + std::to_string(p) + "-degree-" + std::to_string(degree),
                       dialogue_text(p, dense_mod_input(p, degree))))
                return 1;
    if (largest)
        for (const long p : {3L, 2147483647L})
            if (!write("dense-mod-" + std::to_string(p) + "-degree-10000000", dialogue_text(p, dense_mod_input(p, 10000000))))
                return 1;
    return 0;
}

}  // namespace

// Debian's FLINT brings the shared NTL library into this process beside the program's static one;
// both would destroy the same NTL globals at exit. The benchmark ends without running destructors.
[[noreturn]] void finish(int status)
{
    std::fflush(stdout);
    std::_Exit(status);
}

int main(int argc, char** argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--write-inputs") == 0)
        finish(write_inputs(argv[2], argc > 3 && std::strcmp(argv[3], "--largest") == 0));
    install_library_hooks(nullptr);  // as the program does: freed memory kept for reuse serves NTL and FLINT alike
    if (argc > 1 && std::strcmp(argv[1], "--growth") == 0)
        finish(print_growth());
    if (argc > 1 && std::strcmp(argv[1], "--gcd-counts") == 0)
        finish(print_gcd_counts());
    if (argc > 1 && std::strcmp(argv[1], "--top-growth") == 0)
        finish(print_top_growth());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    finish(0);
}
