// The built-in skin's step group, holder select and pattern buttons carry no letters in their
// bitmaps: the buttons draw their labels ("1-16", "C#") at the editor's size, so that small
// sizes stay readable. A skin file's bitmap keeps its own lettering and gets none.
#pragma once

#include "editor/ControlTable.h"
#include "editor/SkinBitmaps.h"

namespace editor {

// Call with the controls placed at the designed size.
void LetterBuiltInKeys(const ControlTable& controls, const SkinBitmaps& skin);

}  // namespace editor
