#include "editor/StepRow.h"

#include "widgets/OnOffBtnWithMenu.h"
#include "widgets/SkinnedOnOffButton.h"

namespace editor {
namespace {

using namespace tags;

}  // namespace

StepRow::StepRow(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
                 instrument::Instrument& instrument, Selection& selection)
    : controls_(controls), instrument_(instrument), patterns_(instrument.engine().patterns()),
      clock_(instrument.engine().clock()), selection_(selection) {
  for (int m = 0; m < kStepsShown; ++m) {
    controls_.add(*this, new widgets::SkinnedOnOffButton(0, 0, listener, kPositionLed + m, skin[skin::kLed]));
    toolkit::COptionMenu* stepMenu = NewMenu(listener, kStepMenu + m);
    controls_.add(*this, stepMenu);
    controls_.add(*this, new widgets::OnOffBtnWithMenu(0, 0, listener, kStepButton + m, skin[skin::kStep], stepMenu));
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
  // The position LEDs only show, and the step menus have nothing to choose.
  if (tag >= kStepMenu) return;
  const int step = kStepsShown * selection_.stepGroup + (tag - kStepButton);
  instrument_.setStep(selection_.pattern, step, selection_.holder, control.getValue() == 1.0f);
}

void StepRow::refreshFromModel() {
  showSteps();
  for (int g = 0; g < kStepGroupCount; ++g) controls_.setValue(kStepGroupButton + g, g == 0 ? 1.0f : 0.0f);
  for (int m = 0; m < kStepsShown; ++m) controls_.setValue(kPositionLed + m, 0.0f);
}

void StepRow::showSteps() {
  if (stepNumbers_) stepNumbers_->setGroup(selection_.stepGroup);
  for (int m = 0; m < kStepsShown; ++m) {
    const bool sounds = patterns_.cellSounds(selection_.pattern, kStepsShown * selection_.stepGroup + m,
                                              selection_.holder);
    controls_.setValue(kStepButton + m, sounds ? 1.0f : 0.0f);
  }
}

void StepRow::showStepGroup(int group) {
  if (group < 0 || group >= kStepGroupCount) return;
  for (int g = 0; g < kStepGroupCount; ++g) controls_.setValue(kStepGroupButton + g, g == group ? 1.0f : 0.0f);
  selection_.stepGroup = group;
  showSteps();
}

void StepRow::followCurrentStep() { showStepGroup(clock_.currentStep() / kStepsShown); }

void StepRow::showPosition(bool hidden) {
  for (int m = 0; m < kStepsShown; ++m) controls_.setValue(kPositionLed + m, 0.0f);
  if (!hidden) controls_.setValue(kPositionLed + clock_.currentStep() % kStepsShown, 1.0f);
}

}  // namespace editor
