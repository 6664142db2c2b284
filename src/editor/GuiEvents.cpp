// What each control does to the kit, the sequencer, the sync mode and the editor's view state,
// and how the controls are redrawn from the model.
#include <string>

#include "editor/Gui.h"
#include "editor/MainMenuFrame.h"
#include "editor/MuteButton.h"
#include "editor/PitchKnob.h"
#include "editor/StepNumbers.h"
#include "platform/Messages.h"
#include "samples/SampleLoader.h"

namespace editor {
namespace {

using namespace tags;
using engine::SyncMode;

// The cell a step button writes: a sounding step at full velocity.
constexpr uint32_t kStepCell = 0x00017F01;
constexpr float kDefaultPan = 0.5f;
constexpr float kDefaultMasterLevel = 0.75f;
constexpr const char* kEmptyName = "--------";

void NotImplemented() { platform::ShowMessage("Message", "Not implemented yet"); }

uint8_t NoteOf(int holder) { return static_cast<uint8_t>(engine::kFirstNote + holder); }

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

void Gui::setControl(int32_t tag, float value) { controls_[tag]->setValue(value); }

bool Gui::isOn(int32_t tag) const { return controls_[tag]->getValue() == 1.0f; }

void Gui::report(int32_t tag, float value) {
  if (effect_) effect_->setParameterAutomated(tag, value);
}

void Gui::attachBrowser(int holder) {
  browser::VstBrowser* view = browsers_[static_cast<size_t>(holder)];
  if (!mainMenu_ || mainMenu_->isChild(view)) return;
  view->remember();  // the frame's own reference
  mainMenu_->addView(view);
}

void Gui::detachBrowser(int holder) {
  browser::VstBrowser* view = browsers_[static_cast<size_t>(holder)];
  if (mainMenu_ && mainMenu_->isChild(view)) mainMenu_->removeView(view, true);
}

void Gui::valueChanged(toolkit::CControl* control) {
  const int32_t tag = control->getTag();
  const float v = control->getValue();
  report(tag, v);
  const auto choice = [control] { return static_cast<toolkit::COptionMenu*>(control)->getCurrentIndex(); };
  const auto holderOf = [tag](int32_t base) { return tag - base; };

  if (tag >= kStepButton && tag < kStepButton + kStepsShown) {
    const int step = kStepsShown * stepGroup_ + (tag - kStepButton);
    if (v == 1.0f) {
      engine_.sequencer().setCell(kStepCell, shownPattern_, step, selectedHolder_);
    } else {
      engine_.sequencer().clearCell(shownPattern_, step, selectedHolder_);
    }
  } else if (inHolderGroup(tag, kHolderSelect)) {
    selectHolder(holderOf(kHolderSelect), v);
  } else if (inHolderGroup(tag, kHolderMenu)) {
    const int holder = holderOf(kHolderMenu);
    const int chosen = choice();
    if (chosen == 0) {
      kit().clearHolder(NoteOf(holder));
      controls_.nameField(holder)->setText(kEmptyName);
    } else if (chosen >= 1 && chosen <= engine::kHolderCount) {
      copyHolderToHolder(holder, chosen - 1);
    } else {
      NotImplemented();
    }
  } else if (inHolderGroup(tag, kNameField)) {
    const int holder = holderOf(kNameField);
    kit().holder(NoteOf(holder)).setName(controls_.nameField(holder)->getText());
  } else if (inHolderGroup(tag, kPreviousFile) || inHolderGroup(tag, kNextFile)) {
    if (v != 1.0f) return;
    const bool next = inHolderGroup(tag, kNextFile);
    stepBrowser(holderOf(next ? kNextFile : kPreviousFile), next);
  } else if (inHolderGroup(tag, kPreview)) {
    kit().startPreview(NoteOf(holderOf(kPreview)));
    setControl(tag, 0.0f);
  } else if (inHolderGroup(tag, kPanKnob)) {
    kit().holder(NoteOf(holderOf(kPanKnob))).setPan(v);
  } else if (inHolderGroup(tag, kPanMenu)) {
    if (choice() != 0) return NotImplemented();
    kit().holder(NoteOf(holderOf(kPanMenu))).setPan(kDefaultPan);
    setControl(kPanKnob + holderOf(kPanMenu), kDefaultPan);
  } else if (inHolderGroup(tag, kVolumeKnob)) {
    kit().holder(NoteOf(holderOf(kVolumeKnob))).setVolume(v);
  } else if (inHolderGroup(tag, kLengthKnob)) {
    kit().holder(NoteOf(holderOf(kLengthKnob))).setLengthFraction(v);
  } else if (inHolderGroup(tag, kSwingButton)) {
    kit().holder(NoteOf(holderOf(kSwingButton))).setSwing(v == 1.0f);
  } else if (inHolderGroup(tag, kPitchKnob)) {
    if (const auto pitch = PitchFromKnob(v)) {
      kit().holder(NoteOf(holderOf(kPitchKnob))).setPitch(static_cast<int8_t>(*pitch));
    }
  } else if (inHolderGroup(tag, kPitchMenu)) {
    if (choice() != 0) return NotImplemented();
    kit().holder(NoteOf(holderOf(kPitchMenu))).setPitch(0);
    setControl(kPitchKnob + holderOf(kPitchMenu), 0.5f);
  } else if (inHolderGroup(tag, kBrowseButton)) {
    browseButton(holderOf(kBrowseButton), v);
  } else if (inHolderGroup(tag, kMuteButton)) {
    muteButton(holderOf(kMuteButton), v);
    showMutedBySolo();
  } else if (inHolderGroup(tag, kSoloButton)) {
    soloButton(holderOf(kSoloButton), v);
    showMutedBySolo();
  } else if (tag >= kStepGroupButton && tag < kStepGroupButton + kStepGroupCount) {
    showStepGroup(tag - kStepGroupButton);
  } else if (tag >= kPatternButton && tag < kPatternButton + kPatternButtons) {
    const int button = tag - kPatternButton;
    showPattern(isOn(kOctave2Bank) ? button : button + kPatternButtons);
    if (v == 0.0f) setControl(tag, 1.0f);  // a lit pattern button stays lit
  } else if (tag >= kPatternMenu && tag < kPatternMenu + kPatternButtons) {
    patternMenu(tag - kPatternMenu, choice());
  } else if (tag >= kRunButton && tag <= kMidiButton) {
    syncModeButton(tag, v);
  } else if (tag == kOctave2Bank || tag == kOctave3Bank) {
    if (v == 1.0f) {
      showPattern(shownPattern_ % kPatternButtons + (tag == kOctave3Bank ? kPatternButtons : 0));
    } else {
      setControl(tag, 1.0f);
    }
  } else if (tag == kSwingAmountKnob) {
    engine_.editorState().swingAmount = v;
  } else if (tag == kMasterLevelKnob) {
    engine_.kitPlayer().setMasterLevel(v);
  } else if (tag == kMasterMenu) {
    if (choice() != 0) return NotImplemented();
    engine_.kitPlayer().setMasterLevel(kDefaultMasterLevel);
    setControl(kMasterLevelKnob, kDefaultMasterLevel);
  } else if (tag == kResolutionSelector) {
    engine_.sequencer().setResolution(shownPattern_, engine::kDefaultResolution << controls_.selector(tag)->getState());
  } else if (tag == kSequencerModeSelector) {
    engine_.sequencer().setSequencerModeSetting(controls_.selector(tag)->getState());
  } else {
    // The position LEDs only show; a click on one is passed on to the host once more.
    report(tag, v);
  }
  control->setDirty();
}

void Gui::selectHolder(int holder, float value) {
  if (value == 1.0f && holder != selectedHolder_) {
    if (isOn(kBrowseButton + selectedHolder_)) {
      detachBrowser(selectedHolder_);
      setControl(kBrowseButton + selectedHolder_, 0.0f);
      attachBrowser(holder);
      browsers_[static_cast<size_t>(holder)]->ShowListing();
      if (mainMenu_) mainMenu_->setDirty();
      setControl(kBrowseButton + holder, 1.0f);
    }
    setControl(kHolderSelect + selectedHolder_, 0.0f);
    selectedHolder_ = holder;
    showSteps();
  } else if (value == 0.0f) {
    setControl(kHolderSelect + holder, 1.0f);  // one select button is always lit
  }
}

void Gui::browseButton(int holder, float value) {
  const int32_t tag = kBrowseButton + holder;
  if (value == 1.0f) {
    setControl(kBrowseButton + selectedHolder_, 0.0f);
    setControl(tag, 1.0f);
    setControl(kHolderSelect + selectedHolder_, 0.0f);
    detachBrowser(selectedHolder_);
    selectedHolder_ = holder;
    setControl(kHolderSelect + holder, 1.0f);
    attachBrowser(holder);
    browsers_[static_cast<size_t>(holder)]->ShowListing();
    showSteps();
  } else if (value == 0.0f) {
    detachBrowser(holder);
  } else if (value == browser::kFileClicked) {
    for (browser::VstBrowser* view : browsers_) view->NavigateTo(environment_.samplesFolder, false);
    const std::string path = browsers_[static_cast<size_t>(holder)]->GetSelectedPath();
    if (!path.empty()) LoadSampleFromBrowser(NoteOf(holder), path);
  } else if (value == browser::kFileDoubleClicked) {
    setControl(tag, 0.0f);
    detachBrowser(holder);
  }
  if (mainMenu_) mainMenu_->setDirty();
}

void Gui::stepBrowser(int holder, bool next) {
  browser::VstBrowser* view = browsers_[static_cast<size_t>(holder)];
  const std::string path = next ? view->Next() : view->Previous();
  if (!path.empty()) LoadSampleFromBrowser(NoteOf(holder), path);
}

void Gui::showMutedBySolo() {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    static_cast<MuteButton*>(controls_[kMuteButton + holder])
        ->setMutedBySolo(kit().holder(NoteOf(holder)).muteState() == engine::kMutedBySolo);
  }
}

bool Gui::anySolo() const {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    if (isOn(kSoloButton + holder)) return true;
  }
  return false;
}

