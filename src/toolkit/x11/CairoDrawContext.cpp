#include "toolkit/x11/CairoDrawContext.h"

#include <cairo.h>

#include <algorithm>
#include <string>

#include "toolkit/TextCharacters.h"

namespace toolkit {
namespace {

void SetColor(cairo_t* cairo, CColor color) {
  cairo_set_source_rgba(cairo, color.red / 255.0, color.green / 255.0, color.blue / 255.0, color.alpha / 255.0);
}

cairo_surface_t* Wrap(const Image& image) {
  // Cairo reads these pixels only; the cast is for its C interface.
  auto* pixels = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image.data()));
  return cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_ARGB32, image.width(), image.height(),
                                             image.stride());
}

}  // namespace

CairoDrawContext::CairoDrawContext(Image& target) : surface_(Wrap(target)), cairo_(cairo_create(surface_)) {}

CairoDrawContext::~CairoDrawContext() {
  cairo_destroy(cairo_);
  cairo_surface_finish(surface_);
  cairo_surface_destroy(surface_);
}

void CairoDrawContext::fillRect(const CRect& rect, CColor color) {
  SetColor(cairo_, color);
  cairo_rectangle(cairo_, rect.left, rect.top, rect.width(), rect.height());
  cairo_fill(cairo_);
}

void CairoDrawContext::frameRect(const CRect& rect, CColor color, double lineWidth) {
  SetColor(cairo_, color);
  cairo_set_line_width(cairo_, lineWidth);
  const double inset = lineWidth / 2.0;
  cairo_rectangle(cairo_, rect.left + inset, rect.top + inset, rect.width() - lineWidth, rect.height() - lineWidth);
  cairo_stroke(cairo_);
}

void CairoDrawContext::drawImage(const Image& image, const CRect& dest, CPoint sourceOffset) {
  if (image.empty() || dest.isEmpty()) return;
  cairo_surface_t* source = Wrap(image);
  cairo_save(cairo_);
  cairo_rectangle(cairo_, dest.left, dest.top, dest.width(), dest.height());
  cairo_clip(cairo_);
  cairo_set_source_surface(cairo_, source, dest.left - sourceOffset.x, dest.top - sourceOffset.y);
  // Skin pixels are drawn 1:1; nearest keeps them crisp at fractional positions.
  cairo_pattern_set_filter(cairo_get_source(cairo_), CAIRO_FILTER_NEAREST);
  cairo_paint(cairo_);
  cairo_restore(cairo_);
  cairo_surface_destroy(source);
}

void CairoDrawContext::selectFont(const CFont& font) {
  cairo_select_font_face(cairo_, font.family.c_str(), CAIRO_FONT_SLANT_NORMAL,
                         font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo_, font.size);
}

void CairoDrawContext::drawText(std::string_view text, const CRect& rect, const CFont& font, CColor color,
                                CHoriTxtAlign align) {
  if (text.empty() || rect.isEmpty()) return;
  // Cairo takes only valid UTF-8; anything else would stop every later drawing on the surface.
  const std::string owned = ValidUtf8(text);
  selectFont(font);
  cairo_text_extents_t extents;
  cairo_text_extents(cairo_, owned.c_str(), &extents);
  cairo_font_extents_t fontExtents;
  cairo_font_extents(cairo_, &fontExtents);
  double x = rect.left + 1.0;
  if (align == kCenterText) x = rect.left + (rect.width() - extents.x_advance) / 2.0;
  if (align == kRightText) x = rect.right - 1.0 - extents.x_advance;
  const double baseline = rect.top + (rect.height() + fontExtents.ascent - fontExtents.descent) / 2.0;
  cairo_save(cairo_);
  cairo_rectangle(cairo_, rect.left, rect.top, rect.width(), rect.height());
  cairo_clip(cairo_);
  SetColor(cairo_, color);
  cairo_move_to(cairo_, x, baseline);
  cairo_show_text(cairo_, owned.c_str());
  cairo_restore(cairo_);
}

double CairoDrawContext::textWidth(std::string_view text, const CFont& font) {
  const std::string owned = ValidUtf8(text);
  selectFont(font);
  cairo_text_extents_t extents;
  cairo_text_extents(cairo_, owned.c_str(), &extents);
  return extents.x_advance;
}

size_t CairoDrawContext::characterLength(std::string_view text) const {
  // A byte that starts no valid character is shown as a character of its own.
  return text.empty() ? 0 : std::max<size_t>(Utf8CharacterLength(text), 1);
}

void CairoDrawContext::save() { cairo_save(cairo_); }
void CairoDrawContext::restore() { cairo_restore(cairo_); }
void CairoDrawContext::translate(double dx, double dy) { cairo_translate(cairo_, dx, dy); }

void CairoDrawContext::clip(const CRect& rect) {
  cairo_rectangle(cairo_, rect.left, rect.top, rect.width(), rect.height());
  cairo_clip(cairo_);
}

void CairoDrawContext::flush() { cairo_surface_flush(surface_); }

std::unique_ptr<ImageDrawContext> CreateImageDrawContext(Image& target) {
  return std::make_unique<CairoDrawContext>(target);
}

}  // namespace toolkit
