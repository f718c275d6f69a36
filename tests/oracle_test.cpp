// A campaign of seeded random inputs over Z and modulo several primes, every factorization
// compared with NTL's. SQUAREFREE_ORACLE_SECONDS sets the budget (a few seconds by default; a
// long campaign is the same test with a larger budget) and SQUAREFREE_ORACLE_SEED the seed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "support/oracle.h"

namespace {

double budget_seconds()
{
    const char* value = std::getenv("SQUAREFREE_ORACLE_SECONDS");
    return value != nullptr ? std::atof(value) : 4.0;
}

std::uint64_t campaign_seed()
{
    const char* value = std::getenv("SQUAREFREE_ORACLE_SEED");
    return value != nullptr ? std::strtoull(value, nullptr, 10) : 1;
}

TEST(OracleCampaign, EveryFactorizationAgreesWithNtl)
{
    const std::uint64_t seed = campaign_seed();
    std::mt19937_64 rng(seed);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(budget_seconds());
    const std::int64_t primes[] = {2, 3, 5, 7, 101, 65537, 1000003, 2147483647};
    long compared = 0;
    long long_ones = 0;
    for (long round = 0; !HasFailure() && std::chrono::steady_clock::now() < deadline; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
        const std::size_t which = static_cast<std::size_t>(rng() % 10);
        if (which == 8) {
            const std::uint64_t kind = rng() % 8;
            if (kind == 0)
                check_squarefree_int(random_input_unlucky(rng));
            else if (kind == 1)
                check_squarefree_int_sparse(random_input_sparse(rng));
            else
                check_squarefree_int(random_input_int(rng, 5));
        } else if (which == 9) {
            check_squarefree_int(random_input_wide(rng, 2 + static_cast<int>(rng() % 13)));
        } else {
            NTL::zz_p::init(primes[which]);
            // Now and then a long input, up to degree 3·10^4: the fast gcds, divisions and products.
            const bool long_one = rng() % 32 == 0;
            long_ones += long_one ? 1 : 0;
            check_squarefree_mod(primes[which], long_one ? random_long_input_mod(rng, primes[which], 30000)
                                                         : random_input_mod(rng, primes[which], 5));
        }
        ++compared;
    }
    std::printf("oracle campaign: seed %llu, %ld factorizations compared, %ld of them long\n",
                static_cast<unsigned long long>(seed), compared, long_ones);
    EXPECT_GT(compared, 0);
}

}  // namespace
