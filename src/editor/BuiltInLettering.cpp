#include "editor/BuiltInLettering.h"

#include <string>

#include "editor/ControlTags.h"
#include "engine/Limits.h"
#include "toolkit/COnOffButton.h"

namespace editor {
namespace {

// The built-in skin's key lettering: light on a dark key, dark on a lit one.
constexpr toolkit::CColor kLetterOff{204, 209, 217, 255};
constexpr toolkit::CColor kLetterOn{26, 18, 8, 255};
constexpr double kGroupFontSize = 8.0;
constexpr double kNoteFontSize = 10.0;

void Letter(const ControlTable& controls, int32_t tag, const widgets::CBitmapEx* bitmap, std::string text,
            double fontSize) {
  if (!bitmap->isBuiltIn()) return;
  static_cast<toolkit::COnOffButton*>(controls[tag])->setCaption({std::move(text), fontSize, kLetterOff, kLetterOn});
}

}  // namespace

void LetterBuiltInKeys(const ControlTable& controls, const SkinBitmaps& skin) {
  using namespace tags;
  for (int g = 0; g < kStepGroupCount; ++g) {
    const std::string range = std::to_string(kStepsShown * g + 1) + "-" + std::to_string(kStepsShown * (g + 1));
    Letter(controls, kStepGroupButton + g, skin[skin::kStepGroupFirst + static_cast<size_t>(g)], range, kGroupFontSize);
  }
  for (int i = 0; i < engine::kHolderCount; ++i) {
    const char* note = engine::kNoteNames[i];
    Letter(controls, kHolderSelect + i, skin[skin::kSelectFirst + static_cast<size_t>(i)], note, kNoteFontSize);
    Letter(controls, kPatternButton + i, skin[skin::kPatternFirst + static_cast<size_t>(i)], note, kNoteFontSize);
  }
}

}  // namespace editor
