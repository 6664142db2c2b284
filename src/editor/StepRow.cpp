#include "editor/StepRow.h"

#include <array>

#include "widgets/SkinnedOnOffButton.h"
#include "widgets/StepButton.h"

namespace editor {
namespace {

using namespace tags;
using widgets::StepButton;

// The step menu: a velocity for the step by entry, the last one back to full.
struct VelocityEntry {
  const char* text;
  int velocity;
};
constexpr std::array<VelocityEntry, 5> kVelocityEntries{
    {{"127", 127}, {"100", 100}, {"70", 70}, {"40", 40}, {"Reset to full", StepButton::kFullVelocity}}};

}  // namespace

StepRow::StepRow(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
                 instrument::Instrument& instrument, Selection& selection)
    : controls_(controls),
      instrument_(instrument),
      patterns_(instrument.engine().patterns()),
      clock_(instrument.engine().clock()),
      selection_(selection) {
  for (int m = 0; m < kStepsShown; ++m) {
    controls_.add(*this, new widgets::SkinnedOnOffButton(0, 0, listener, kPositionLed + m, skin[skin::kLed]));
    toolkit::COptionMenu* stepMenu = NewMenu(listener, kStepMenu + m);
    for (const VelocityEntry& entry : kVelocityEntries) stepMenu->addEntry(entry.text);
    controls_.add(*this, stepMenu);
    controls_.add(*this, new StepButton(0, 0, listener, kStepButton + m, skin[skin::kStep], stepMenu));
  }
  for (int g = 0; g < kStepGroupCount; ++g) {
    controls_.add(*this, new widgets::SkinnedOnOffButton(0, 0, listener, kStepGroupButton + g,
                                                         skin[skin::kStepGroupFirst + static_cast<size_t>(g)]));
  }
}

void StepRow::place(const SkinBitmaps& skin) {
  for (int m = 0; m < kStepsShown; ++m) {
    Put(controls_[kPositionLed + m], TwoState(104 + m * (skin[skin::kLed]->getWidth() + 12), 501, skin[skin::kLed]));
    Put(controls_[kStepButton + m], TwoState(104 + m * (skin[skin::kStep]->getWidth() + 11), 455, skin[skin::kStep]));
  }
  // All eight step group buttons follow the first one's height.
  const double groupPitch = skin[skin::kStepGroupFirst]->getHeight() / 2.0 + 1.0;
  for (int g = 0; g < kStepGroupCount; ++g) {
    Put(controls_[kStepGroupButton + g], TwoState(1117, 430 + g * groupPitch, skin[skin::kStepGroupFirst]));
  }
}

void StepRow::followScale(const SkinBitmaps& /*skin*/, float scale) {
  if (stepNumbers_) stepNumbers_->place(scale);
}

void StepRow::addStepNumbers(toolkit::CFrame& frame, const SkinBitmaps& skin) {
  if (!skin[skin::kBackground]->isBuiltIn()) return;
  StepNumbers::StepButtons steps{};
  for (int m = 0; m < kStepsShown; ++m) steps[static_cast<size_t>(m)] = controls_[kStepButton + m];
  stepNumbers_ = new StepNumbers(steps);
  stepNumbers_->setGroup(selection_.stepGroup);
  frame.addView(stepNumbers_);  // the frame's reference is the only one
}

void StepRow::valueChanged(toolkit::CControl& control) {
  const int32_t tag = control.getTag();
  if (tag >= kStepGroupButton) {
    showStepGroup(tag - kStepGroupButton);
    return;
  }
  if (tag >= kPositionLed) return;  // the LEDs only show
  if (tag >= kStepMenu) {
    const int choice = static_cast<toolkit::COptionMenu&>(control).getCurrentIndex();
    if (choice >= 0 && choice < static_cast<int>(kVelocityEntries.size())) {
      setVelocity(tag - kStepMenu, kVelocityEntries[static_cast<size_t>(choice)].velocity);
    }
    return;
  }
  const int shown = tag - kStepButton;
  // A click sets or clears the step (a set step plays at full velocity); a drag on a lit step
  // sets its velocity.
  const float value = control.getValue();
  if (value == 0.0f || value == 1.0f) {
    instrument_.setStep(selection_.pattern, stepOf(shown), selection_.holder, value == 1.0f);
  } else {
    instrument_.setStepVelocity(selection_.pattern, stepOf(shown), selection_.holder, StepButton::velocityOf(value));
  }
  showStep(shown);
}

void StepRow::setVelocity(int shown, int velocity) {
  // A step that does not sound yet is set, so that the chosen velocity is heard.
  const int step = stepOf(shown);
  if (!patterns_.cellSounds(selection_.pattern, step, selection_.holder)) {
    instrument_.setStep(selection_.pattern, step, selection_.holder, true);
  }
  instrument_.setStepVelocity(selection_.pattern, step, selection_.holder, velocity);
  showStep(shown);
}

int StepRow::stepOf(int shown) const { return kStepsShown * selection_.stepGroup + shown; }

void StepRow::showStep(int shown) {
  const int step = stepOf(shown);
  controls_.setValue(kStepButton + shown,
                     StepButton::valueOf(patterns_.cellSounds(selection_.pattern, step, selection_.holder),
                                         instrument_.stepVelocity(selection_.pattern, step, selection_.holder)));
}

void StepRow::refreshFromModel() {
  showSteps();
  for (int g = 0; g < kStepGroupCount; ++g) controls_.setValue(kStepGroupButton + g, g == 0 ? 1.0f : 0.0f);
  for (int m = 0; m < kStepsShown; ++m) controls_.setValue(kPositionLed + m, 0.0f);
}

void StepRow::showSteps() {
  if (stepNumbers_) stepNumbers_->setGroup(selection_.stepGroup);
  for (int m = 0; m < kStepsShown; ++m) showStep(m);
}

void StepRow::showStepGroup(int group) {
  if (group < 0 || group >= kStepGroupCount) return;
  for (int g = 0; g < kStepGroupCount; ++g) controls_.setValue(kStepGroupButton + g, g == group ? 1.0f : 0.0f);
  selection_.stepGroup = group;
  showSteps();
}

void StepRow::followCurrentStep() { showStepGroup(clock_.currentStep() / kStepsShown); }

bool StepRow::stepDragged() const {
  for (int m = 0; m < kStepsShown; ++m) {
    if (static_cast<const StepButton*>(controls_[kStepButton + m])->dragging()) return true;
  }
  return false;
}

void StepRow::showPosition(bool hidden) {
  for (int m = 0; m < kStepsShown; ++m) controls_.setValue(kPositionLed + m, 0.0f);
  if (!hidden) controls_.setValue(kPositionLed + clock_.currentStep() % kStepsShown, 1.0f);
}

}  // namespace editor
