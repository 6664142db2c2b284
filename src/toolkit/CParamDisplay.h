// A control that shows a text (by default its value) in a font and colours, over a
// background colour or bitmap, with a frame.
#pragma once

#include <string>

#include "toolkit/CControl.h"
#include "toolkit/CFont.h"

namespace toolkit {

// Style bits of text controls and menus.
enum CParamDisplayStyle : int32_t {
  kNoFrame = 1 << 0,
  kNoTextStyle = 1 << 11,
  // The control draws nothing at all (menus that only pop up).
  kNoDrawStyle = 1 << 12,
};

class CParamDisplay : public CControl {
 public:
  CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);

  void setFont(const CFont& font);
  const CFont& getFont() const { return font_; }
  void setFontColor(CColor color);
  CColor getFontColor() const { return fontColor_; }
  void setBackColor(CColor color);
  CColor getBackColor() const { return backColor_; }
  void setFrameColor(CColor color);
  CColor getFrameColor() const { return frameColor_; }
  void setHoriAlign(CHoriTxtAlign align);

  void draw(CDrawContext& context) override;

 protected:
  CParamDisplay(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, int32_t style);
  // The text shown; the value with two decimals unless a subclass shows something else.
  virtual std::string displayText() const;
  // Background, frame and text in the control's look.
  void drawBox(CDrawContext& context, const std::string& text);

 private:
  CFont font_ = ArialFont(11.0);
  CColor fontColor_ = kWhiteCColor;
  CColor backColor_ = kBlackCColor;
  CColor frameColor_ = kBlackCColor;
  CHoriTxtAlign align_ = kCenterText;
  int32_t style_;
};

}  // namespace toolkit
