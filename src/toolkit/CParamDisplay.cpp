#include "toolkit/CParamDisplay.h"

#include <cstdio>

namespace toolkit {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CParamDisplay(size, nullptr, 0, background, style) {}

CParamDisplay::CParamDisplay(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                             int32_t style)
    : CControl(size, listener, tag, background), style_(style) {}

void CParamDisplay::setFont(const CFont& font) {
  font_ = font;
  setDirty();
}

void CParamDisplay::setFontColor(CColor color) {
  fontColor_ = color;
  setDirty();
}

void CParamDisplay::setBackColor(CColor color) {
  backColor_ = color;
  setDirty();
}

void CParamDisplay::setFrameColor(CColor color) {
  frameColor_ = color;
  setDirty();
}

void CParamDisplay::setHoriAlign(CHoriTxtAlign align) {
  align_ = align;
  setDirty();
}

std::string CParamDisplay::displayText() const {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(getValue()));
  return text;
}

void CParamDisplay::draw(CDrawContext& context) {
  drawBox(context, displayText());
  CView::draw(context);
}

void CParamDisplay::drawBox(CDrawContext& context, const std::string& text) {
  if (style_ & kNoDrawStyle) return;
  const CRect& size = getViewSize();
  // A background bitmap (an icon, say) lies over the back colour, which fills what it leaves.
  context.fillRect(size, backColor_);
  if (CBitmap* bitmap = getBackground()) bitmap->draw(context, size);
  if (!(style_ & kNoFrame)) context.frameRect(size, frameColor_);
  if (!(style_ & kNoTextStyle)) {
    const CRect textArea{size.left + 1.0, size.top, size.right - 1.0, size.bottom};
    context.drawText(text, textArea, font_, fontColor_, align_);
  }
}

}  // namespace toolkit
