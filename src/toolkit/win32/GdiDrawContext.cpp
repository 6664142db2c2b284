// The drawing interface on GDI+, drawing into our own image: GDI+'s premultiplied ARGB bitmaps
// have the image's pixel layout, so the image's pixels are drawn into directly.
#include <windows.h>
#include <gdiplus.h>

#include <optional>
#include <vector>

#include "toolkit/win32/GdiSupport.h"
#include "toolkit/ImageDrawContext.h"
#include "toolkit/TextCharacters.h"

namespace toolkit {
namespace {

using Gdiplus::REAL;

Gdiplus::Color ColorOf(CColor color) { return Gdiplus::Color(color.alpha, color.red, color.green, color.blue); }

Gdiplus::RectF RectOf(const CRect& rect) {
  return {static_cast<REAL>(rect.left), static_cast<REAL>(rect.top), static_cast<REAL>(rect.width()),
          static_cast<REAL>(rect.height())};
}

// GDI+ reads these pixels only; the cast is for its interface.
Gdiplus::Bitmap Wrap(const Image& image) {
  return Gdiplus::Bitmap(image.width(), image.height(), image.stride(), PixelFormat32bppPARGB,
                         reinterpret_cast<BYTE*>(const_cast<uint32_t*>(image.data())));
}

// A font of the family, or of the system's sans-serif face when the family is not installed.
// Where neither is there (a system without fonts) it is unusable and no text is drawn.
class FontOf {
 public:
  explicit FontOf(const CFont& font)
      : requested_(gdi::Widen(font.family).c_str()),
        style_(font.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular) {
    if (requested_.IsAvailable()) {
      family_ = &requested_;
    } else if (const Gdiplus::FontFamily* fallback = Gdiplus::FontFamily::GenericSansSerif();
               fallback != nullptr && fallback->IsAvailable()) {
      family_ = fallback;
    }
    if (family_ != nullptr) font_.emplace(family_, static_cast<REAL>(font.size), style_, Gdiplus::UnitPixel);
  }

  bool usable() const { return font_.has_value() && font_->IsAvailable(); }
  const Gdiplus::Font& font() const { return *font_; }
  // Ascent and descent in pixels, as the baseline is placed from them.
  REAL ascent() const { return metric(family_->GetCellAscent(style_)); }
  REAL descent() const { return metric(family_->GetCellDescent(style_)); }

 private:
  REAL metric(UINT16 units) const { return font_->GetSize() * units / family_->GetEmHeight(style_); }

  Gdiplus::FontFamily requested_;
  INT style_;
  const Gdiplus::FontFamily* family_ = nullptr;
  std::optional<Gdiplus::Font> font_;
};

class GdiDrawContext final : public ImageDrawContext {
 public:
  explicit GdiDrawContext(Image& target) : bitmap_(Wrap(target)), graphics_(&bitmap_) {
    graphics_.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    // Pixel centres at half coordinates, as Cairo has them: whole-number rectangles cover whole pixels.
    graphics_.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    // Skin pixels are drawn 1:1; nearest keeps them crisp at fractional positions.
    graphics_.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics_.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    // Text laid out without GDI+'s extra margins, so widths are the advance of the glyphs.
    format_.SetFormatFlags(format_.GetFormatFlags() | Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                           Gdiplus::StringFormatFlagsNoWrap);
  }

  void fillRect(const CRect& rect, CColor color) override {
    const Gdiplus::SolidBrush brush(ColorOf(color));
    graphics_.FillRectangle(&brush, RectOf(rect));
  }

  void frameRect(const CRect& rect, CColor color, double lineWidth) override {
    // Four bands inside the rectangle: GDI+'s own rectangle strokes land a pixel off in places.
    const double w = lineWidth;
    fillRect({rect.left, rect.top, rect.right, rect.top + w}, color);
    fillRect({rect.left, rect.bottom - w, rect.right, rect.bottom}, color);
    fillRect({rect.left, rect.top + w, rect.left + w, rect.bottom - w}, color);
    fillRect({rect.right - w, rect.top + w, rect.right, rect.bottom - w}, color);
  }

