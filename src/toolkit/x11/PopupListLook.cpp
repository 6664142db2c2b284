#include "toolkit/x11/PopupListLook.h"

#include <algorithm>
#include <cmath>

#include "toolkit/ImageDrawContext.h"

namespace toolkit {
namespace {

const CFont kEntryFont = ArialFont(12.0);
constexpr double kTextIndent = 10.0;
constexpr CColor kListBackground{238, 238, 236, 255};
constexpr CColor kListFrame{90, 90, 90, 255};
constexpr CColor kHighlight{52, 101, 164, 255};
constexpr CColor kText{20, 20, 20, 255};

}  // namespace

PopupListLook::PopupListLook(std::vector<std::string> entries) : entries_(std::move(entries)) {
  Image probe(1, 1);
  const auto context = CreateImageDrawContext(probe);
  double widest = 60.0;
  for (const std::string& entry : entries_) widest = std::max(widest, context->textWidth(entry, kEntryFont));
  width_ = static_cast<int>(std::ceil(widest + 2.0 * kTextIndent)) + 2;
}

int PopupListLook::entryAt(CPoint point) const {
  if (point.x < 0.0 || point.x >= width_ || point.y < 1.0) return -1;
  const auto index = static_cast<size_t>((point.y - 1.0) / kEntryHeight);
  return index < entries_.size() ? static_cast<int>(index) : -1;
}

void PopupListLook::render(Image& image, int highlighted) const {
  const auto context = CreateImageDrawContext(image);
  const CRect all{0.0, 0.0, static_cast<double>(width_), static_cast<double>(height())};
  context->fillRect(all, kListBackground);
  for (size_t i = 0; i < entries_.size(); ++i) {
    const CRect row{1.0, 1.0 + kEntryHeight * static_cast<double>(i), width_ - 1.0,
                    1.0 + kEntryHeight * static_cast<double>(i + 1)};
    const bool lit = static_cast<int>(i) == highlighted;
    if (lit) context->fillRect(row, kHighlight);
    context->drawText(entries_[i], {row.left + kTextIndent, row.top, row.right, row.bottom}, kEntryFont,
                      lit ? kWhiteCColor : kText, kLeftText);
  }
  context->frameRect(all, kListFrame, 1.0);
  context->flush();
}

}  // namespace toolkit
