// The transport: the Run, Hsync, Stop and Midi buttons that choose the sync mode (one is always
// lit), and the hidden sequencer mode selector.
#pragma once

#include "editor/ControlTable.h"
#include "editor/Section.h"
#include "editor/StepRow.h"
#include "engine/DrumEngine.h"
#include "instrument/Instrument.h"

namespace editor {

class Transport : public Section {
 public:
  Transport(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
            instrument::Instrument& instrument, StepRow& stepRow);

  void place(const SkinBitmaps& skin) override;
  void followScale(const SkinBitmaps& skin, float scale) override;
  void valueChanged(toolkit::CControl& control) override;
  void refreshFromModel() override;

 private:
  void modeButton(int32_t tag, float value);

  ControlTable& controls_;
  instrument::Instrument& instrument_;
  engine::DrumEngine& engine_;
  StepRow& stepRow_;
};

}  // namespace editor
