#pragma once

#include <array>
#include <cstdint>

// The internal type that selects no filter.
constexpr std::int32_t kNoFilterType = 255;

// Filter-type menu entry (0..57, "Bypass" to "Comb5") to internal filter type.
inline constexpr std::array<std::int32_t, 58> FilterTypeMap = {
    255, 0,  42, 44, 28, 13, 8,  9,  10, 26, 24, 1,  45, 29, 14, 27, 25, 2,  49, 30,
    15,  3,  48, 54, 16, 6,  7,  4,  5,  33, 34, 23, 17, 18, 19, 20, 21, 22, 12, 11,
    32,  41, 35, 36, 37, 38, 55, 31, 56, 57, 58, 59, 60, 61, 65, 66, 70, 64};

// The internal type of a menu entry; an entry outside the menu (host automation can send any value)
// selects no filter.
constexpr std::int32_t filterTypeForEntry(std::int32_t entry) {
  return entry >= 0 && entry < static_cast<std::int32_t>(FilterTypeMap.size()) ? FilterTypeMap[entry]
                                                                               : kNoFilterType;
}
