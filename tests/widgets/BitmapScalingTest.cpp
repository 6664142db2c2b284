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

Image GreyRow(const std::vector<uint8_t>& levels) {
  Image image(static_cast<int>(levels.size()), 1);
  for (size_t x = 0; x < levels.size(); ++x) image.setPixel(static_cast<int>(x), 0, Image::opaque(levels[x], levels[x], levels[x]));
  return image;
}

std::vector<int> GreysOf(const toolkit::ImageHandle& image) {
  std::vector<int> levels;
  for (int y = 0; y < image->height(); ++y) {
    for (int x = 0; x < image->width(); ++x) {
      const uint32_t pixel = image->pixel(x, y);
      EXPECT_EQ(Image::red(pixel), Image::blue(pixel));
      EXPECT_EQ(Image::alpha(pixel), 255);
      levels.push_back(Image::red(pixel));
    }
  }
  return levels;
}

TEST(BuildWeights, EveryShrinkTableEndsItsLastCellExactly) {
  for (int n = 1; n <= 40; ++n) {
    for (int m = 1; m <= n; ++m) {
      const auto normalised = BuildWeights(n, m, true);
      const auto plain = BuildWeights(n, m, false);
      ASSERT_EQ(normalised.back().w1, kCellEnd) << n << " to " << m;
      ASSERT_EQ(plain.back().w1, kCellEnd) << n << " to " << m;
      int cellsEnded = 0;
      for (const auto& entry : normalised) cellsEnded += entry.w1 != 0 ? 1 : 0;
      EXPECT_EQ(cellsEnded, m);
    }
  }
}

TEST(BuildWeights, ThreeToTwoTruncatesTheFullWeight) {
  const auto weights = BuildWeights(3, 2, true);
  ASSERT_EQ(weights.size(), 3u);
  EXPECT_EQ(weights[0].w0, 2730);
  EXPECT_EQ(weights[0].w1, 0);
  EXPECT_EQ(weights[1].w0, 1365);
  EXPECT_EQ(weights[1].w1, 1365);
  EXPECT_EQ(weights[2].w1, kCellEnd);
}

TEST(ScaleBitmap, SameSizeCopiesEveryPixelExactly) {
  Image image(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      image.setPixel(x, y, Image::opaque(static_cast<uint8_t>(x * 36), static_cast<uint8_t>(y * 60), 255 - x * y));
  const auto copy = ScaleBitmap(image, 7, 5);
  ASSERT_TRUE(copy);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(copy->pixel(x, y), image.pixel(x, y)) << x << "," << y;
}

TEST(ScaleBitmap, ShrinksByAreaAveragingWithTruncation) {
  EXPECT_EQ(GreysOf(ScaleBitmap(GreyRow({0, 100, 200, 250}), 2, 1)), (std::vector<int>{50, 225}));
  EXPECT_EQ(GreysOf(ScaleBitmap(GreyRow({255, 255, 255}), 2, 1)), (std::vector<int>{254, 254}));
}

TEST(ScaleBitmap, EnlargesByBlendingOnlyStraddlingPixels) {
  EXPECT_EQ(GreysOf(ScaleBitmap(GreyRow({0, 200}), 4, 1)), (std::vector<int>{0, 0, 200, 200}));
  EXPECT_EQ(GreysOf(ScaleBitmap(GreyRow({0, 200}), 3, 1)), (std::vector<int>{0, 100, 200}));
}

TEST(ScaleBitmap, ShrinksBothAxesOfAColumnAndABlock) {
  Image column(1, 4);
  const uint8_t levels[] = {0, 100, 200, 250};
  for (int y = 0; y < 4; ++y) column.setPixel(0, y, Image::opaque(levels[y], levels[y], levels[y]));
  EXPECT_EQ(GreysOf(ScaleBitmap(column, 1, 2)), (std::vector<int>{50, 225}));

  Image block(2, 2);
  block.setPixel(0, 0, Image::opaque(0, 0, 0));
  block.setPixel(1, 0, Image::opaque(100, 100, 100));
  block.setPixel(0, 1, Image::opaque(200, 200, 200));
  block.setPixel(1, 1, Image::opaque(100, 100, 100));
  EXPECT_EQ(GreysOf(ScaleBitmap(block, 1, 1)), (std::vector<int>{100}));
}

TEST(ScaleBitmap, RefusesToGrowOneAxisWhileShrinkingTheOther) {
  const Image image(4, 4);
  EXPECT_FALSE(ScaleBitmap(image, 5, 3));
  EXPECT_FALSE(ScaleBitmap(image, 3, 5));
  EXPECT_TRUE(ScaleBitmap(image, 4, 6));
  // A bitmap scaled below one pixel has no pixels rather than an image of no size.
  EXPECT_FALSE(ScaleBitmap(Image(1, 1), 0, 0));
  EXPECT_FALSE(ScaleBitmap(Image(3, 1), 1, 0));
}

TEST(ScaleBitmap, RowBuffersArePaddedToFourBytes) {
  EXPECT_EQ(RowBuffer::rowSizeFor(1), 4u);
  EXPECT_EQ(RowBuffer::rowSizeFor(5), 16u);
  const RowBuffer rows(5, 3);
  EXPECT_EQ(rows.info.size, 40u);
  EXPECT_EQ(rows.info.bitCount, 24);
  EXPECT_EQ(rows.info.sizeImage, 48u);
}

TEST(ScaledLength, TruncatesTheExactProductOfTheSinglePrecisionFactor) {
  EXPECT_EQ(CBitmapEx::scaledLength(0.7f, 1000), 699);
  EXPECT_EQ(CBitmapEx::scaledLength(0.7f, 20), 13);
  EXPECT_EQ(CBitmapEx::scaledLength(0.9f, 20), 17);
  const float factors[] = {1.0f, 0.9f, 0.8f, 0.75f, 0.7f, 0.65f, 0.6f};
  const int widths[] = {1206, 1085, 964, 904, 844, 783, 723};
  const int heights[] = {616, 554, 492, 462, 431, 400, 369};
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(CBitmapEx::scaledLength(factors[i], 1206), widths[i]);
    EXPECT_EQ(CBitmapEx::scaledLength(factors[i], 616), heights[i]);
  }
}

