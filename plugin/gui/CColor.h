#pragma once

#include <cstdint>

namespace Gui {

// A colour with its opacity; alpha matters only to alpha blending and to equality.
struct CColor {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  uint8_t alpha;

  bool operator==(const CColor& other) const {
    return red == other.red && green == other.green && blue == other.blue && alpha == other.alpha;
  }
  bool operator!=(const CColor& other) const { return !(*this == other); }
};

// The colour as GDI takes it (red in the lowest byte, no alpha).
inline uint32_t toWindowsColor(const CColor& color) {
  return color.red | (static_cast<uint32_t>(color.green) << 8) | (static_cast<uint32_t>(color.blue) << 16);
}

inline constexpr CColor kTransparentCColor{255, 255, 255, 0};
inline constexpr CColor kBlackCColor{0, 0, 0, 255};
inline constexpr CColor kWhiteCColor{255, 255, 255, 255};
inline constexpr CColor kGreyCColor{127, 127, 127, 255};
inline constexpr CColor kRedCColor{255, 0, 0, 255};
inline constexpr CColor kGreenCColor{0, 255, 0, 255};
inline constexpr CColor kBlueCColor{0, 0, 255, 255};
inline constexpr CColor kYellowCColor{255, 255, 0, 255};
inline constexpr CColor kMagentaCColor{255, 0, 255, 255};
inline constexpr CColor kCyanCColor{0, 255, 255, 255};

}  // namespace Gui
