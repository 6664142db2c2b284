// How a pop-up list of menu entries looks and where its entries lie, drawn by the X11 backend
// (Windows shows its own menus).
#pragma once

#include <string>
#include <vector>

#include "toolkit/Geometry.h"
#include "toolkit/Image.h"

namespace toolkit {

class PopupListLook {
 public:
  static constexpr double kEntryHeight = 18.0;

  explicit PopupListLook(std::vector<std::string> entries);

  int width() const { return width_; }
  int height() const { return static_cast<int>(kEntryHeight * static_cast<double>(entries_.size())) + 2; }
  // The entry under a point in the list's own coordinates, -1 for none.
  int entryAt(CPoint point) const;
  // Draws the list with one entry highlighted (-1 for none) into an image of the list's size.
  void render(Image& image, int highlighted) const;

 private:
  std::vector<std::string> entries_;
  int width_ = 0;
};

}  // namespace toolkit
