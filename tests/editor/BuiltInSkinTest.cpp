// The built-in skin: a bitmap for every resource number at the size skin files are drawn to,
// and art that tells a knob's positions and a button's states apart.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "editor/BuiltInSkin.h"
#include "toolkit/Resources.h"
#include "widgets/CBitmapEx.h"

namespace editor {
namespace {

TEST(BuiltInSkin, EveryResourceNumberHoldsAnOpaqueBitmapOfItsDesignedSize) {
  InstallBuiltInSkin();
  std::map<int32_t, std::pair<int, int>> sizes = {
      {101, {1206, 616}}, {150, {53, 10}}, {113, {26, 42}}, {148, {26, 42}}, {108, {21, 36}}, {118, {11, 20}},
      {114, {11, 20}},    {153, {11, 22}}, {102, {30, 3810}}, {154, {45, 36}}, {131, {52, 38}}, {132, {52, 38}},
      {110, {51, 22}},    {147, {52, 80}}, {149, {52, 80}}, {155, {52, 76}}, {157, {52, 76}}, {133, {52, 80}},
      {109, {52, 80}},    {112, {52, 80}}, {103, {23, 15}}, {104, {23, 15}}, {105, {23, 15}}};
  for (int32_t id = 119; id <= 145; ++id) sizes.try_emplace(id, 52, 38);
  for (int32_t id = 158; id <= 165; ++id) sizes[id] = {36, 26};
  for (const auto& [id, size] : sizes) {
    auto* bitmap = new widgets::CBitmapEx(id, "/nonexistent/DrumSkins/any.bmp");
    ASSERT_TRUE(bitmap->isLoaded()) << id;
    EXPECT_EQ(bitmap->getWidth(), size.first) << id;
    EXPECT_EQ(bitmap->getHeight(), size.second) << id;
    EXPECT_EQ(toolkit::Image::alpha(bitmap->handle()->pixel(0, 0)), 255) << id;
    bitmap->forget();
  }
  // The browser's up button and toolbar: two frames, and the width of the panel.
  EXPECT_EQ(toolkit::LoadResourceImage(106)->height() % 2, 0);
  EXPECT_EQ(toolkit::LoadResourceImage(152)->width(), 752);
  EXPECT_TRUE(BuiltInResource(100).empty());
}

TEST(BuiltInSkin, TheKnobStripChangesFromFrameToFrameAndEveryButtonFromOffToOn) {
  InstallBuiltInSkin();
  // How many pixels of the image differ between two frames of a strip.
  const auto differing = [](const toolkit::Image& image, int height, int first, int second) {
    int count = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < image.width(); ++x) count += image.pixel(x, first * height + y) != image.pixel(x, second * height + y);
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
