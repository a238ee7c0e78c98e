#pragma once

namespace Gui {

// A point: h to the right, v downwards.
struct CPoint {
  CPoint() = default;
  CPoint(long h, long v) : h(h), v(v) {}

  CPoint& offset(long dx, long dy) {
    h += dx;
    v += dy;
    return *this;
  }
  bool operator==(const CPoint& other) const { return h == other.h && v == other.v; }
  bool operator!=(const CPoint& other) const { return !(*this == other); }

  long h = 0;
  long v = 0;
};

}  // namespace Gui
