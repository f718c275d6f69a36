// Internal to the transforms: the lane layouts of the sixteen-lane kernel's last four levels.
//
// The last four levels of a transform pair entry e with e + len, for len = 8, 4, 2, 1. The
// sixteen-lane kernel holds 32 consecutive entries in two registers and, before each of these
// levels, permutes them so that register 0 holds the first entries of the level's pairs and
// register 1 their partners, lane for lane. `element` names the entry in each lane of the layout of
// each level; a gather is the two-register permutation from one layout to the next (index
// 16·r + lane picks lane `lane` of register r), from the natural order through the four levels
// back to the natural order.
#pragma once

#include <cstdint>

struct LaneLayouts {
    std::uint32_t element[4][2][16];         // layout l: the level of half-length 8 >> l
    std::uint32_t forward_gather[5][2][16];  // levels of half-length 8, 4, 2, 1
    std::uint32_t inverse_gather[5][2][16];  // levels of half-length 1, 2, 4, 8
};

constexpr LaneLayouts make_lane_layouts()
{
    LaneLayouts k{};
    for (std::uint32_t l = 0; l < 4; ++l) {
        std::uint32_t first = 0, second = 0;
        for (std::uint32_t e = 0; e < 32; ++e) {
            if (e & (8u >> l))
                k.element[l][1][second++] = e;
            else
                k.element[l][0][first++] = e;
        }
    }
    constexpr std::uint32_t natural = 4;
    const auto entry = [&k](std::uint32_t layout, std::uint32_t r, std::uint32_t lane) {
        return layout == natural ? 16 * r + lane : k.element[layout][r][lane];
    };
    const auto position = [&entry](std::uint32_t layout, std::uint32_t e) {
        for (std::uint32_t r = 0; r < 2; ++r)
            for (std::uint32_t lane = 0; lane < 16; ++lane)
                if (entry(layout, r, lane) == e)
                    return 16 * r + lane;
        return std::uint32_t{0};
    };
    constexpr std::uint32_t forward_order[6] = {natural, 0, 1, 2, 3, natural};
    constexpr std::uint32_t inverse_order[6] = {natural, 3, 2, 1, 0, natural};
    for (std::uint32_t i = 0; i < 5; ++i)
        for (std::uint32_t r = 0; r < 2; ++r)
            for (std::uint32_t lane = 0; lane < 16; ++lane) {
                k.forward_gather[i][r][lane] = position(forward_order[i], entry(forward_order[i + 1], r, lane));
                k.inverse_gather[i][r][lane] = position(inverse_order[i], entry(inverse_order[i + 1], r, lane));
            }
    return k;
}

inline constexpr LaneLayouts kLaneLayouts = make_lane_layouts();
