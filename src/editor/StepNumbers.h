// The numbers under the sixteen step buttons: the steps of the group shown (17 to 32 for the
// second group). Drawn in the built-in skin's lettering at the editor's current size; a skin
// file's background carries numbers of its own, and the editor then does not add this view.
#pragma once

#include <array>

#include "editor/ControlTags.h"
#include "toolkit/CView.h"

namespace editor {

class StepNumbers : public toolkit::CView {
 public:
  using StepButtons = std::array<const toolkit::CView*, tags::kStepsShown>;

  // The step buttons must outlive the view (the frame holds both).
  explicit StepNumbers(const StepButtons& steps);

  // Marks the numbers for redrawing when the group changes.
  void setGroup(int group);
  // Lays the numbers under the step buttons as they are placed now, at the editor's scale.
  void place(float scale);
  void draw(toolkit::CDrawContext& context) override;

 private:
  StepButtons steps_;
  int group_ = 0;
  float scale_ = 1.0f;
};

}  // namespace editor
