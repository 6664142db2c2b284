#include "widgets/SkinnedOnOffButton.h"

#include "widgets/BitmapSizing.h"

namespace widgets {

SkinnedOnOffButton::SkinnedOnOffButton(uint16_t x, uint16_t y, toolkit::CControlListener* listener, int32_t tag,
                                       toolkit::CBitmap* bitmap)
    : COnOffButton({}, listener, tag, nullptr) {
  FitToTwoStateBitmap(*this, x, y, bitmap);
}

}  // namespace widgets