class SkinFolder : public ::testing::Test {
 protected:
  testhost::TempFolder folder;
};

TEST_F(SkinFolder, AFileOfTheSameNameReplacesTheBuiltInImage) {
  folder.write("btnMute.bmp", testhost::BmpBytes(40, 100, {10, 20, 30}));
  auto* bitmap = new CBitmapEx(113, folder.file("btnMute.bmp"));
  EXPECT_EQ(bitmap->getWidth(), 40);
  EXPECT_EQ(bitmap->getHeight(), 100);
  EXPECT_EQ(bitmap->handle()->pixel(39, 99), Image::opaque(10, 20, 30));
  bitmap->forget();
}

TEST_F(SkinFolder, ResizeScalesFromTheOriginalAndRestoreBringsItBack) {
  folder.write("strip.bmp", testhost::BmpBytes(30, 20, {200, 100, 50}));
  auto* bitmap = new CBitmapEx(0, folder.file("strip.bmp"));
  bitmap->Resize(0.7f);
  EXPECT_EQ(bitmap->getHeight(), 13);
  EXPECT_EQ(bitmap->getWidth(), 20);  // 0.699999988 x 30 = 20.9999996
  EXPECT_FALSE(bitmap->isOriginal());
  bitmap->RestoreToOriginal();
  EXPECT_TRUE(bitmap->isOriginal());
  EXPECT_EQ(bitmap->getHeight(), 20);
  bitmap->Resize(0.9f);
  EXPECT_EQ(bitmap->getHeight(), 17);
  // Area averaging truncates: at most one level darker than the exact colour.
  EXPECT_NEAR(Image::red(bitmap->handle()->pixel(0, 0)), 200, 1);
  EXPECT_NEAR(Image::blue(bitmap->handle()->pixel(20, 16)), 50, 1);
  bitmap->forget();
}

TEST_F(SkinFolder, ResizingAScaledCopyIsRefusedWithTheErrorMessage) {
  folder.write("knob.bmp", testhost::BmpBytes(10, 10, {1, 2, 3}));
  testhost::MessageCapture messages;
  auto* bitmap = new CBitmapEx(0, folder.file("knob.bmp"));
  bitmap->Resize(0.6f);
  bitmap->Resize(0.8f);
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].caption, "Error");
  EXPECT_EQ(messages.messages()[0].text,
            "Other bitmaps than original can't be resized. Call RestoreToOriginal() first.");
  EXPECT_EQ(bitmap->getWidth(), 6);
  bitmap->forget();
}

TEST_F(SkinFolder, AFileThatIsNoBitmapIsReportedAndTheBuiltInImageStays) {
  folder.write("broken.bmp", "not a bitmap");
  testhost::MessageCapture messages;
  auto* builtIn = new CBitmapEx(999999, folder.file("missing.bmp"));
  auto* fromBrokenFile = new CBitmapEx(999999, folder.file("broken.bmp"));
  EXPECT_EQ(fromBrokenFile->handle(), builtIn->handle());
  ASSERT_EQ(messages.count("Warning"), 1u);
  EXPECT_NE(messages.messages()[0].text.find("broken.bmp"), std::string::npos);
  // A second bitmap from the same file is not told again.
  auto* again = new CBitmapEx(999999, folder.file("broken.bmp"));
  EXPECT_EQ(messages.messages().size(), 1u);
  again->forget();
  fromBrokenFile->forget();
  builtIn->forget();
}

TEST_F(SkinFolder, ABitmapWithoutPixelsIgnoresResizeAndRestore) {
  testhost::MessageCapture messages;
  auto* bitmap = new CBitmapEx(999998, folder.file("missing.bmp"));
  EXPECT_FALSE(bitmap->isLoaded());
  bitmap->Resize(0.6f);
  bitmap->RestoreToOriginal();
  bitmap->Resize(0.6f);
  EXPECT_FALSE(bitmap->isLoaded());
  EXPECT_TRUE(messages.messages().empty());
  bitmap->forget();
}

TEST_F(SkinFolder, ARefusedBmpKindIsNotRead) {
  auto bytes = testhost::BmpBytes(4, 4, {9, 9, 9});
  bytes[30] = 1;  // run-length compressed
  folder.write("rle.bmp", bytes);
  auto truncated = testhost::BmpBytes(4, 4, {9, 9, 9});
  truncated.resize(60);
  folder.write("short.bmp", truncated);
  testhost::MessageCapture messages;
  auto* rle = new CBitmapEx(999997, folder.file("rle.bmp"));
  auto* shortFile = new CBitmapEx(999997, folder.file("short.bmp"));
  EXPECT_FALSE(rle->isLoaded());
  EXPECT_FALSE(shortFile->isLoaded());
  EXPECT_EQ(messages.count("Warning"), 2u);
  rle->forget();
  shortFile->forget();
}

}  // namespace
}  // namespace widgets
