// Points, rectangles and colours in the toolkit's floating-point pixel coordinates.
#pragma once

#include <algorithm>
#include <cstdint>

namespace toolkit {

struct CPoint {
  double x = 0.0;
  double y = 0.0;

  CPoint& offset(double dx, double dy) {
    x += dx;
    y += dy;
    return *this;
  }
  bool operator==(const CPoint&) const = default;
};

// Left and top are inside, right and bottom are just outside.
struct CRect {
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;

  double width() const { return right - left; }
  double height() const { return bottom - top; }
  bool isEmpty() const { return right <= left || bottom <= top; }
  CPoint topLeft() const { return {left, top}; }

  CRect& offset(double dx, double dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
    return *this;
  }
  CRect offsetted(double dx, double dy) const { return CRect(*this).offset(dx, dy); }
  CRect scaled(double factor) const { return {left * factor, top * factor, right * factor, bottom * factor}; }
  bool pointInside(const CPoint& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool overlaps(const CRect& other) const {
    return !isEmpty() && !other.isEmpty() && left < other.right && other.left < right && top < other.bottom &&
           other.top < bottom;
  }
  // The common part; empty when they do not overlap.
  CRect intersection(const CRect& other) const {
    CRect result{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                 std::min(bottom, other.bottom)};
    return result.isEmpty() ? CRect{} : result;
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  CRect united(const CRect& other) const {
    if (isEmpty()) return other;
    if (other.isEmpty()) return *this;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
  }
  bool operator==(const CRect&) const = default;
};

struct CColor {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 255;
  bool operator==(const CColor&) const = default;
};

inline constexpr CColor kBlackCColor{0, 0, 0, 255};
inline constexpr CColor kWhiteCColor{255, 255, 255, 255};
inline constexpr CColor kGreyCColor{127, 127, 127, 255};
inline constexpr CColor kTransparentCColor{0, 0, 0, 0};

}  // namespace toolkit
