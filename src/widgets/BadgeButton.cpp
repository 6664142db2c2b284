#include "widgets/BadgeButton.h"

#include <utility>

namespace widgets {
namespace {

constexpr toolkit::CColor kBoxColour{0, 0, 0, 190};
constexpr toolkit::CColor kLetterColour{255, 170, 40, 255};
// The box's height as a share of the button's and its letters' as a share of the box's: small
// enough to leave a key's centred lettering free.
constexpr double kBoxHeight = 0.55;
constexpr double kLetterHeight = 0.8;

}  // namespace

void BadgeButton::setBadge(std::string badge) {
  if (badge == badge_) return;
  badge_ = std::move(badge);
  setDirty();
}

void BadgeButton::draw(toolkit::CDrawContext& context) {
  OnOffBtnWithMenu::draw(context);
  if (badge_.empty()) return;
  const toolkit::CRect& size = getViewSize();
  const double height = getHeight() * kBoxHeight;
  const double inset = (getHeight() - height) / 2.0;
  const toolkit::CFont font{"Arial", height * kLetterHeight, true};
  const double width = context.textWidth(badge_, font) + inset;
  const toolkit::CRect box{size.right - inset - width, size.top + inset, size.right - inset, size.bottom - inset};
  context.fillRect(box, kBoxColour);
  context.drawText(badge_, box, font, kLetterColour, toolkit::kCenterText);
}

}  // namespace widgets
