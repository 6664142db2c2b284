// A drawing context that draws into one of our images, made by the platform's drawing backend
// (Cairo on Linux, GDI+ on Windows).
#pragma once

#include <memory>

#include "toolkit/CDrawContext.h"

namespace toolkit {

class ImageDrawContext : public CDrawContext {
 public:
  // Makes sure every drawing operation has reached the image's pixels.
  virtual void flush() = 0;
};

// Draws into the image's pixels; the image must outlive the context.
std::unique_ptr<ImageDrawContext> CreateImageDrawContext(Image& target);

}  // namespace toolkit
