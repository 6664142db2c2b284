// The user's clicks on views of a frame, and the file buttons of a browser panel by name.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "browser/VstBrowser.h"
#include "toolkit/CFrame.h"
#include "toolkit/MouseEvents.h"

namespace testhost {

// A press and release of the mouse in the middle of a view, as the window delivers them.
inline void Click(toolkit::CFrame& frame, const toolkit::CView* view, int32_t buttons = toolkit::kLButton) {
  if (!view) return ADD_FAILURE() << "nothing to click";
  const toolkit::CRect& size = view->getViewSize();
  const toolkit::CPoint middle =
      view->getParentView()->childToFrame({(size.left + size.right) / 2.0, (size.top + size.bottom) / 2.0});
  frame.handleMouseDown(middle, buttons);
  frame.handleMouseUp(middle, buttons);
}

inline std::vector<std::string> ButtonNames(const browser::VstBrowser& panel) {
  std::vector<std::string> names;
  for (size_t index = 0; index < panel.buttonCount(); ++index) names.push_back(panel.button(index)->getName());
  return names;
}

inline browser::FileButton* ButtonNamed(const browser::VstBrowser& panel, const std::string& name) {
  const std::vector<std::string> names = ButtonNames(panel);
  const auto found = std::ranges::find(names, name);
  EXPECT_NE(found, names.end()) << "no button " << name;
  return found == names.end() ? nullptr : panel.button(static_cast<size_t>(found - names.begin()));
}

}  // namespace testhost
