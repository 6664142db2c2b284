// The editor's 283 controls and context menus, indexed by tag, and the layout step that places
// them from the sizes of the skin bitmaps. Every control and menu reports to one listener.
#pragma once

#include <array>
#include <cstdint>

#include "editor/ControlTags.h"
#include "editor/SkinBitmaps.h"
#include "engine/Kit.h"
#include "toolkit/CControl.h"
#include "toolkit/CControlListener.h"
#include "toolkit/COptionMenu.h"
#include "toolkit/CTextEdit.h"
#include "widgets/CAnimKnobExWithMenu.h"
#include "widgets/CMultiStateButtonWithMenu.h"

namespace editor {

class ControlTable {
 public:
  // Creates every control with its bitmap and menu; name fields show the holders' names.
  ControlTable(toolkit::CControlListener* listener, const SkinBitmaps& skin, const engine::Kit& kit);
  // Lets go of the table's reference to each control (a frame holds its own).
  ~ControlTable();
  ControlTable(const ControlTable&) = delete;
  ControlTable& operator=(const ControlTable&) = delete;

  // tag 0..282.
  toolkit::CControl* operator[](int32_t tag) const { return controls_[static_cast<size_t>(tag)]; }
  const std::array<toolkit::CControl*, tags::kControlCount>& all() const { return controls_; }
  widgets::CAnimKnobExWithMenu* knob(int32_t tag) const;
  widgets::CMultiStateButtonWithMenu* selector(int32_t tag) const;
  toolkit::COptionMenu* menu(int32_t tag) const;
  toolkit::CTextEdit* nameField(int holder) const;

  // Every control at its position for the designed size, sized by the skin bitmaps as they
  // are now (unscaled); mouse areas follow the views.
  void place(const SkinBitmaps& skin) const;

 private:
  void set(toolkit::CControl* control);

  std::array<toolkit::CControl*, tags::kControlCount> controls_{};
};

}  // namespace editor
