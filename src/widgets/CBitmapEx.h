// A skin bitmap: a file of the same name in the skin folder wins over the built-in resource.
// It remembers the image as loaded and can replace its pixels by a copy scaled from it.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/CBitmap.h"

namespace widgets {

class CBitmapEx : public toolkit::CBitmap {
 public:
  CBitmapEx(int32_t resourceId, const std::string& filePath);

  // Back to the image as loaded; the scaled copy goes.
  void restoreToOriginal();
  // Replaces the pixels by the original scaled to factor (1.0 is the designed size); only from
  // the original, otherwise an error message and no change.
  void resize(float factor);
  bool isOriginal() const { return handle() == original_; }
  // No skin file replaced the built-in image.
  bool isBuiltIn() const { return builtIn_; }

  // A dimension scaled by a single-precision factor: exact product, truncated toward zero.
  static uint16_t scaledLength(float factor, double length);

 private:
  toolkit::ImageHandle original_;
  bool builtIn_ = true;
};

}  // namespace widgets