  void drawImage(const Image& image, const CRect& dest, CPoint sourceOffset) override {
    if (image.empty() || dest.isEmpty()) return;
    Gdiplus::Bitmap source = Wrap(image);
    const Gdiplus::GraphicsState state = graphics_.Save();
    graphics_.IntersectClip(RectOf(dest));
    // Width and height given, so the bitmap's resolution never scales it.
    graphics_.DrawImage(&source, static_cast<REAL>(dest.left - sourceOffset.x),
                        static_cast<REAL>(dest.top - sourceOffset.y), static_cast<REAL>(image.width()),
                        static_cast<REAL>(image.height()));
    graphics_.Restore(state);
  }

  void drawText(std::string_view text, const CRect& rect, const CFont& font, CColor color,
                CHoriTxtAlign align) override {
    if (text.empty() || rect.isEmpty()) return;
    const std::wstring wide = gdi::Widen(std::string(text));
    const FontOf face(font);
    if (!face.usable()) return;
    const REAL advance = advanceOf(wide, face);
    REAL x = static_cast<REAL>(rect.left + 1.0);
    if (align == kCenterText) x = static_cast<REAL>(rect.left + (rect.width() - advance) / 2.0);
    if (align == kRightText) x = static_cast<REAL>(rect.right - 1.0 - advance);
    // The baseline sits where Cairo puts it: the line's ascent and descent centred in the rectangle.
    const REAL baseline = static_cast<REAL>(rect.top + (rect.height() + face.ascent() - face.descent()) / 2.0);
    const Gdiplus::GraphicsState state = graphics_.Save();
    graphics_.IntersectClip(RectOf(rect));
    const Gdiplus::SolidBrush brush(ColorOf(color));
    graphics_.DrawString(wide.c_str(), static_cast<INT>(wide.size()), &face.font(),
                         Gdiplus::PointF(x, baseline - face.ascent()), &format_, &brush);
    graphics_.Restore(state);
  }

  double textWidth(std::string_view text, const CFont& font) override {
    const FontOf face(font);
    return face.usable() ? advanceOf(gdi::Widen(std::string(text)), face) : 0.0;
  }

  size_t characterLength(std::string_view text) const override {
    // The ANSI code page: in a double-byte one a lead byte and the byte after it are one letter.
    return CodePageCharacterLength(text, [](unsigned char byte) { return ::IsDBCSLeadByte(byte) != 0; });
  }

  void save() override { states_.push_back(graphics_.Save()); }

  void restore() override {
    if (states_.empty()) return;
    graphics_.Restore(states_.back());
    states_.pop_back();
  }

  void translate(double dx, double dy) override {
    graphics_.TranslateTransform(static_cast<REAL>(dx), static_cast<REAL>(dy));
  }

  void clip(const CRect& rect) override { graphics_.IntersectClip(RectOf(rect)); }

  void flush() override { graphics_.Flush(Gdiplus::FlushIntentionSync); }

 private:
  REAL advanceOf(const std::wstring& text, const FontOf& face) {
    if (text.empty()) return 0;
    Gdiplus::RectF bounds;
    graphics_.MeasureString(text.c_str(), static_cast<INT>(text.size()), &face.font(), Gdiplus::PointF(0, 0), &format_,
                            &bounds);
    return bounds.Width;
  }

  Gdiplus::Bitmap bitmap_;
  Gdiplus::Graphics graphics_;
  Gdiplus::StringFormat format_{Gdiplus::StringFormat::GenericTypographic()};
  std::vector<Gdiplus::GraphicsState> states_;
};

}  // namespace

std::unique_ptr<ImageDrawContext> CreateImageDrawContext(Image& target) {
  gdi::StartGdiPlus();
  return std::make_unique<GdiDrawContext>(target);
}

}  // namespace toolkit
