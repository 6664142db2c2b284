// Skin bitmaps: scaling by area averaging, and bitmaps read from the skin folder.
#include <gtest/gtest.h>

#include <vector>

#include "support/BmpFile.h"
#include "support/MessageCapture.h"
#include "support/TempFolder.h"
#include "toolkit/Image.h"
#include "widgets/BitmapScaler.h"
#include "widgets/CBitmapEx.h"

namespace widgets {
namespace {

using toolkit::Image;
using Greys = std::vector<int>;

// An image of grey levels, `width` of them in a row.
Image GreyImage(const Greys& levels, int width) {
  Image image(width, static_cast<int>(levels.size()) / width);
  for (size_t i = 0; i < levels.size(); ++i) {
    const auto level = static_cast<uint8_t>(levels[i]);
    image.setPixel(static_cast<int>(i) % width, static_cast<int>(i) / width, Image::opaque(level, level, level));
  }
  return image;
}

Greys GreysOf(const toolkit::ImageHandle& image) {
  Greys levels;
  for (int y = 0; image && y < image->height(); ++y) {
    for (int x = 0; x < image->width(); ++x) {
      EXPECT_EQ(image->pixel(x, y), Image::opaque(Image::red(image->pixel(x, y)), Image::red(image->pixel(x, y)),
                                                  Image::red(image->pixel(x, y))));
      levels.push_back(Image::red(image->pixel(x, y)));
    }
  }
  return levels;
}

TEST(BuildWeights, EveryShrinkTableEndsItsLastCellExactlyAndTruncatesTheFullWeight) {
  for (int n = 1; n <= 40; ++n) {
    for (int m = 1; m <= n; ++m) {
      for (bool normalise : {true, false})
        ASSERT_EQ(BuildWeights(n, m, normalise).back().w1, kCellEnd) << n << " to " << m;
      int cellsEnded = 0;
      for (const auto& entry : BuildWeights(n, m, true)) cellsEnded += entry.w1 != 0 ? 1 : 0;
      EXPECT_EQ(cellsEnded, m);
    }
  }
}

TEST(ScaleBitmap, ShrinksByAreaAveragingWithTruncationAndEnlargesByBlendingOnlyStraddlingPixels) {
  const struct {
    const char* what;
    Greys levels;
    int width;
    uint16_t toWidth;
    uint16_t toHeight;
    Greys expected;
  } cases[] = {
      {"same size", {0, 100, 200, 250, 7, 9}, 3, 3, 2, {0, 100, 200, 250, 7, 9}},
      {"a row halved", {0, 100, 200, 250}, 4, 2, 1, {50, 225}},
      {"white to two thirds", {255, 255, 255}, 3, 2, 1, {254, 254}},
      {"a column halved", {0, 100, 200, 250}, 1, 1, 2, {50, 225}},
      {"a block to one pixel", {0, 100, 200, 100}, 2, 1, 1, {100}},
      {"a row doubled", {0, 200}, 2, 4, 1, {0, 0, 200, 200}},
      {"a row to three halves", {0, 200}, 2, 3, 1, {0, 100, 200}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GreysOf(ScaleBitmap(GreyImage(c.levels, c.width), c.toWidth, c.toHeight)), c.expected) << c.what;
  }
  // Growing one axis while shrinking the other is refused, and so is a size below one pixel.
  const Image image(4, 4);
  EXPECT_FALSE(ScaleBitmap(image, 5, 3));
  EXPECT_FALSE(ScaleBitmap(image, 3, 5));
  EXPECT_TRUE(ScaleBitmap(image, 4, 6));
  EXPECT_FALSE(ScaleBitmap(Image(3, 1), 1, 0));
}

TEST(SkinFolder, AFileReplacesTheBuiltInImageAndScalesFromItsOriginalOnly) {
  testhost::TempFolder folder;
  testhost::MessageCapture messages;
  folder.write("strip.bmp", testhost::BmpBytes(30, 20, {200, 100, 50}));
  auto* bitmap = new CBitmapEx(113, folder.file("strip.bmp"));
  EXPECT_EQ(bitmap->getWidth(), 30);
  EXPECT_EQ(bitmap->handle()->pixel(29, 19), Image::opaque(200, 100, 50));
  bitmap->resize(0.7f);
  EXPECT_EQ(bitmap->getHeight(), 13);
  EXPECT_EQ(bitmap->getWidth(), 20);  // 0.699999988 x 30 = 20.9999996
  EXPECT_FALSE(bitmap->isOriginal());
  // A scaled copy is not scaled again.
  bitmap->resize(0.8f);
  EXPECT_EQ(bitmap->getWidth(), 20);
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text,
            "Other bitmaps than original can't be resized. Call restoreToOriginal() first.");
  bitmap->restoreToOriginal();
  EXPECT_TRUE(bitmap->isOriginal());
  bitmap->resize(0.9f);
  EXPECT_EQ(bitmap->getHeight(), 17);
  // Area averaging truncates: at most one level darker than the exact colour.
  EXPECT_NEAR(Image::red(bitmap->handle()->pixel(0, 0)), 200, 1);
  EXPECT_NEAR(Image::blue(bitmap->handle()->pixel(20, 16)), 50, 1);
  bitmap->forget();
}

TEST(SkinFolder, AFileThatIsNoReadableBitmapIsReportedOnceAndTheBuiltInImageStays) {
  testhost::TempFolder folder;
  folder.write("broken.bmp", "not a bitmap");
  auto truncated = testhost::BmpBytes(4, 4, {9, 9, 9});
  truncated.resize(60);
  folder.write("short.bmp", truncated);
  testhost::MessageCapture messages;
  auto* builtIn = new CBitmapEx(999999, folder.file("missing.bmp"));
  EXPECT_FALSE(builtIn->isLoaded());
  builtIn->resize(0.6f);
  builtIn->restoreToOriginal();
  EXPECT_TRUE(messages.messages().empty()) << "a bitmap without pixels ignores resizing";
  for (const char* file : {"broken.bmp", "short.bmp", "broken.bmp"}) {
    auto* fromFile = new CBitmapEx(999999, folder.file(file));
    EXPECT_EQ(fromFile->handle(), builtIn->handle()) << file;
    fromFile->forget();
  }
  // A second bitmap from the same file is not told again.
  ASSERT_EQ(messages.count("Warning"), 2u);
  EXPECT_NE(messages.messages()[0].text.find("broken.bmp"), std::string::npos);
  builtIn->forget();
}

}  // namespace
}  // namespace widgets
