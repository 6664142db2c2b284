// One section of the editor's panel: it makes its controls (tags of its own range, see
// ControlTags.h) into the control table, places them, answers their changes and shows the model.
#pragma once

#include "editor/SkinBitmaps.h"
#include "toolkit/CControl.h"

namespace editor {

// What the step row shows: the cells of one pattern for one holder, sixteen steps of one group.
// The holder strips choose the holder, the pattern bank the pattern, the step row the group.
struct Selection {
  int holder = 0;
  int pattern = 0;
  int stepGroup = 0;
};

class Section {
 public:
  virtual ~Section() = default;

  // Every control at its position for the designed size, sized by the skin bitmaps as they are
  // now (unscaled); mouse areas follow the views.
  virtual void place(const SkinBitmaps& skin) = 0;
  // After bitmaps and controls took a new scale: what follows the scaled bitmaps.
  virtual void followScale(const SkinBitmaps& /*skin*/, float /*scale*/) {}
  // One of the section's controls changed.
  virtual void valueChanged(toolkit::CControl& control) = 0;
  // Every control redrawn from the model.
  virtual void refreshFromModel() = 0;
  // The controls of host parameters redrawn from the model (after a host set one).
  virtual void showParameters() {}
};

}  // namespace editor
