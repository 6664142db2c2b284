// The small drawing interface every view draws through.
#pragma once

#include <cstddef>
#include <string_view>

#include "toolkit/CFont.h"
#include "toolkit/Geometry.h"
#include "toolkit/Image.h"

namespace toolkit {

class CDrawContext {
 public:
  virtual ~CDrawContext() = default;

  virtual void fillRect(const CRect& rect, CColor color) = 0;
  // A frame of the given width drawn inside the rectangle.
  virtual void frameRect(const CRect& rect, CColor color, double lineWidth = 1.0) = 0;
  // Draws the part of the image that starts at source offset, unscaled, into the rectangle.
  virtual void drawImage(const Image& image, const CRect& dest, CPoint sourceOffset) = 0;
  virtual void drawText(std::string_view text, const CRect& rect, const CFont& font, CColor color,
                        CHoriTxtAlign align) = 0;
  virtual double textWidth(std::string_view text, const CFont& font) = 0;
  // The bytes of the character that starts the text in the encoding this context draws
  // (TextCharacters.h); at least 1 for a text that is not empty.
  virtual size_t characterLength(std::string_view text) const = 0;

  // save and restore bracket translate and clip.
  virtual void save() = 0;
  virtual void restore() = 0;
  virtual void translate(double dx, double dy) = 0;
  // Narrows the drawing area to the rectangle (in the current coordinates).
  virtual void clip(const CRect& rect) = 0;
};

}  // namespace toolkit