void Gui::muteButton(int holder, float value) {
  engine::SampleHolder& sampleHolder = kit().holder(NoteOf(holder));
  if (value == 1.0f) {
    sampleHolder.setMuteState(engine::kMuted);
    setControl(kSoloButton + holder, 0.0f);
  } else if (anySolo()) {
    // A holder stays muted while any solo is on.
    sampleHolder.setMuteState(engine::kMuted);
    setControl(kMuteButton + holder, 1.0f);
  } else {
    sampleHolder.setMuteState(engine::kNotMuted);
  }
}

void Gui::soloButton(int holder, float value) {
  if (value == 1.0f) {
    setControl(kSoloButton + holder, 1.0f);
    setControl(kMuteButton + holder, 0.0f);
    kit().holder(NoteOf(holder)).setMuteState(engine::kNotMuted);
    for (int other = 0; other < engine::kHolderCount; ++other) {
      engine::SampleHolder& sampleHolder = kit().holder(NoteOf(other));
      if (isOn(kSoloButton + other) || sampleHolder.muteState() == engine::kMuted) continue;
      setControl(kMuteButton + other, 1.0f);
      sampleHolder.setMuteState(engine::kMutedBySolo);
    }
    return;
  }
  kit().holder(NoteOf(holder)).setMuteState(engine::kMutedBySolo);
  setControl(kSoloButton + holder, 0.0f);
  setControl(kMuteButton + holder, 1.0f);
  if (anySolo()) return;
  for (int other = 0; other < engine::kHolderCount; ++other) {
    engine::SampleHolder& sampleHolder = kit().holder(NoteOf(other));
    if (sampleHolder.muteState() != engine::kMutedBySolo) continue;
    setControl(kMuteButton + other, 0.0f);
    sampleHolder.setMuteState(engine::kNotMuted);
  }
}

