// The drawing interface on Cairo, drawing into our own image (an offscreen surface). Windows
// copy their dirty parts from such an image to the screen.
#pragma once

#include "toolkit/ImageDrawContext.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace toolkit {

class CairoDrawContext final : public ImageDrawContext {
 public:
  // Draws into the image's pixels; the image must outlive the context.
  explicit CairoDrawContext(Image& target);
  ~CairoDrawContext() override;
  CairoDrawContext(const CairoDrawContext&) = delete;
  CairoDrawContext& operator=(const CairoDrawContext&) = delete;

  void fillRect(const CRect& rect, CColor color) override;
  void frameRect(const CRect& rect, CColor color, double lineWidth) override;
  void drawImage(const Image& image, const CRect& dest, CPoint sourceOffset) override;
  void drawText(std::string_view text, const CRect& rect, const CFont& font, CColor color,
                CHoriTxtAlign align) override;
  double textWidth(std::string_view text, const CFont& font) override;
  size_t characterLength(std::string_view text) const override;
  void save() override;
  void restore() override;
  void translate(double dx, double dy) override;
  void clip(const CRect& rect) override;

  void flush() override;

 private:
  void selectFont(const CFont& font);

  cairo_surface_t* surface_;
  cairo_t* cairo_;
};

}  // namespace toolkit
