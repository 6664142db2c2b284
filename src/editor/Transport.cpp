#include "editor/Transport.h"

#include "widgets/SkinnedOnOffButton.h"

namespace editor {
namespace {

using namespace tags;
using engine::SyncMode;

constexpr double kModeImages = 4;

int32_t ModeButton(SyncMode mode) {
  switch (mode) {
    case SyncMode::Stop:
      return kStopButton;
    case SyncMode::Run:
      return kRunButton;
    case SyncMode::Hsync:
      return kHsyncButton;
    case SyncMode::Midi:
      return kMidiButton;
  }
  return kHsyncButton;
}

SyncMode ModeOfButton(int32_t tag) {
  switch (tag) {
    case kRunButton:
      return SyncMode::Run;
    case kStopButton:
      return SyncMode::Stop;
    case kMidiButton:
      return SyncMode::Midi;
    default:
      return SyncMode::Hsync;
  }
}

}  // namespace

Transport::Transport(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
                     instrument::Instrument& instrument, StepRow& stepRow)
    : controls_(controls), instrument_(instrument), engine_(instrument.engine()), stepRow_(stepRow) {
  widgets::CMultiStateButtonWithMenu* modeSelector =
      NewSelector(listener, kSequencerModeSelector, skin[skin::kSequencerMode]);
  modeSelector->setVisible(false);
  controls_.add(*this, modeSelector);
  controls_.add(*this, new widgets::SkinnedOnOffButton(0, 0, listener, kStopButton, skin[skin::kStop]));
  controls_.add(*this, new widgets::SkinnedOnOffButton(0, 0, listener, kRunButton, skin[skin::kRun]));
  controls_.add(*this, new widgets::SkinnedOnOffButton(0, 0, listener, kHsyncButton, skin[skin::kHsync]));
  controls_.add(*this, new widgets::SkinnedOnOffButton(0, 0, listener, kMidiButton, skin[skin::kMidi]));
}

void Transport::place(const SkinBitmaps& skin) {
  Put(controls_[kSequencerModeSelector], Strip(933, 174, skin[skin::kSequencerMode], kModeImages));
  const auto button = [](double left, double rightBase, const toolkit::CBitmap* bitmap) {
    return toolkit::CRect{left, 543, rightBase + bitmap->getWidth(), 543 + bitmap->getHeight() / 2.0};
  };
  Put(controls_[kStopButton], button(104, 104, skin[skin::kStop]));
  // The Run button reaches two pixels further right than its bitmap, as the skins are drawn for.
  Put(controls_[kRunButton], button(167, 169, skin[skin::kRun]));
  Put(controls_[kHsyncButton], button(231, 231, skin[skin::kHsync]));
  Put(controls_[kMidiButton], button(294, 294, skin[skin::kMidi]));
}

void Transport::followScale(const SkinBitmaps& skin, float /*scale*/) {
  controls_.selector(kSequencerModeSelector)->setImageHeight(ImageHeight(skin, skin::kSequencerMode, kModeImages));
}

void Transport::valueChanged(toolkit::CControl& control) {
  const int32_t tag = control.getTag();
  if (tag == kSequencerModeSelector) {
    engine_.patterns().setSequencerModeSetting(controls_.selector(tag)->getState());
  } else {
    modeButton(tag, control.getValue());
  }
}

void Transport::refreshFromModel() {
  for (int32_t tag = kRunButton; tag <= kMidiButton; ++tag) controls_.setValue(tag, 0.0f);
  controls_.setValue(ModeButton(engine_.syncMode()), 1.0f);
  controls_.selector(kSequencerModeSelector)->setState(static_cast<int32_t>(engine_.patterns().sequencerModeSetting()));
}

void Transport::modeButton(int32_t tag, float value) {
  if (value == 1.0f) controls_.setValue(ModeButton(engine_.syncMode()), 0.0f);
  if (tag != kStopButton) {
    engine_.setSyncMode(ModeOfButton(tag));
  } else if (instrument_.pressStop()) {
    stepRow_.showStepGroup(0);
  }
  controls_.setValue(tag, 1.0f);  // the lit button stays lit
}

}  // namespace editor
