#include "browser/FolderLine.h"

namespace browser {
namespace {

constexpr toolkit::CColor kFolderColour{204, 209, 217, 255};
constexpr std::string_view kCut = "...";

}  // namespace

FolderLine::FolderLine(const toolkit::CRect& size) : CView(size) { setMouseEnabled(false); }

void FolderLine::setFolder(const std::string& folder) {
  if (folder == folder_) return;
  folder_ = folder;
  setDirty();
}

void FolderLine::setScale(float scale) {
  fontSize_ = kFontSize * scale;
  setDirty();
}

void FolderLine::draw(toolkit::CDrawContext& context) {
  const toolkit::CFont font = toolkit::ArialFont(fontSize_);
  const auto measure = [&](std::string_view text) { return context.textWidth(text, font); };
  const auto characterLength = [&](std::string_view text) { return context.characterLength(text); };
  // drawText keeps a pixel free at either side.
  const std::string shown = fitFromTheLeft(folder_, getViewSize().width() - 2.0, measure, characterLength);
  context.drawText(shown, getViewSize(), font, kFolderColour, toolkit::kLeftText);
  CView::draw(context);
}

std::string FolderLine::fitFromTheLeft(const std::string& text, double width,
                                       const std::function<double(std::string_view)>& measure,
                                       const std::function<size_t(std::string_view)>& characterLength) {
  if (measure(text) <= width) return text;
  // The longest end that fits behind the mark, cut before a whole character.
  const std::string_view whole(text);
  for (size_t start = characterLength(whole); start > 0 && start < text.size();
       start += characterLength(whole.substr(start))) {
    std::string cut = std::string(kCut) + text.substr(start);
    if (measure(cut) <= width) return cut;
  }
  return std::string(kCut);
}

}  // namespace browser
