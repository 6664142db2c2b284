// A holder's mute button. A holder muted because another holder is soloed looks unlike one the
// user muted: the skin's "muted by solo" key when it has one, else the lit image dimmed.
#pragma once

#include "widgets/SkinnedOnOffButton.h"

namespace widgets {

class MuteButton : public SkinnedOnOffButton {
 public:
  // bySolo: off above on like the mute bitmap, or null; the button keeps a reference to it.
  MuteButton(uint16_t x, uint16_t y, toolkit::CControlListener* listener, int32_t tag, toolkit::CBitmap* bitmap,
             toolkit::CBitmap* bySolo);
  ~MuteButton() override;

  // Redraws when the state changes.
  void setMutedBySolo(bool mutedBySolo);
  void draw(toolkit::CDrawContext& context) override;

 private:
  toolkit::CBitmap* bySolo_;
  bool mutedBySolo_ = false;
};

}  // namespace widgets
