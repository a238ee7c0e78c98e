#pragma once

#include "plugin/gui/CPoint.h"

namespace Gui {

// A rectangle whose right and bottom edges lie outside it.
struct CRect {
  CRect() = default;
  CRect(long left, long top, long right, long bottom) : left(left), top(top), right(right), bottom(bottom) {}

  long width() const { return right - left; }
  long height() const { return bottom - top; }

  CRect& offset(long dx, long dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
    return *this;
  }
  // Moves the top-left corner to (x, y), keeping the size.
  CRect& moveTo(long x, long y) { return offset(x - left, y - top); }
  bool pointInside(const CPoint& where) const {
    return where.h >= left && where.h < right && where.v >= top && where.v < bottom;
  }
  bool isEmpty() const { return right <= left || bottom <= top; }
  // Intersection in place; an empty intersection becomes a rectangle of zero size.
  CRect& bound(const CRect& other);
  // True unless the other rectangle lies wholly beside this one; touching edges overlap.
  bool rectOverlap(const CRect& other) const {
    return !(other.right < left || other.left > right || other.bottom < top || other.top > bottom);
  }
  bool operator==(const CRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const CRect& other) const { return !(*this == other); }

  long left = 0;
  long top = 0;
  long right = 0;
  long bottom = 0;
};

inline CRect& CRect::bound(const CRect& other) {
  if (left < other.left) left = other.left;
  if (top < other.top) top = other.top;
  if (right > other.right) right = other.right;
  if (bottom > other.bottom) bottom = other.bottom;
  if (bottom < top) bottom = top;
  if (right < left) right = left;
  return *this;
}

}  // namespace Gui
