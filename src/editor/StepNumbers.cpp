#include "editor/StepNumbers.h"

#include <string>

namespace editor {
namespace {

// The row of numbers in the editor's designed size: between the LEDs and the panel's edge.
constexpr double kRowTop = 516.0;
constexpr double kRowBottom = 530.0;
constexpr double kFontSize = 9.0;
// The dim silk-screen colour of the built-in skin's small labels.
constexpr toolkit::CColor kNumberColour{133, 140, 150, 255};

}  // namespace

StepNumbers::StepNumbers(const StepButtons& steps) : CView({}), steps_(steps) { setMouseEnabled(false); }

void StepNumbers::setGroup(int group) {
  if (group == group_) return;
  group_ = group;
  setDirty();
}

void StepNumbers::place(float scale) {
  scale_ = scale;
  setViewSize(
      {steps_.front()->getViewSize().left, kRowTop * scale, steps_.back()->getViewSize().right, kRowBottom * scale});
}

void StepNumbers::draw(toolkit::CDrawContext& context) {
  const toolkit::CFont font{"Arial", kFontSize * scale_, true};
  for (int m = 0; m < tags::kStepsShown; ++m) {
    const toolkit::CRect button = steps_[static_cast<size_t>(m)]->getViewSize();
    const toolkit::CRect box{button.left, getViewSize().top, button.right, getViewSize().bottom};
    context.drawText(std::to_string(tags::kStepsShown * group_ + m + 1), box, font, kNumberColour,
                     toolkit::kCenterText);
  }
  CView::draw(context);
}

}  // namespace editor
