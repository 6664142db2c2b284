// The line in the browser's toolbar that names the folder the grid lists. A path too long for
// the line loses its start, so that the folder's own name stays in view.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "toolkit/CView.h"

namespace browser {

class FolderLine : public toolkit::CView {
 public:
  // Font size at the editor's designed size.
  static constexpr double kFontSize = 11.0;

  explicit FolderLine(const toolkit::CRect& size);

  // Redraws when the folder changes.
  void setFolder(const std::string& folder);
  const std::string& folder() const { return folder_; }
  // Letters are drawn at the editor's size, not scaled as a bitmap.
  void setScale(float scale);
  void draw(toolkit::CDrawContext& context) override;

  // The end of text that fits into width (as measured), led by "..." when its start had to go;
  // the text is cut only where a character starts (characterLength: the bytes of the first
  // character of a text).
  static std::string fitFromTheLeft(const std::string& text, double width,
                                    const std::function<double(std::string_view)>& measure,
                                    const std::function<size_t(std::string_view)>& characterLength);

 private:
  std::string folder_;
  double fontSize_ = kFontSize;
};

}  // namespace browser
