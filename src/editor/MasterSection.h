// The master section: the swing amount knob, the master level knob and the level's menu.
#pragma once

#include "editor/ControlTable.h"
#include "editor/Section.h"
#include "engine/DrumEngine.h"

namespace editor {

class MasterSection : public Section {
 public:
  MasterSection(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
                engine::DrumEngine& engine);

  void place(const SkinBitmaps& skin) override;
  void followScale(const SkinBitmaps& skin, float scale) override;
  bool valueChanged(toolkit::CControl& control) override;
  void refreshFromModel() override;

  // The swing amount the engine reads back to its default.
  void reset();

 private:
  ControlTable& controls_;
  engine::DrumEngine& engine_;
};

}  // namespace editor
