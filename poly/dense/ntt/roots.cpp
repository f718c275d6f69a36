#include "roots.h"

#include <algorithm>
#include <bit>
#include <memory>

#include "lane_layouts.h"
#include "primes.h"
#include "residue/modulus.h"

namespace {

LaneRoots lane_roots(const std::vector<std::uint32_t>& w, const std::vector<std::uint32_t>& w_shoup)
{
    LaneRoots lanes{};
    for (std::size_t l = 0; l < 4; ++l) {
        const std::size_t len = std::size_t{8} >> l;
        for (std::size_t lane = 0; lane < 16; ++lane) {
            const std::size_t j = kLaneLayouts.element[l][0][lane] % len;
            lanes.w[l][lane] = w[len + j];
            lanes.w_shoup[l][lane] = w_shoup[len + j];
        }
    }
    return lanes;
}

// The powers of a root ψ in Montgomery's form that make a level's twiddles ψ^j as it goes.
template <typename Roots>
void fill_powers(Roots& r, std::uint32_t psi, std::uint32_t q)
{
    const Modulus mod(q);
    const std::uint64_t montgomery = (std::uint64_t{1} << 32) % q;  // 2^32 mod q
    std::uint64_t w = 1;
    for (std::uint32_t& first : r.first) {
        first = static_cast<std::uint32_t>(mod.mul(w, montgomery));
        w = mod.mul(w, psi);
    }
    for (std::size_t k = 0; k < 5; ++k)
        r.step[k] = static_cast<std::uint32_t>(mod.mul(power_mod(psi, std::uint64_t{1} << k, q), montgomery));
}

ThirdsRoots thirds_roots(std::uint32_t psi, std::size_t m, std::uint32_t q)
{
    const Modulus mod(q);
    ThirdsRoots r;
    r.cube_root = power_mod(psi, m, q);
    r.cube_root_shoup = mod.shoup(r.cube_root);
    fill_powers(r, psi, q);
    r.minus_q_inverse = minus_inverse_mod_2_32(q);
    return r;
}

LevelRoots level_roots(std::uint32_t omega, std::size_t len, std::uint32_t q)
{
    LevelRoots r;
    fill_powers(r, omega, q);
    r.fourth = static_cast<std::uint32_t>(Modulus(q).mul(power_mod(omega, len / 2, q), (std::uint64_t{1} << 32) % q));
    return r;
}

}  // namespace

const RootTable& roots(std::size_t prime, std::size_t length)
{
    static RootTable tables[3];
    RootTable& table = tables[prime];
    if (table.length >= length)
        return table;
    const std::uint32_t q = kNttPrimes[prime].q;
    const Modulus mod(q);
    table.length = length;
    const std::size_t tabled = std::min(length, kTabledRootsLength);
    table.w.assign(tabled, 0);
    table.w_shoup.assign(tabled, 0);
    table.inverse.assign(tabled, 0);
    table.inverse_shoup.assign(tabled, 0);
    table.minus_q_inverse = minus_inverse_mod_2_32(q);
    const std::uint64_t half = (q + 1) / 2;
    std::uint64_t factor = (std::uint64_t{1} << 32) % q;
    for (std::uint32_t& entry : table.scale) {
        entry = static_cast<std::uint32_t>(factor);
        factor = mod.mul(factor, half);
    }
    for (std::size_t len = 1; len < length; len *= 2) {
        const std::uint32_t root = power_mod(kNttPrimes[prime].generator, (q - 1) / (2 * len), q);
        const std::uint32_t inverse_root = power_mod(root, q - 2, q);
        if (len >= kTabledRootsLength) {
            table.forward_levels[std::countr_zero(len)] = level_roots(root, len, q);
            table.inverse_levels[std::countr_zero(len)] = level_roots(inverse_root, len, q);
            continue;
        }
        std::uint64_t w = 1, v = 1;
        for (std::size_t j = 0; j < len; ++j) {
            table.w[len + j] = static_cast<std::uint32_t>(w);
            table.w_shoup[len + j] = mod.shoup(static_cast<std::uint32_t>(w));
            table.inverse[len + j] = static_cast<std::uint32_t>(v);
            table.inverse_shoup[len + j] = mod.shoup(static_cast<std::uint32_t>(v));
            w = mod.mul(w, root);
            v = mod.mul(v, inverse_root);
        }
    }
    if (length >= 16) {
        table.forward_lanes = lane_roots(table.w, table.w_shoup);
        table.inverse_lanes = lane_roots(table.inverse, table.inverse_shoup);
    }
    return table;
}

const ThirdsTable& thirds(std::size_t prime, std::size_t m)
{
    static std::unique_ptr<ThirdsTable> tables[3][32];
    std::unique_ptr<ThirdsTable>& table = tables[prime][std::countr_zero(m)];
    if (!table) {
        const std::uint32_t q = kNttPrimes[prime].q;
        const std::uint32_t psi = power_mod(kNttPrimes[prime].generator, (q - 1) / (3 * m), q);
        table = std::make_unique<ThirdsTable>();
        table->forward = thirds_roots(psi, m, q);
        table->inverse = thirds_roots(power_mod(psi, q - 2, q), m, q);
        const std::uint64_t third = power_mod(3, q - 2, q);
        table->scale = static_cast<std::uint32_t>(Modulus(q).mul(roots(prime, m).scale[std::countr_zero(m)], third));
    }
    return *table;
}