void Gui::syncModeButton(int32_t tag, float value) {
  if (value == 1.0f) {
    setControl(ModeButton(engine_.syncMode()), 0.0f);
    setControl(tag, 1.0f);
    engine_.setSyncMode(ModeOfButton(tag));
    return;
  }
  // Clicking the lit Stop button after Run rewinds to the bar's first step.
  if (tag == kStopButton && engine_.lastMode() == SyncMode::Run) {
    engine_.sequencer().rewind();
    stepGroup_ = 0;
    showStepGroup(engine_.sequencer().currentStep() / kStepsShown);
    showSteps();
  }
  setControl(tag, 1.0f);
}

void Gui::patternMenu(int button, int choice) {
  const int pattern = button + (isOn(kOctave2Bank) ? 0 : kPatternButtons);
  if (choice == 0) {
    engine_.sequencer().clearPattern(pattern);
  } else if (choice >= 1 && choice <= engine::kPatternCount) {
    engine_.sequencer().copyPattern(pattern, choice - 1);
  } else {
    return NotImplemented();
  }
  // A copy onto the shown pattern changes the step row as well.
  showSteps();
}

void Gui::showSteps() {
  if (stepNumbers_) stepNumbers_->setGroup(stepGroup_);
  for (int m = 0; m < kStepsShown; ++m) {
    const bool sounds = engine_.sequencer().cellSounds(shownPattern_, kStepsShown * stepGroup_ + m, selectedHolder_);
    setControl(kStepButton + m, sounds ? 1.0f : 0.0f);
  }
}

void Gui::showStepGroup(int group) {
  if (group < 0 || group >= kStepGroupCount) return;
  for (int g = 0; g < kStepGroupCount; ++g) setControl(kStepGroupButton + g, g == group ? 1.0f : 0.0f);
  stepGroup_ = group;
  showSteps();
}

