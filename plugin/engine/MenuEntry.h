#pragma once

#include <cstdint>

// An enumerated parameter stores menu entry k as (k + 1) / 100. Readers truncate the value times a
// factor that maps (k + 1) / 100 (and 0) back to k; the factor depends on the menu.
enum class MenuScale {
  FilterOrDistortion,    // v x 100 x 0.9999
  RoutingOrDestination,  // v x 100 x 0.999
  Plain,                 // v x 99.999
};

// The entry a value selects. Values that decode below 0 (or are not numbers) give -1; very large
// values give a large entry. Callers check the result against their own table.
int32_t menuEntry(float value, MenuScale scale);

// The entry a value of the plain scale selects, taken modulo count (a true modulo: negative values
// wrap too, and values beyond the 32-bit range give entry 0).
int32_t wrappedMenuEntry(float value, int32_t count);
