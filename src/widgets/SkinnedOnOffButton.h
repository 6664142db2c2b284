// An on/off button that takes its size from its two-state bitmap.
#pragma once

#include <cstdint>

#include "toolkit/COnOffButton.h"

namespace widgets {

class SkinnedOnOffButton : public toolkit::COnOffButton {
 public:
  SkinnedOnOffButton(uint16_t x, uint16_t y, toolkit::CControlListener* listener, int32_t tag,
                     toolkit::CBitmap* bitmap);
};

}  // namespace widgets
