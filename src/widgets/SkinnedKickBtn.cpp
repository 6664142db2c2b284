#include "widgets/SkinnedKickBtn.h"

#include "widgets/BitmapSizing.h"

namespace widgets {

SkinnedKickBtn::SkinnedKickBtn(uint16_t x, uint16_t y, toolkit::CControlListener* listener, int32_t tag,
                               toolkit::CBitmap* bitmap)
    : CKickButton({}, listener, tag, 0.0, nullptr) {
  FitToTwoStateBitmap(*this, x, y, bitmap);
  setHeightOfOneImage(bitmap ? bitmap->getHeight() / 2.0 : 0.0);
  setOffset({0.0, 0.0});
}

}  // namespace widgets
