// The step row: sixteen step buttons that show and set the cells of the selected holder in the
// shown pattern with their velocities (each with a menu of velocities), the position LEDs under
// them, and the eight step group buttons that choose which sixteen steps of the bar the row shows.
#pragma once

#include "editor/ControlTable.h"
#include "editor/Section.h"
#include "editor/StepNumbers.h"
#include "engine/PatternStore.h"
#include "engine/StepClock.h"
#include "instrument/Instrument.h"
#include "toolkit/CFrame.h"

namespace editor {

class StepRow : public Section {
 public:
  StepRow(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
          instrument::Instrument& instrument, Selection& selection);

  void place(const SkinBitmaps& skin) override;
  void followScale(const SkinBitmaps& skin, float scale) override;
  void valueChanged(toolkit::CControl& control) override;
  void refreshFromModel() override;

  // With the built-in background, the numbers under the step buttons follow the step group; a
  // skin's own background has its numbers painted in. Call once the step buttons are in the frame.
  void addStepNumbers(toolkit::CFrame& frame, const SkinBitmaps& skin);
  // The step buttons from the cells of the selected holder, shown pattern and step group.
  void showSteps();
  // Lights the group's button and shows its steps; a group outside 0..7 changes nothing.
  void showStepGroup(int group);
  // The group of the sequencer's current step.
  void followCurrentStep();
  // Lights the LED of the current step, or none while the position is hidden.
  void showPosition(bool hidden);
  // A step's velocity is being dragged: the row must stay on that step until the release.
  bool stepDragged() const;

 private:
  // The step that shown step button m (0..15) stands for.
  int stepOf(int shown) const;
  // The step button from its cell: dark, or lit at its velocity.
  void showStep(int shown);
  // The step menu's choice: the step sounds at that velocity.
  void setVelocity(int shown, int velocity);

  ControlTable& controls_;
  instrument::Instrument& instrument_;
  engine::PatternStore& patterns_;
  engine::StepClock& clock_;
  Selection& selection_;
  StepNumbers* stepNumbers_ = nullptr;  // held by the frame; none with a skin's background
};

}  // namespace editor
