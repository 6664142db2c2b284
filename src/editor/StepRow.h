// The step row: sixteen step buttons (each with an empty menu) that show and set the cells of
// the selected holder in the shown pattern, the position LEDs under them, and the eight step
// group buttons that choose which sixteen steps of the bar the row shows.
#pragma once

#include "editor/ControlTable.h"
#include "editor/Section.h"
#include "engine/StepSequencer.h"

namespace editor {

class StepRow : public Section {
 public:
  StepRow(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
          engine::StepSequencer& sequencer, Selection& selection);

  void place(const SkinBitmaps& skin) override;
  bool valueChanged(toolkit::CControl& control) override;
  void refreshFromModel() override;

  // The step buttons from the cells of the selected holder, shown pattern and step group.
  void showSteps();
  // Lights the group's button and shows its steps; a group outside 0..7 changes nothing.
  void showStepGroup(int group);
  // The group of the sequencer's current step.
  void followCurrentStep();
  // Lights the LED of the current step, or none while the position is hidden.
  void showPosition(bool hidden);

 private:
  ControlTable& controls_;
  engine::StepSequencer& sequencer_;
  Selection& selection_;
};

}  // namespace editor
