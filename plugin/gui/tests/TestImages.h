#pragma once

// Bitmap resources of the toolkit tests.
// 8 by 4: columns 0-3 red, 4-5 white, 6 (254, 255, 255), 7 blue.
constexpr long kStripImage = 128;
// 5 by 3 with an 8-bit palette: green, the top-left pixel black.
constexpr long kPaletteImage = 129;
// 16 by 16 grey (100, 100, 100), the pixel (3, 5) is (10, 20, 30).
constexpr long kGreyImage = 130;
// No resource has this id.
constexpr long kMissingImage = 4000;
