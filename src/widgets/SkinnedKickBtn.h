// A momentary button that takes its size from its two-state bitmap.
#pragma once

#include <cstdint>

#include "toolkit/CKickButton.h"

namespace widgets {

class SkinnedKickBtn : public toolkit::CKickButton {
 public:
  SkinnedKickBtn(uint16_t x, uint16_t y, toolkit::CControlListener* listener, int32_t tag, toolkit::CBitmap* bitmap);
};

}  // namespace widgets
