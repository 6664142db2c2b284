#include "editor/ControlTable.h"

#include <string>

#include "editor/MuteButton.h"
#include "editor/OnOffBtnWithMenu.h"
#include "editor/SkinnedKickBtn.h"
#include "editor/SkinnedOnOffButton.h"
#include "engine/Limits.h"
#include "toolkit/CParamDisplay.h"

namespace editor {
namespace {

using toolkit::CBitmap;
using toolkit::CControlListener;
using toolkit::COptionMenu;

constexpr const char* kResetEntry = "Reset to default value";

COptionMenu* NewMenu(CControlListener* listener, int32_t tag) {
  return new COptionMenu({}, listener, tag, nullptr, nullptr, toolkit::kNoDrawStyle);
}

// A knob over a strip of 127 images; the menu (if any) shows on a right click.
CAnimKnobExWithMenu* NewKnob(CControlListener* listener, int32_t tag, CBitmap* strip, COptionMenu* menu) {
  const double imageHeight = strip->getHeight() / skin::kKnobImages;
  return new CAnimKnobExWithMenu({0.0, 0.0, strip->getWidth(), imageHeight}, listener, tag, skin::kKnobImages,
                                 imageHeight, strip, {}, menu);
}

// A four-state selector; its menu is never shown, so it has none.
CMultiStateButtonWithMenu* NewSelector(CControlListener* listener, int32_t tag, CBitmap* strip) {
  const double imageHeight = strip->getHeight() * 0.25;
  return new CMultiStateButtonWithMenu({0.0, 0.0, strip->getWidth(), imageHeight}, listener, tag, 4, imageHeight, strip,
                                       {}, nullptr);
}

toolkit::CTextEdit* NewNameField(CControlListener* listener, int32_t tag, const std::string& name) {
  auto* field = new toolkit::CTextEdit({}, listener, tag, name, nullptr, 0);
  field->setHoriAlign(toolkit::kLeftText);
  field->setFont(toolkit::ArialFont(11.0));
  field->setFontColor(toolkit::kWhiteCColor);
  field->setBackColor(toolkit::kBlackCColor);
  field->setFrameColor(toolkit::kBlackCColor);
  return field;
}

}  // namespace

ControlTable::ControlTable(CControlListener* listener, const SkinBitmaps& skin, const engine::Kit& kit) {
  using namespace tags;
  auto* masterMenu = NewMenu(listener, kMasterMenu);
  masterMenu->addEntry(kResetEntry);
  set(masterMenu);
  set(NewKnob(listener, kMasterLevelKnob, skin[skin::kMasterLevelStrip], masterMenu));
  set(NewKnob(listener, kSwingAmountKnob, skin[skin::kSwingAmountStrip], nullptr));

  for (int i = 0; i < engine::kHolderCount; ++i) {
    const auto note = static_cast<uint8_t>(engine::kFirstNote + i);
    set(new MuteButton(0, 0, listener, kMuteButton + i, skin[skin::kMute], skin.mutedBySolo()));
    set(new SkinnedOnOffButton(0, 0, listener, kSoloButton + i, skin[skin::kSolo]));
    set(new SkinnedOnOffButton(0, 0, listener, kBrowseButton + i, skin[skin::kFolder]));
    set(new SkinnedKickBtn(0, 0, listener, kPreviousFile + i, skin[skin::kPreviousSample]));
    set(new SkinnedKickBtn(0, 0, listener, kNextFile + i, skin[skin::kNextSample]));
    set(new SkinnedOnOffButton(0, 0, listener, kPreview + i, skin[skin::kPlayPreview]));
    set(NewNameField(listener, kNameField + i, kit.holder(note).name()));
    set(new SkinnedOnOffButton(0, 0, listener, kSwingButton + i, skin[skin::kSwing]));
    auto* panMenu = NewMenu(listener, kPanMenu + i);
    panMenu->addEntry(kResetEntry);
    set(panMenu);
    set(NewKnob(listener, kPanKnob + i, skin[skin::kPanStrip], panMenu));
    // Volume and length have nothing to choose on a right click: no menu at all.
    set(NewKnob(listener, kVolumeKnob + i, skin[skin::kVolumeStrip], nullptr));
    set(NewKnob(listener, kLengthKnob + i, skin[skin::kLengthStrip], nullptr));
    auto* pitchMenu = NewMenu(listener, kPitchMenu + i);
    pitchMenu->addEntry(kResetEntry);
    set(pitchMenu);
    set(NewKnob(listener, kPitchKnob + i, skin[skin::kPitchStrip], pitchMenu));
    auto* holderMenu = NewMenu(listener, kHolderMenu + i);
    holderMenu->addEntry("Clear the content of this sample holder");
    for (const char* name : engine::kNoteNames) holderMenu->addEntry(std::string("Copy this sample to ") + name);
    set(holderMenu);
    set(new OnOffBtnWithMenu(0, 0, listener, kHolderSelect + i, skin[skin::kSelectFirst + static_cast<size_t>(i)],
                             holderMenu));
  }

  for (int g = 0; g < kStepGroupCount; ++g) {
    set(new SkinnedOnOffButton(0, 0, listener, kStepGroupButton + g,
                               skin[skin::kStepGroupFirst + static_cast<size_t>(g)]));
  }
  set(new SkinnedOnOffButton(926, 209, listener, kOctave2Bank, skin[skin::kOctave2]));
  set(new SkinnedOnOffButton(986, 209, listener, kOctave3Bank, skin[skin::kOctave3]));

  for (int k = 0; k < kPatternButtons; ++k) {
    auto* patternMenu = NewMenu(listener, kPatternMenu + k);
    patternMenu->addEntry("Clear this pattern");
    for (const char* octave : {"Oct2 ", "Oct3 "}) {
      for (const char* name : engine::kNoteNames) {
        patternMenu->addEntry(std::string("Copy this pattern to ") + octave + name);
      }
    }
    patternMenu->addEntry("Freeze this pattern");
    patternMenu->addEntry("Record this pattern to a wav file");
    patternMenu->addEntry("Clear this pattern");
    set(patternMenu);
    set(new OnOffBtnWithMenu(0, 0, listener, kPatternButton + k, skin[skin::kPatternFirst + static_cast<size_t>(k)],
                             patternMenu));
  }

  for (int m = 0; m < kStepsShown; ++m) {
    set(new SkinnedOnOffButton(0, 0, listener, kPositionLed + m, skin[skin::kLed]));
    auto* stepMenu = NewMenu(listener, kStepMenu + m);
    set(stepMenu);
    set(new OnOffBtnWithMenu(0, 0, listener, kStepButton + m, skin[skin::kStep], stepMenu));
  }

  set(NewSelector(listener, kResolutionSelector, skin[skin::kResolution]));
  auto* modeSelector = NewSelector(listener, kSequencerModeSelector, skin[skin::kSequencerMode]);
  modeSelector->setVisible(false);
  set(modeSelector);

  set(new SkinnedOnOffButton(0, 0, listener, kStopButton, skin[skin::kStop]));
  set(new SkinnedOnOffButton(0, 0, listener, kRunButton, skin[skin::kRun]));
  set(new SkinnedOnOffButton(0, 0, listener, kHsyncButton, skin[skin::kHsync]));
  set(new SkinnedOnOffButton(0, 0, listener, kMidiButton, skin[skin::kMidi]));
}

ControlTable::~ControlTable() {
  for (toolkit::CControl* control : controls_) {
    if (control) control->forget();
  }
}

void ControlTable::set(toolkit::CControl* control) { controls_[static_cast<size_t>(control->getTag())] = control; }

CAnimKnobExWithMenu* ControlTable::knob(int32_t tag) const {
  return static_cast<CAnimKnobExWithMenu*>(controls_[static_cast<size_t>(tag)]);
}

CMultiStateButtonWithMenu* ControlTable::selector(int32_t tag) const {
  return static_cast<CMultiStateButtonWithMenu*>(controls_[static_cast<size_t>(tag)]);
}

toolkit::COptionMenu* ControlTable::menu(int32_t tag) const {
  return static_cast<toolkit::COptionMenu*>(controls_[static_cast<size_t>(tag)]);
}

toolkit::CTextEdit* ControlTable::nameField(int holder) const {
  return static_cast<toolkit::CTextEdit*>(controls_[static_cast<size_t>(tags::kNameField + holder)]);
}

}  // namespace editor
