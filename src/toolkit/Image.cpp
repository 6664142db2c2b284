#include "toolkit/Image.h"

namespace toolkit {

Image::Image(int width, int height)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0u) {}

}  // namespace toolkit
