#include "editor/PatternBank.h"

#include <string>

#include "widgets/OnOffBtnWithMenu.h"
#include "widgets/SkinnedOnOffButton.h"

namespace editor {
namespace {

using namespace tags;

constexpr double kResolutionImages = 4;
// The pattern menu: clear, a copy to each pattern, three entries of no action yet, then the export.
constexpr int kExportEntry = engine::kPatternCount + 4;

}  // namespace

PatternBank::PatternBank(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
                         instrument::Instrument& instrument, StepRow& stepRow, Selection& selection)
    : controls_(controls),
      instrument_(instrument),
      patterns_(instrument.engine().patterns()),
      clock_(instrument.engine().clock()),
      stepRow_(stepRow),
      selection_(selection) {
  controls_.add(*this, new widgets::SkinnedOnOffButton(926, 209, listener, kOctave2Bank, skin[skin::kOctave2]));
  controls_.add(*this, new widgets::SkinnedOnOffButton(986, 209, listener, kOctave3Bank, skin[skin::kOctave3]));
  for (int k = 0; k < kPatternButtons; ++k) {
    toolkit::COptionMenu* menu = NewMenu(listener, kPatternMenu + k);
    menu->addEntry("Clear this pattern");
    for (int pattern = 0; pattern < engine::kPatternCount; ++pattern) {
      menu->addEntry("Copy this pattern to " + engine::PatternName(pattern));
    }
    menu->addEntry("Freeze this pattern");
    menu->addEntry("Record this pattern to a wav file");
    menu->addEntry("Clear this pattern");
    menu->addEntry("Export as MIDI file");
    controls_.add(*this, menu);
    controls_.add(*this, new widgets::OnOffBtnWithMenu(0, 0, listener, kPatternButton + k,
                                                       skin[skin::kPatternFirst + static_cast<size_t>(k)], menu));
  }
  controls_.add(*this, NewSelector(listener, kResolutionSelector, skin[skin::kResolution]));
}

void PatternBank::place(const SkinBitmaps& skin) {
  Put(controls_[kResolutionSelector], Strip(1045, 273, skin[skin::kResolution], kResolutionImages));
  Put(controls_[kOctave2Bank], TwoState(926, 273, skin[skin::kOctave2]));
  Put(controls_[kOctave3Bank], TwoState(986, 273, skin[skin::kOctave3]));
  // Three columns, four rows: buttons 1 to 3 on top.
  for (int k = 0; k < kPatternButtons; ++k) {
    Put(controls_[kPatternButton + k], TwoState(926 + 60 * (k % 3), 298 + 25 * (k / 3), skin[skin::kPatternFirst]));
  }
}

void PatternBank::followScale(const SkinBitmaps& skin, float /*scale*/) {
  // The selector picks its state's image by height as well.
  controls_.selector(kResolutionSelector)->setImageHeight(ImageHeight(skin, skin::kResolution, kResolutionImages));
}

void PatternBank::valueChanged(toolkit::CControl& control) {
  const int32_t tag = control.getTag();
  const float value = control.getValue();
  if (tag >= kPatternButton && tag < kPatternButton + kPatternButtons) {
    showPattern(shownOctave() + tag - kPatternButton);
    if (value == 0.0f) controls_.setValue(tag, 1.0f);  // a lit pattern button stays lit
  } else if (tag >= kPatternMenu && tag < kPatternMenu + kPatternButtons) {
    patternMenu(tag - kPatternMenu, static_cast<toolkit::COptionMenu&>(control).getCurrentIndex());
  } else if (tag == kResolutionSelector) {
    patterns_.setResolution(selection_.pattern, engine::kDefaultResolution << controls_.selector(tag)->getState());
  } else if (value == 1.0f) {
    // An octave button: the same button of the other octave.
    showPattern(selection_.pattern % kPatternButtons + (tag == kOctave3Bank ? kPatternButtons : 0));
  } else {
    controls_.setValue(tag, 1.0f);
  }
}

void PatternBank::refreshFromModel() {
  showResolution(clock_.currentPattern());
  // The buttons and the bank of the shown pattern: a load then moves them with showPattern.
  const int shown = selection_.pattern;
  for (int k = 0; k < kPatternButtons; ++k) {
    controls_.setValue(kPatternButton + k, k == shown % kPatternButtons ? 1.0f : 0.0f);
  }
  controls_.setValue(kOctave2Bank, shown < kPatternButtons ? 1.0f : 0.0f);
  controls_.setValue(kOctave3Bank, shown >= kPatternButtons ? 1.0f : 0.0f);
}

void PatternBank::showPattern(int pattern) {
  if (pattern < 0 || pattern >= engine::kPatternCount) return;
  controls_.setValue(kPatternButton + selection_.pattern % kPatternButtons, 0.0f);
  selection_.pattern = pattern;
  controls_.setValue(kPatternButton + pattern % kPatternButtons, 1.0f);
  controls_.setValue(kOctave2Bank, 0.0f);
  controls_.setValue(kOctave3Bank, 0.0f);
  controls_.setValue(pattern >= kPatternButtons ? kOctave3Bank : kOctave2Bank, 1.0f);
  clock_.selectPattern(pattern);
  stepRow_.showSteps();
  stepRow_.followCurrentStep();
  showResolution(pattern);
}

void PatternBank::patternMenu(int button, int choice) {
  const int pattern = shownOctave() + button;
  if (choice == 0) {
    instrument_.clearPattern(pattern);
  } else if (choice >= 1 && choice <= engine::kPatternCount) {
    instrument_.copyPattern(pattern, choice - 1);
  } else if (choice == kExportEntry) {
    return ExportAsMidiFile(instrument_, pattern);
  } else {
    return ShowNotImplemented();
  }
  // A copy onto the shown pattern changes the step row as well.
  stepRow_.showSteps();
}

void PatternBank::showResolution(int pattern) {
  const int state = engine::ResolutionIndex(patterns_.resolution(pattern));
  controls_.selector(kResolutionSelector)->setState(state < 0 ? 0 : state);
}

int PatternBank::shownOctave() const { return selection_.pattern < kPatternButtons ? 0 : kPatternButtons; }

}  // namespace editor
