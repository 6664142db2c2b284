// The built-in skin: a bitmap for every resource number at the size skin files are drawn to,
// and art that tells a knob's positions and a button's states apart.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "editor/BuiltInSkin.h"
#include "toolkit/Resources.h"
#include "widgets/CBitmapEx.h"

namespace editor {
namespace {

struct Size {
  int width;
  int height;
};

// Every built-in bitmap by resource number, at its designed size.
std::map<int32_t, Size> DesignedSizes() {
  std::map<int32_t, Size> sizes = {
      {101, {1206, 616}}, {150, {53, 10}},  {113, {26, 42}},  {148, {26, 42}},  {108, {21, 36}},
      {118, {11, 20}},    {114, {11, 20}},  {153, {11, 22}},  {102, {30, 3810}}, {154, {45, 36}},
      {131, {52, 38}},    {132, {52, 38}},  {110, {51, 22}},  {147, {52, 80}},  {149, {52, 80}},
      {155, {52, 76}},    {157, {52, 76}},  {133, {52, 80}},  {109, {52, 80}},  {112, {52, 80}},
      {103, {23, 15}},    {104, {23, 15}},  {105, {23, 15}},
  };
  for (int32_t id = 134; id <= 145; ++id) sizes[id] = {52, 38};
  for (int32_t id = 119; id <= 130; ++id) sizes[id] = {52, 38};
  for (int32_t id = 158; id <= 165; ++id) sizes[id] = {36, 26};
  return sizes;
}

TEST(BuiltInSkin, EveryResourceNumberHoldsAnOpaqueBitmapOfItsDesignedSize) {
  InstallBuiltInSkin();
  for (const auto& [id, size] : DesignedSizes()) {
    auto* bitmap = new widgets::CBitmapEx(id, "/nonexistent/DrumSkins/any.bmp");
    ASSERT_TRUE(bitmap->isLoaded()) << id;
    EXPECT_EQ(bitmap->getWidth(), size.width) << id;
    EXPECT_EQ(bitmap->getHeight(), size.height) << id;
    EXPECT_EQ(toolkit::Image::alpha(bitmap->handle()->pixel(0, 0)), 255) << id;
    bitmap->forget();
  }
  // The browser's up button and toolbar: two frames, and the width of the panel.
  EXPECT_EQ(toolkit::LoadResourceImage(106)->height() % 2, 0);
  EXPECT_EQ(toolkit::LoadResourceImage(152)->width(), 752);
  EXPECT_EQ(toolkit::LoadResourceImage(152)->height(), 20);
  EXPECT_TRUE(BuiltInResource(100).empty());
}

TEST(BuiltInSkin, TheKnobStripChangesFromFrameToFrameAndEveryButtonFromOffToOn) {
  InstallBuiltInSkin();
  const auto strip = toolkit::LoadResourceImage(102);
  int differingFrames = 0;
  for (int frame = 1; frame < 127; ++frame) {
    bool differs = false;
    for (int y = 0; y < 30 && !differs; ++y)
      for (int x = 0; x < 30 && !differs; ++x) differs = strip->pixel(x, frame * 30 + y) != strip->pixel(x, (frame - 1) * 30 + y);
    differingFrames += differs ? 1 : 0;
  }
  EXPECT_GE(differingFrames, 120);

  for (int32_t id : {113, 148, 108, 118, 114, 153, 154, 131, 132, 110, 147, 149, 133, 109, 112, 134, 119, 158}) {
    const auto image = toolkit::LoadResourceImage(id);
    const int half = image->height() / 2;
    int changed = 0;
    for (int y = 0; y < half; ++y)
      for (int x = 0; x < image->width(); ++x) changed += image->pixel(x, y) != image->pixel(x, y + half) ? 1 : 0;
    EXPECT_GT(changed, image->width() * half / 4) << id;
  }
}

}  // namespace
}  // namespace editor
