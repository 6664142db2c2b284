// The drawing backend of this platform (Cairo or GDI+), drawing into our own images: both must
// put the same pixels where the views expect them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/ImageDrawContext.h"
#include "toolkit/TextCharacters.h"

namespace toolkit {
namespace {

constexpr uint32_t kBlack = Image::opaque(0, 0, 0);

Image Filled(int width, int height, uint32_t argb) {
  Image image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, argb);
  return image;
}

// The pixels that differ from the background, as a bounding rectangle (empty when none).
CRect Touched(const Image& image, uint32_t background) {
  CRect touched;
  bool any = false;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == background) continue;
      const CRect pixel{static_cast<double>(x), static_cast<double>(y), x + 1.0, y + 1.0};
      touched = any ? touched.united(pixel) : pixel;
      any = true;
    }
  }
  return touched;
}

TEST(DrawContext, WholePixelRectanglesCoverExactlyTheirPixels) {
  Image image(8, 8);
  {
    const auto context = CreateImageDrawContext(image);
    context->fillRect({2.0, 2.0, 6.0, 5.0}, CColor{10, 20, 30, 255});
    context->frameRect({0.0, 0.0, 8.0, 8.0}, kWhiteCColor, 1.0);
    context->flush();
  }
  EXPECT_EQ(Touched(image, 0u), (CRect{0.0, 0.0, 8.0, 8.0}));
  EXPECT_EQ(image.pixel(2, 2), Image::opaque(10, 20, 30));
  EXPECT_EQ(image.pixel(5, 4), Image::opaque(10, 20, 30));
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{1, 2}, {6, 2}, {2, 5}, {2, 1}, {1, 1}, {6, 6}}) {
    EXPECT_EQ(image.pixel(x, y), 0u) << x << "," << y;
  }
  EXPECT_EQ(image.pixel(0, 3), Image::opaque(255, 255, 255));
  EXPECT_EQ(image.pixel(7, 7), Image::opaque(255, 255, 255));
}

TEST(DrawContext, ImagesAreCopiedOneToOneFromTheirOffsetAndBlendOverWhatIsThere) {
  Image source(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      source.setPixel(x, y, Image::opaque(static_cast<uint8_t>(50 * x), static_cast<uint8_t>(50 * y), 7));
  source.setPixel(3, 3, 0x80808080u);  // white at half coverage, premultiplied
  Image image = Filled(8, 8, kBlack);
  {
    const auto context = CreateImageDrawContext(image);
    context->drawImage(source, {1.0, 1.0, 3.0, 4.0}, {2.0, 1.0});
    context->flush();
  }
  EXPECT_EQ(image.pixel(1, 1), source.pixel(2, 1));
  EXPECT_EQ(image.pixel(2, 2), source.pixel(3, 2));
  EXPECT_EQ(image.pixel(1, 3), source.pixel(2, 3));
  EXPECT_NEAR(Image::red(image.pixel(2, 3)), 128, 2);
  EXPECT_EQ(Image::alpha(image.pixel(2, 3)), 255);
  EXPECT_EQ(Touched(image, kBlack), (CRect{1.0, 1.0, 3.0, 4.0}));
}

TEST(DrawContext, TextStaysInsideItsRectangleAndTextThatIsNoValidUtf8IsDrawnAndDrawingGoesOn) {
  Image image = Filled(100, 40, kBlack);
  const auto context = CreateImageDrawContext(image);
  const CFont font = ArialFont(14.0);
  const double one = context->textWidth("W", font);
  EXPECT_GT(one, 4.0);
  EXPECT_GT(context->textWidth("WW", font), 1.5 * one);
  EXPECT_DOUBLE_EQ(context->textWidth("", font), 0.0);
  EXPECT_GT(context->textWidth("\xE9t\xE9", font), 0.0);

  const CRect box{10.0, 10.0, 40.0, 30.0};
  context->drawText("Kick drum that is far too long", box, font, kWhiteCColor, kLeftText);
  context->flush();
  const CRect touched = Touched(image, kBlack);
  EXPECT_FALSE(touched.isEmpty());
  EXPECT_EQ(touched.intersection(box), touched) << "text outside its rectangle";
  context->drawText("a\xFF\xC3", {50.0, 0.0, 100.0, 10.0}, font, kWhiteCColor, kLeftText);
  context->fillRect({50.0, 25.0, 60.0, 35.0}, kWhiteCColor);
  context->flush();
  EXPECT_LT(Touched(image, kBlack).top, 10.0) << "no text drawn";
  EXPECT_EQ(image.pixel(55, 30), Image::opaque(255, 255, 255));
}

TEST(TextCharacters, CharactersOfUtf8AndOfDoubleByteCodePages) {
  // Bytes of the first character of UTF-8; 0 where none starts.
  for (const auto& [text, length] :
       std::vector<std::pair<std::string_view, size_t>>{{"", 0},
                                                        {"a\xC3", 1},
                                                        {"\xC3\xA9t", 2},
                                                        {"\xE2\x82\xAC", 3},
                                                        {"\xF0\x9F\x8E\xB5", 4},
                                                        {"\xC3", 0},
                                                        {"\xA9", 0},
                                                        {"\xFF", 0},
                                                        {"\xC0\xAF", 0},  // cut, stray, never, overlong
                                                        {"\xE0\x80\xAF", 0},
                                                        {"\xED\xA0\x80", 0},
                                                        {"\xF4\x90\x80\x80", 0},
                                                        {"\xE2\x82x", 0}}) {
    EXPECT_EQ(Utf8CharacterLength(text), length) << testing::PrintToString(std::string(text));
  }
  EXPECT_EQ(ValidUtf8("a\xFF\xC3\xA9\xC3"), "a\xEF\xBF\xBD\xC3\xA9\xEF\xBF\xBD");
  // Windows: the ANSI code page, where in Shift-JIS (932) a lead byte takes the next byte along.
  const auto shiftJisLead = [](unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || byte >= 0xE0; };
  for (const auto& [text, length] : std::vector<std::pair<std::string_view, size_t>>{
           {"", 0}, {"a\x82", 1}, {"\x82\xA0", 2}, {"\x82", 1}, {"\xA0\x82", 1}}) {
    EXPECT_EQ(CodePageCharacterLength(text, shiftJisLead), length) << testing::PrintToString(std::string(text));
  }
}

TEST(DrawContext, SaveAndRestoreBracketTranslationAndClipping) {
  Image image(8, 8);
  {
    const auto context = CreateImageDrawContext(image);
    context->save();
    context->translate(4.0, 4.0);
    context->clip({0.0, 0.0, 2.0, 2.0});
    context->fillRect({-4.0, -4.0, 4.0, 4.0}, CColor{255, 0, 0, 255});
    context->restore();
    context->fillRect({0.0, 0.0, 1.0, 1.0}, CColor{0, 255, 0, 255});
    context->flush();
  }
  EXPECT_EQ(Touched(image, 0u), (CRect{0.0, 0.0, 6.0, 6.0}));
  EXPECT_EQ(image.pixel(0, 0), Image::opaque(0, 255, 0));
  EXPECT_EQ(image.pixel(4, 4), Image::opaque(255, 0, 0));
  EXPECT_EQ(image.pixel(3, 4), 0u);
}

}  // namespace
}  // namespace toolkit
