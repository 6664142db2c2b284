// The layout step: positions at the designed size, with sizes and pitches taken from the skin
// bitmaps so that a skin with bigger buttons spreads its rows.
#include "editor/ControlTable.h"
#include "engine/Limits.h"

namespace editor {
namespace {

using toolkit::CRect;

void Put(toolkit::CControl* control, const CRect& rect) {
  control->setViewSize(rect);
  control->setMouseableArea(rect);
}

// A control of a two-state bitmap (one image is half its height) at left, top.
CRect TwoState(double left, double top, const toolkit::CBitmap* bitmap) {
  return {left, top, left + bitmap->getWidth(), top + bitmap->getHeight() / 2.0};
}

CRect Strip(double left, double top, const toolkit::CBitmap* strip, double images) {
  return {left, top, left + strip->getWidth(), top + strip->getHeight() / images};
}

}  // namespace

void ControlTable::place(const SkinBitmaps& skin) const {
  using namespace tags;
  const ControlTable& c = *this;
  for (int i = 0; i < engine::kHolderCount; ++i) {
    const double step = i;
    const auto pitch = [&](size_t entry, double gap) { return step * (skin[entry]->getWidth() + gap); };
    Put(c[kMuteButton + i], TwoState(104 + pitch(skin::kMute, 37), 132, skin[skin::kMute]));
    Put(c[kSoloButton + i], TwoState(131 + pitch(skin::kSolo, 37), 132, skin[skin::kSolo]));
    Put(c[kBrowseButton + i], TwoState(138 + pitch(skin::kFolder, 42), 110, skin[skin::kFolder]));
    Put(c[kPreviousFile + i], TwoState(125 + pitch(skin::kPreviousSample, 52), 109, skin[skin::kPreviousSample]));
    Put(c[kNextFile + i], TwoState(125 + pitch(skin::kPreviousSample, 52), 119, skin[skin::kPreviousSample]));
    Put(c[kPreview + i], TwoState(110 + pitch(skin::kPlayPreview, 52), 113, skin[skin::kPlayPreview]));
    Put(c[kNameField + i], {103 + 63 * step, 160, 103 + 63 * step + 52, 172});
    Put(c[kPanKnob + i], Strip(115 + pitch(skin::kPanStrip, 33), 189, skin[skin::kPanStrip], skin::kKnobImages));
    Put(c[kVolumeKnob + i],
        Strip(115 + pitch(skin::kVolumeStrip, 33), 232, skin[skin::kVolumeStrip], skin::kKnobImages));
    Put(c[kPitchKnob + i], Strip(115 + pitch(skin::kPitchStrip, 33), 275, skin[skin::kPitchStrip], skin::kKnobImages));
    Put(c[kSwingButton + i], TwoState(108 + pitch(skin::kSwing, 18), 308, skin[skin::kSwing]));
    Put(c[kLengthKnob + i],
        Strip(115 + pitch(skin::kLengthStrip, 33), 339, skin[skin::kLengthStrip], skin::kKnobImages));
    Put(c[kHolderSelect + i], TwoState(105 + pitch(skin::kSelectFirst, 11), 373, skin[skin::kSelectFirst]));
  }

  Put(c[kMasterLevelKnob], Strip(1062, 129, skin[skin::kMasterLevelStrip], skin::kKnobImages));
  Put(c[kResolutionSelector], Strip(1045, 273, skin[skin::kResolution], 4));
  Put(c[kSwingAmountKnob], Strip(1062, 174, skin[skin::kSwingAmountStrip], skin::kKnobImages));
  Put(c[kSequencerModeSelector], Strip(933, 174, skin[skin::kSequencerMode], 4));

  // All eight step group buttons follow the first one's height.
  const double groupPitch = skin[skin::kStepGroupFirst]->getHeight() / 2.0 + 1.0;
  for (int g = 0; g < kStepGroupCount; ++g) {
    Put(c[kStepGroupButton + g], TwoState(1117, 430 + g * groupPitch, skin[skin::kStepGroupFirst]));
  }
  Put(c[kOctave2Bank], TwoState(926, 273, skin[skin::kOctave2]));
  Put(c[kOctave3Bank], TwoState(986, 273, skin[skin::kOctave3]));
  // Three columns, four rows: buttons 1 to 3 on top.
  for (int k = 0; k < kPatternButtons; ++k) {
    Put(c[kPatternButton + k], TwoState(926 + 60 * (k % 3), 298 + 25 * (k / 3), skin[skin::kPatternFirst]));
  }
  for (int m = 0; m < kStepsShown; ++m) {
    Put(c[kPositionLed + m], TwoState(104 + m * (skin[skin::kLed]->getWidth() + 12), 501, skin[skin::kLed]));
    Put(c[kStepButton + m], TwoState(104 + m * (skin[skin::kStep]->getWidth() + 11), 455, skin[skin::kStep]));
  }

  const auto modeButton = [](double left, double rightBase, const toolkit::CBitmap* bitmap) {
    return CRect{left, 543, rightBase + bitmap->getWidth(), 543 + bitmap->getHeight() / 2.0};
  };
  Put(c[kStopButton], modeButton(104, 104, skin[skin::kStop]));
  // The Run button reaches two pixels further right than its bitmap, as the skins are drawn for.
  Put(c[kRunButton], modeButton(167, 169, skin[skin::kRun]));
  Put(c[kHsyncButton], modeButton(231, 231, skin[skin::kHsync]));
  Put(c[kMidiButton], modeButton(294, 294, skin[skin::kMidi]));
}

}  // namespace editor
