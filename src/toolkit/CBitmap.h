// A reference-counted bitmap: the image a view draws, with its size as coordinates.
#pragma once

#include <cstdint>

#include "toolkit/CBaseObject.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/Image.h"

namespace toolkit {

class CBitmap : public CBaseObject {
 public:
  // The built-in bitmap of that resource number (no pixels when there is none).
  explicit CBitmap(int32_t resourceId);
  explicit CBitmap(ImageHandle image);

  double getWidth() const { return width_; }
  double getHeight() const { return height_; }
  bool isLoaded() const { return handle_ != nullptr; }
  const ImageHandle& handle() const { return handle_; }

  // Draws the part of the bitmap that starts at offset, unscaled, into rect.
  void draw(CDrawContext& context, const CRect& rect, CPoint offset = {}) const;

 protected:
  // Makes the image current and takes the size from it (0 x 0 without one).
  void setHandle(ImageHandle image);
  // Lets go of the current image; the bitmap then has no pixels.

 private:
  ImageHandle handle_;
  double width_ = 0.0;
  double height_ = 0.0;
};

}  // namespace toolkit