void Gui::showResolution(int pattern) {
  const int state = engine::resolutionIndex(engine_.sequencer().resolution(pattern));
  controls_.selector(kResolutionSelector)->setState(state < 0 ? 0 : state);
}

void Gui::showPattern(int pattern) {
  if (pattern < 0 || pattern >= engine::kPatternCount) return;
  setControl(kPatternButton + shownPattern_ % kPatternButtons, 0.0f);
  shownPattern_ = pattern;
  setControl(kPatternButton + pattern % kPatternButtons, 1.0f);
  setControl(kOctave2Bank, 0.0f);
  setControl(kOctave3Bank, 0.0f);
  setControl(pattern >= kPatternButtons ? kOctave3Bank : kOctave2Bank, 1.0f);
  engine_.sequencer().selectPattern(pattern);
  showSteps();
  showStepGroup(engine_.sequencer().currentStep() / kStepsShown);
  showResolution(pattern);
}

void Gui::refreshNames() {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    controls_.nameField(holder)->setText(kit().holder(NoteOf(holder)).name());
  }
}

void Gui::refreshFromModel() {
  showSteps();
  refreshNames();
  for (int32_t tag = kRunButton; tag <= kMidiButton; ++tag) setControl(tag, 0.0f);
  setControl(ModeButton(engine_.syncMode()), 1.0f);

  bool anyMutedBySolo = false;
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    anyMutedBySolo = anyMutedBySolo || kit().holder(NoteOf(holder)).muteState() == engine::kMutedBySolo;
  }
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    const engine::SampleHolder& sampleHolder = kit().holder(NoteOf(holder));
    setControl(kMuteButton + holder, sampleHolder.muteState() != engine::kNotMuted ? 1.0f : 0.0f);
    setControl(kSoloButton + holder, sampleHolder.muteState() == engine::kNotMuted && anyMutedBySolo ? 1.0f : 0.0f);
    setControl(kPanKnob + holder, sampleHolder.pan());
    setControl(kVolumeKnob + holder, sampleHolder.volume());
    setControl(kSwingButton + holder, sampleHolder.swing() ? 1.0f : 0.0f);
    setControl(kLengthKnob + holder, sampleHolder.lengthFraction());
    if (const auto shown = PitchKnobValue(sampleHolder.pitch())) setControl(kPitchKnob + holder, *shown);
  }
  showMutedBySolo();

  setControl(kSwingAmountKnob, engine_.sequencer().swingAmount());
  setControl(kMasterLevelKnob, engine_.kitPlayer().masterLevel());
  showResolution(engine_.sequencer().currentPattern());
  controls_.selector(kSequencerModeSelector)
      ->setState(static_cast<int32_t>(engine_.sequencer().sequencerModeSetting()));

  for (int k = 0; k < kPatternButtons; ++k) setControl(kPatternButton + k, k == 0 ? 1.0f : 0.0f);
  for (int g = 0; g < kStepGroupCount; ++g) setControl(kStepGroupButton + g, g == 0 ? 1.0f : 0.0f);
  for (int m = 0; m < kStepsShown; ++m) setControl(kPositionLed + m, 0.0f);
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    setControl(kHolderSelect + holder, holder == selectedHolder_ ? 1.0f : 0.0f);
  }
  setControl(kOctave2Bank, 0.0f);
  setControl(kOctave3Bank, 0.0f);
}

void Gui::copyHolderToHolder(int from, int to) {
  if (from == to) return;
  kit().clearHolder(NoteOf(to));
  controls_.nameField(to)->setText(controls_.nameField(from)->getText());
  kit().copyHolder(NoteOf(from), NoteOf(to));
}

void Gui::LoadSampleFromBrowser(uint8_t note, const std::string& path) {
  if (!engine::isHolderNote(note)) return;
  const int holder = note - engine::kFirstNote;
  engine::SampleHolder& sampleHolder = kit().holder(note);
  if (sampleHolder.name().empty() || sampleHolder.name() == sampleHolder.fileNamePart()) {
    sampleHolder.setName(browsers_[static_cast<size_t>(holder)]->selectedFile());
    controls_.nameField(holder)->setText(sampleHolder.name());
  }
  samples::LoadSample(kit(), note, path, true);
}

void Gui::editorReset() {
  engine_.editorState().swingAmount = 0.5f;
  selectedHolder_ = 0;
  stepGroup_ = 0;
  shownPattern_ = 0;
  for (browser::VstBrowser* view : browsers_) view->NavigateTo(environment_.samplesFolder, false);
  refreshFromModel();
}

void Gui::setStartDirectories(const StartDirectories& directories) {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    browsers_[static_cast<size_t>(holder)]->NavigateTo(directories[static_cast<size_t>(holder)], true);
  }
}

}  // namespace editor
