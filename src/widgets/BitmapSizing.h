// Buttons whose size comes from their two-state bitmap (off image above the on image).
#pragma once

#include <cstdint>

#include "toolkit/CBitmap.h"
#include "toolkit/CControl.h"

namespace widgets {

// (x, y, x + bitmap width, y + bitmap height / 2).
inline toolkit::CRect TwoStateRect(uint16_t x, uint16_t y, const toolkit::CBitmap* bitmap) {
  const double width = bitmap ? bitmap->getWidth() : 0.0;
  const double height = bitmap ? bitmap->getHeight() / 2.0 : 0.0;
  const auto left = static_cast<double>(x);
  const auto top = static_cast<double>(y);
  return {left, top, left + width, top + height};
}

// Gives the control the bitmap (with a reference) and the size of one of its two images; the
// mouse area follows the view.
inline void FitToTwoStateBitmap(toolkit::CControl& control, uint16_t x, uint16_t y, toolkit::CBitmap* bitmap) {
  control.setBackground(bitmap);
  const toolkit::CRect rect = TwoStateRect(x, y, bitmap);
  control.setViewSize(rect);
  control.setMouseableArea(rect);
}

}  // namespace widgets
