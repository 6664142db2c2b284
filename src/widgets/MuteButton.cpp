#include "widgets/MuteButton.h"

namespace widgets {
namespace {

// Laid over the lit image: dark enough to read as "not by choice", light enough to stay lit.
constexpr toolkit::CColor kBySoloShade{0, 0, 0, 120};

}  // namespace

MuteButton::MuteButton(uint16_t x, uint16_t y, toolkit::CControlListener* listener, int32_t tag,
                       toolkit::CBitmap* bitmap, toolkit::CBitmap* bySolo)
    : SkinnedOnOffButton(x, y, listener, tag, bitmap), bySolo_(bySolo && bySolo->isLoaded() ? bySolo : nullptr) {
  if (bySolo_) bySolo_->remember();
}

MuteButton::~MuteButton() {
  if (bySolo_) bySolo_->forget();
}

void MuteButton::setMutedBySolo(bool mutedBySolo) {
  if (mutedBySolo == mutedBySolo_) return;
  mutedBySolo_ = mutedBySolo;
  setDirty();
}

void MuteButton::draw(toolkit::CDrawContext& context) {
  const bool bySoloLook = mutedBySolo_ && getValue() > 0.5f;
  if (bySoloLook && bySolo_) {
    bySolo_->draw(context, getViewSize(), {0.0, getHeight()});
    CView::draw(context);
    return;
  }
  SkinnedOnOffButton::draw(context);
  if (bySoloLook) context.fillRect(getViewSize(), kBySoloShade);
}

}  // namespace widgets
