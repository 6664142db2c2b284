#include "editor/HolderStrips.h"

#include <algorithm>
#include <string>

#include "instrument/Parameters.h"
#include "toolkit/CKickButton.h"
#include "widgets/BadgeButton.h"
#include "widgets/MuteButton.h"
#include "widgets/SkinnedKickBtn.h"
#include "widgets/SkinnedOnOffButton.h"

namespace editor {
namespace {

using namespace tags;
using widgets::SkinnedKickBtn;
using widgets::SkinnedOnOffButton;

constexpr const char* kEmptyName = "--------";

// The holder menu: clear, a copy to each holder, then the choke groups from none to the last.
constexpr int kFirstChokeEntry = 1 + engine::kHolderCount;

std::string ChokeEntryText(int group, bool checked) {
  return CheckMark(checked) +
         (group == engine::kNoChokeGroup ? "No choke group" : "Choke group " + std::to_string(group));
}

// The holder strip's mark of its group, on the select button: "C1" .. "C4", none without one.
std::string ChokeBadge(int group) { return group == engine::kNoChokeGroup ? "" : "C" + std::to_string(group); }

uint8_t NoteOf(int holder) { return static_cast<uint8_t>(engine::kFirstNote + holder); }

toolkit::CTextEdit* NewNameField(toolkit::CControlListener* listener, int32_t tag, const std::string& name) {
  auto* field = new toolkit::CTextEdit({}, listener, tag, name, nullptr, 0);
  field->setHoriAlign(toolkit::kLeftText);
  field->setFont(toolkit::ArialFont(11.0));
  field->setFontColor(toolkit::kWhiteCColor);
  field->setBackColor(toolkit::kBlackCColor);
  field->setFrameColor(toolkit::kBlackCColor);
  field->setCharacterFilter(engine::IsNameCharacter);
  return field;
}

// Holder names get smaller as the editor does. The factor is single precision and the bounds
// double, so the menu's 0.9 and 0.7 fall below them. Below 100 % the name field's height
// shrinks faster than these steps, so the size is also kept within the field (11 at 100 %,
// scaled): letters taller than the field would be cut off at top and bottom.
double NameFontSize(float scale) {
  constexpr double kDesignedSize = 11.0;
  const double step = scale >= 0.9 ? 11.0 : scale >= 0.7 ? 10.0 : 9.0;
  return std::min(step, kDesignedSize * scale);
}

}  // namespace

HolderStrips::HolderStrips(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
                           instrument::Instrument& instrument, StepRow& stepRow, Selection& selection,
                           BrowserPanels::Setting panelSetting)
    : controls_(controls),
      instrument_(instrument),
      kit_(instrument.engine().kit()),
      stepRow_(stepRow),
      selection_(selection) {
  const auto add = [this](toolkit::CControl* control) { controls_.add(*this, control); };
  for (int i = 0; i < engine::kHolderCount; ++i) {
    add(new widgets::MuteButton(0, 0, listener, kMuteButton + i, skin[skin::kMute], skin.mutedBySolo()));
    add(new SkinnedOnOffButton(0, 0, listener, kSoloButton + i, skin[skin::kSolo]));
    add(new SkinnedOnOffButton(0, 0, listener, kBrowseButton + i, skin[skin::kFolder]));
    add(new SkinnedKickBtn(0, 0, listener, kPreviousFile + i, skin[skin::kPreviousSample]));
    add(new SkinnedKickBtn(0, 0, listener, kNextFile + i, skin[skin::kNextSample]));
    add(new SkinnedOnOffButton(0, 0, listener, kPreview + i, skin[skin::kPlayPreview]));
    add(NewNameField(listener, kNameField + i, holder(i).name()));
    add(new SkinnedOnOffButton(0, 0, listener, kSwingButton + i, skin[skin::kSwing]));
    toolkit::COptionMenu* panMenu = NewResetMenu(listener, kPanMenu + i);
    add(panMenu);
    add(NewKnob(listener, kPanKnob + i, skin[skin::kPanStrip], panMenu));
    // Volume and length have nothing to choose on a right click: no menu at all.
    add(NewKnob(listener, kVolumeKnob + i, skin[skin::kVolumeStrip], nullptr));
    add(NewKnob(listener, kLengthKnob + i, skin[skin::kLengthStrip], nullptr));
    toolkit::COptionMenu* pitchMenu = NewResetMenu(listener, kPitchMenu + i);
    add(pitchMenu);
    add(NewKnob(listener, kPitchKnob + i, skin[skin::kPitchStrip], pitchMenu));
    toolkit::COptionMenu* holderMenu = NewMenu(listener, kHolderMenu + i);
    holderMenu->addEntry("Clear the content of this sample holder");
    for (const char* name : engine::kNoteNames) holderMenu->addEntry(std::string("Copy this sample to ") + name);
    for (int group = engine::kNoChokeGroup; group <= engine::kChokeGroupCount; ++group) {
      holderMenu->addEntry(ChokeEntryText(group, false));
    }
    add(holderMenu);
    add(new widgets::BadgeButton(0, 0, listener, kHolderSelect + i, skin[skin::kSelectFirst + static_cast<size_t>(i)],
                                 holderMenu));
  }
  // The panels report to the browse buttons made above.
  panels_ = std::make_unique<BrowserPanels>(controls_, skin, kit_, std::move(panelSetting));
}

void HolderStrips::place(const SkinBitmaps& skin) {
  const ControlTable& c = controls_;
  for (int i = 0; i < engine::kHolderCount; ++i) {
    const double step = i;
    const auto pitch = [&](size_t entry, double gap) { return step * (skin[entry]->getWidth() + gap); };
    const auto knob = [&](size_t strip, double top) {
      return Strip(115 + pitch(strip, 33), top, skin[strip], skin::kKnobImages);
    };
    Put(c[kMuteButton + i], TwoState(104 + pitch(skin::kMute, 37), 132, skin[skin::kMute]));
    Put(c[kSoloButton + i], TwoState(131 + pitch(skin::kSolo, 37), 132, skin[skin::kSolo]));
    Put(c[kBrowseButton + i], TwoState(138 + pitch(skin::kFolder, 42), 110, skin[skin::kFolder]));
    Put(c[kPreviousFile + i], TwoState(125 + pitch(skin::kPreviousSample, 52), 109, skin[skin::kPreviousSample]));
    Put(c[kNextFile + i], TwoState(125 + pitch(skin::kPreviousSample, 52), 119, skin[skin::kPreviousSample]));
    Put(c[kPreview + i], TwoState(110 + pitch(skin::kPlayPreview, 52), 113, skin[skin::kPlayPreview]));
    Put(c[kNameField + i], {103 + 63 * step, 160, 103 + 63 * step + 52, 172});
    Put(c[kPanKnob + i], knob(skin::kPanStrip, 189));
    Put(c[kVolumeKnob + i], knob(skin::kVolumeStrip, 232));
    Put(c[kPitchKnob + i], knob(skin::kPitchStrip, 275));
    Put(c[kSwingButton + i], TwoState(108 + pitch(skin::kSwing, 18), 308, skin[skin::kSwing]));
    Put(c[kLengthKnob + i], knob(skin::kLengthStrip, 339));
    Put(c[kHolderSelect + i], TwoState(105 + pitch(skin::kSelectFirst, 11), 373, skin[skin::kSelectFirst]));
  }
}

void HolderStrips::followScale(const SkinBitmaps& skin, float scale) {
  const double fontSize = NameFontSize(scale);
  for (int i = 0; i < engine::kHolderCount; ++i) {
    for (auto [base, strip] : {std::pair{kPanKnob, skin::kPanStrip},
                               {kVolumeKnob, skin::kVolumeStrip},
                               {kLengthKnob, skin::kLengthStrip},
                               {kPitchKnob, skin::kPitchStrip}}) {
      controls_.knob(base + i)->setImageHeight(ImageHeight(skin, strip, skin::kKnobImages));
    }
    controls_.nameField(i)->setFont(toolkit::ArialFont(fontSize));
    // The file buttons pick their pressed image by height, which follows the scaled bitmaps.
    for (int32_t base : {kPreviousFile, kNextFile}) {
      static_cast<toolkit::CKickButton*>(controls_[base + i])
          ->setHeightOfOneImage(controls_[base + i]->getBackground()->getHeight() / 2.0);
    }
  }
  panels_->setScale(scale);
}

void HolderStrips::valueChanged(toolkit::CControl& control) {
  const int32_t tag = control.getTag();
  const float value = control.getValue();
  const int index = (tag - kHolderSelect) % engine::kHolderCount;
  const auto choice = [&control] { return static_cast<toolkit::COptionMenu&>(control).getCurrentIndex(); };
  switch (tag - index) {
    case kHolderSelect:
      selectHolder(index, value);
      break;
    case kHolderMenu:
      holderMenu(index, choice());
      break;
    case kNameField:
      holder(index).setName(controls_.nameField(index)->getText());
      controls_.nameField(index)->setText(holder(index).name());
      break;
    case kPreviousFile:
    case kNextFile:
      if (value == 1.0f) panels_->step(index, tag - index == kNextFile);
      break;
    case kPreview:
      kit_.startPreview(NoteOf(index));
      controls_.setValue(tag, 0.0f);
      break;
    case kPanKnob:
      instrument_.setPan(index, value);
      break;
    case kPanMenu:
      if (choice() != 0) {
        ShowNotImplemented();
      } else {
        instrument_.resetPan(index);
        showHolder(index);
      }
      break;
    case kVolumeKnob:
      instrument_.setVolume(index, value);
      break;
    case kLengthKnob:
      instrument_.setLength(index, value);
      break;
    case kSwingButton:
      instrument_.setSwing(index, value == 1.0f);
      break;
    case kPitchKnob:
      if (const auto pitch = instrument::PitchFromValue(value)) instrument_.setPitch(index, *pitch);
      break;
    case kPitchMenu:
      if (choice() != 0) {
        ShowNotImplemented();
      } else {
        instrument_.resetPitch(index);
        showHolder(index);
      }
      break;
    case kBrowseButton:
      browseButton(index, value);
      break;
    case kMuteButton:
      instrument_.setMute(index, value == 1.0f);
      showMuteAndSolo();
      break;
    case kSoloButton:
      instrument_.setSolo(index, value == 1.0f);
      showMuteAndSolo();
      break;
    default:
      break;
  }
}

void HolderStrips::refreshFromModel() {
  refreshNames();
  for (int i = 0; i < engine::kHolderCount; ++i) {
    showHolder(i);
    controls_.setValue(kHolderSelect + i, i == selection_.holder ? 1.0f : 0.0f);
  }
  showMuteAndSolo();
}

void HolderStrips::showParameters() {
  for (int i = 0; i < engine::kHolderCount; ++i) showHolder(i);
  showMuteAndSolo();
}

void HolderStrips::showHolder(int index) {
  const engine::SampleHolder& shown = holder(index);
  controls_.setValue(kPanKnob + index, shown.pan());
  controls_.setValue(kVolumeKnob + index, shown.volume());
  controls_.setValue(kSwingButton + index, shown.swing() ? 1.0f : 0.0f);
  controls_.setValue(kLengthKnob + index, shown.lengthFraction());
  if (const auto knob = instrument::PitchValue(shown.pitch())) controls_.setValue(kPitchKnob + index, *knob);
  const int chokeGroup = instrument_.chokeGroup(index);
  static_cast<widgets::BadgeButton*>(controls_[kHolderSelect + index])->setBadge(ChokeBadge(chokeGroup));
  for (int group = engine::kNoChokeGroup; group <= engine::kChokeGroupCount; ++group) {
    controls_.menu(kHolderMenu + index)->setEntry(kFirstChokeEntry + group, ChokeEntryText(group, group == chokeGroup));
  }
}

void HolderStrips::showMuteAndSolo() {
  for (int i = 0; i < engine::kHolderCount; ++i) {
    const uint32_t state = holder(i).muteState();
    controls_.setValue(kMuteButton + i, state != engine::kNotMuted ? 1.0f : 0.0f);
    controls_.setValue(kSoloButton + i, instrument_.soloed(i) ? 1.0f : 0.0f);
    static_cast<widgets::MuteButton*>(controls_[kMuteButton + i])->setMutedBySolo(state == engine::kMutedBySolo);
  }
}

void HolderStrips::refreshNames() {
  for (int i = 0; i < engine::kHolderCount; ++i) controls_.nameField(i)->setText(holder(i).name());
}

void HolderStrips::selectHolder(int index, float value) {
  if (value == 1.0f && index != selection_.holder) {
    if (controls_.isOn(kBrowseButton + selection_.holder)) {
      // The open panel goes over to the newly selected holder.
      panels_->hide(selection_.holder);
      controls_.setValue(kBrowseButton + selection_.holder, 0.0f);
      panels_->show(index);
      panels_->redrawFrame();
      controls_.setValue(kBrowseButton + index, 1.0f);
    }
    controls_.setValue(kHolderSelect + selection_.holder, 0.0f);
    selection_.holder = index;
    stepRow_.showSteps();
  } else if (value == 0.0f) {
    controls_.setValue(kHolderSelect + index, 1.0f);  // one select button is always lit
  }
}

void HolderStrips::holderMenu(int index, int choice) {
  int changed = index;
  if (choice == 0) {
    instrument_.clearHolder(index);
    controls_.nameField(index)->setText(kEmptyName);
  } else if (choice >= 1 && choice <= engine::kHolderCount) {
    changed = choice - 1;
    instrument_.copyHolder(index, changed);
    controls_.nameField(changed)->setText(holder(changed).name());
  } else if (choice >= kFirstChokeEntry && choice <= kFirstChokeEntry + engine::kChokeGroupCount) {
    instrument_.setChokeGroup(index, choice - kFirstChokeEntry);
  } else {
    ShowNotImplemented();
    return;
  }
  // The holder's knobs and its mute state changed with it (a cleared or overwritten holder is
  // not muted); only controls whose value changes are redrawn.
  showHolder(changed);
  showMuteAndSolo();
}

void HolderStrips::browseButton(int index, float value) {
  if (value == 1.0f) {
    // Opening one holder's panel selects that holder and closes the panel of the one before.
    controls_.setValue(kBrowseButton + selection_.holder, 0.0f);
    controls_.setValue(kBrowseButton + index, 1.0f);
    controls_.setValue(kHolderSelect + selection_.holder, 0.0f);
    panels_->hide(selection_.holder);
    selection_.holder = index;
    controls_.setValue(kHolderSelect + index, 1.0f);
    panels_->show(index);
    stepRow_.showSteps();
  } else if (value == 0.0f) {
    panels_->hide(index);
  }
  panels_->redrawFrame();
}

engine::SampleHolder& HolderStrips::holder(int index) { return kit_.holder(NoteOf(index)); }

}  // namespace editor
