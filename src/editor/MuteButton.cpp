#include "editor/MuteButton.h"

namespace editor {
namespace {

// Laid over the lit image: dark enough to read as "not by choice", light enough to stay lit.
constexpr toolkit::CColor kBySoloShade{0, 0, 0, 120};

}  // namespace

void MuteButton::setMutedBySolo(bool mutedBySolo) {
  if (mutedBySolo == mutedBySolo_) return;
  mutedBySolo_ = mutedBySolo;
  setDirty();
}

void MuteButton::draw(toolkit::CDrawContext& context) {
  SkinnedOnOffButton::draw(context);
  if (mutedBySolo_ && getValue() > 0.5f) context.fillRect(getViewSize(), kBySoloShade);
}

}  // namespace editor
