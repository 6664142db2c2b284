// The pattern bank: twelve pattern buttons (each with its pattern menu) for the patterns of the
// chosen octave, the two octave buttons, and the resolution selector of the shown pattern.
#pragma once

#include "editor/ControlTable.h"
#include "editor/Section.h"
#include "editor/StepRow.h"
#include "engine/PatternStore.h"
#include "engine/StepClock.h"
#include "instrument/Instrument.h"

namespace editor {

class PatternBank : public Section {
 public:
  PatternBank(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
              instrument::Instrument& instrument, StepRow& stepRow, Selection& selection);

  void place(const SkinBitmaps& skin) override;
  void followScale(const SkinBitmaps& skin, float scale) override;
  void valueChanged(toolkit::CControl& control) override;
  void refreshFromModel() override;

  // Lights the pattern's button and octave, has the clock select it and shows its steps,
  // the current step's group and its resolution. A pattern outside 0..23 changes nothing.
  void showPattern(int pattern);

 private:
  void patternMenu(int button, int choice);
  void showResolution(int pattern);
  // The first pattern of the shown pattern's octave.
  int shownOctave() const;

  ControlTable& controls_;
  instrument::Instrument& instrument_;
  engine::PatternStore& patterns_;
  engine::StepClock& clock_;
  StepRow& stepRow_;
  Selection& selection_;
};

}  // namespace editor
