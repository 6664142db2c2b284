// The built-in skin: a bitmap for every resource number, and art that tells a knob's positions
// and a button's states apart.
#include <gtest/gtest.h>

#include "editor/BuiltInSkin.h"
#include "toolkit/Resources.h"
#include "widgets/CBitmapEx.h"

namespace editor {
namespace {

TEST(BuiltInSkin, EveryResourceNumberHoldsAnOpaqueBitmapAtTheSizeSkinFilesAreDrawnTo) {
  InstallBuiltInSkin();
  for (int32_t id = 101; id <= 165; ++id) {
    if (BuiltInResource(id).empty()) continue;
    auto* bitmap = new widgets::CBitmapEx(id, "/nonexistent/DrumSkins/any.bmp");
    ASSERT_TRUE(bitmap->isLoaded()) << id;
    EXPECT_EQ(toolkit::Image::alpha(bitmap->handle()->pixel(0, 0)), 255) << id;
    bitmap->forget();
  }
  EXPECT_EQ(toolkit::LoadResourceImage(101)->width(), 1206);
  EXPECT_EQ(toolkit::LoadResourceImage(102)->height(), 127 * 30);
  EXPECT_TRUE(BuiltInResource(100).empty());
}

TEST(BuiltInSkin, TheKnobStripChangesFromFrameToFrameAndEveryButtonFromOffToOn) {
  InstallBuiltInSkin();
  // How many pixels of the image differ between two frames of a strip.
  const auto differing = [](const toolkit::Image& image, int height, int first, int second) {
    int count = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < image.width(); ++x)
        count += image.pixel(x, first * height + y) != image.pixel(x, second * height + y);
    return count;
  };
  const auto strip = toolkit::LoadResourceImage(102);
  int differingFrames = 0;
  for (int frame = 1; frame < 127; ++frame) differingFrames += differing(*strip, 30, frame - 1, frame) > 0 ? 1 : 0;
  EXPECT_GE(differingFrames, 120);
  for (int32_t id : {113, 148, 108, 118, 114, 153, 154, 131, 132, 110, 147, 149, 133, 109, 112, 134, 119, 158}) {
    const auto image = toolkit::LoadResourceImage(id);
    EXPECT_GT(differing(*image, image->height() / 2, 0, 1), image->width() * image->height() / 8) << id;
  }
}

}  // namespace
}  // namespace editor
