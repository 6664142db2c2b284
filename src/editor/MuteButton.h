// A holder's mute button. A holder muted because another holder is soloed shows the lit image
// dimmed, so that it can be told from a holder the user muted.
#pragma once

#include "editor/SkinnedOnOffButton.h"

namespace editor {

class MuteButton : public SkinnedOnOffButton {
 public:
  using SkinnedOnOffButton::SkinnedOnOffButton;

  // Redraws when the state changes.
  void setMutedBySolo(bool mutedBySolo);
  bool isMutedBySolo() const { return mutedBySolo_; }
  void draw(toolkit::CDrawContext& context) override;

 private:
  bool mutedBySolo_ = false;
};

}  // namespace editor
