// The master section: the swing amount knob, the master level knob and the level's menu.
#pragma once

#include "editor/ControlTable.h"
#include "editor/Section.h"
#include "engine/DrumEngine.h"
#include "instrument/Instrument.h"

namespace editor {

class MasterSection : public Section {
 public:
  MasterSection(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
                instrument::Instrument& instrument);

  void place(const SkinBitmaps& skin) override;
  void followScale(const SkinBitmaps& skin, float scale) override;
  void valueChanged(toolkit::CControl& control) override;
  void refreshFromModel() override;
  // Master level and swing amount are host parameters too.
  void showParameters() override { refreshFromModel(); }

 private:
  ControlTable& controls_;
  instrument::Instrument& instrument_;
  engine::DrumEngine& engine_;
};

}  // namespace editor
