// Skin image files (BMP and PNG decoding, the size limits checked before decoding, images
// decoded when first drawn) and the drawing backend of this platform (Cairo or GDI+) drawing
// into our own images: both backends must put the same pixels where the views expect them.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/TempFolder.h"
#include "toolkit/ImageDrawContext.h"
#include "toolkit/ImageFiles.h"
#include "toolkit/TextCharacters.h"

namespace toolkit {
namespace {

// A 2 x 2 BMP with the given header details; pixels are (row, column)-coded.
std::vector<uint8_t> Bmp(int bits, int32_t height, uint32_t compression, uint32_t headerSize = 40,
                         bool alphaMask = false) {
  const int width = 2;
  const int bytesPerPixel = bits / 8;
  const int rowSize = (width * bytesPerPixel + 3) & ~3;
  const int rows = height < 0 ? -height : height;
  const size_t masks = compression == 3 && headerSize == 40 ? 12 : 0;
  const size_t offset = 14 + headerSize + masks;
  std::vector<uint8_t> bytes(offset + static_cast<size_t>(rowSize * rows), 0);
  auto put32 = [&](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(10, static_cast<uint32_t>(offset));
  put32(14, headerSize);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = static_cast<uint8_t>(bits);
  put32(30, compression);
  if (compression == 3) {
    put32(54, 0x00FF0000u);
    put32(58, 0x0000FF00u);
    put32(62, 0x000000FFu);
    if (headerSize >= 56) put32(66, alphaMask ? 0xFF000000u : 0u);
  }
  for (int stored = 0; stored < rows; ++stored) {
    for (int x = 0; x < width; ++x) {
      uint8_t* pixel = &bytes[offset + static_cast<size_t>(stored * rowSize + x * bytesPerPixel)];
      pixel[0] = static_cast<uint8_t>(10 * stored + x);  // blue
      pixel[1] = 100;
      if (bytesPerPixel >= 3) pixel[2] = 200;
      if (bytesPerPixel == 4) pixel[3] = 128;
    }
  }
  return bytes;
}

TEST(DecodeBmp, ReadsRowsOf24And32BitsHonoursAnAlphaMaskAndRefusesWhatItCannotReadSafely) {
  const auto bottomUp = DecodeBmp(Bmp(24, 2, 0));
  ASSERT_TRUE(bottomUp);
  EXPECT_EQ(bottomUp->pixel(1, 0), Image::opaque(200, 100, 11));
  EXPECT_EQ(bottomUp->pixel(0, 1), Image::opaque(200, 100, 0));
  EXPECT_EQ(DecodeBmp(Bmp(24, -2, 0))->pixel(1, 0), Image::opaque(200, 100, 1));
  // Plain 32-bit pixels are opaque whatever their fourth byte says.
  EXPECT_EQ(DecodeBmp(Bmp(32, 2, 0))->pixel(0, 1), Image::opaque(200, 100, 0));
  // A mask gives the fourth byte its meaning; colours are premultiplied.
  const auto withAlpha = DecodeBmp(Bmp(32, 2, 3, 108, true));
  ASSERT_TRUE(withAlpha);
  EXPECT_EQ(Image::alpha(withAlpha->pixel(0, 0)), 128);
  EXPECT_EQ(Image::red(withAlpha->pixel(0, 0)), 100);
  EXPECT_EQ(Image::alpha(DecodeBmp(Bmp(32, 2, 3))->pixel(0, 0)), 255) << "masks after the header";

  EXPECT_FALSE(DecodeBmp(Bmp(16, 2, 0)));
  EXPECT_FALSE(DecodeBmp(Bmp(24, 2, 1)));
  auto huge = Bmp(24, 2, 0);
  std::fill(huge.begin() + 22, huge.begin() + 26, 0x7F);  // the height
  EXPECT_FALSE(DecodeBmp(huge));
  auto truncated = Bmp(24, 2, 0);
  truncated.pop_back();
  EXPECT_FALSE(DecodeBmp(truncated));
  EXPECT_FALSE(DecodeBmp(std::vector<uint8_t>{'B', 'M'}));
  EXPECT_FALSE(DecodePng(std::vector<uint8_t>{0x89, 'P', 'N', 'G', 0, 0}));
}

void AppendBE32(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
}

void AppendChunk(std::vector<uint8_t>& bytes, const char* type, const std::vector<uint8_t>& data) {
  AppendBE32(bytes, static_cast<uint32_t>(data.size()));
  const size_t typeAt = bytes.size();
  bytes.insert(bytes.end(), type, type + 4);
  bytes.insert(bytes.end(), data.begin(), data.end());
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t at = typeAt; at < bytes.size(); ++at) {
    crc ^= bytes[at];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  AppendBE32(bytes, ~crc);
}

// PNG bytes of a transparent image but for its first pixel (RGBA), its data in stored deflate
// blocks: written here, so that every drawing backend's PNG reader is tried on the same bytes.
std::vector<uint8_t> Png(int width, int height, std::array<uint8_t, 4> firstPixel = {}) {
  // Each row: filter type 0, then RGBA pixels.
  std::vector<uint8_t> raw(static_cast<size_t>(height) * (1 + 4 * static_cast<size_t>(width)));
  std::ranges::copy(firstPixel, raw.begin() + 1);
  std::vector<uint8_t> zlib = {0x78, 0x01};
  for (size_t at = 0; at < raw.size();) {
    // A stored block: last or not, then its length and the length's complement, little-endian.
    const auto length = static_cast<uint16_t>(std::min<size_t>(raw.size() - at, 65535));
    const auto last = static_cast<uint8_t>(at + length == raw.size());
    zlib.insert(zlib.end(), {last, uint8_t(length), uint8_t(length >> 8), uint8_t(~length), uint8_t(~length >> 8)});
    zlib.insert(zlib.end(), raw.begin() + static_cast<ptrdiff_t>(at),
                raw.begin() + static_cast<ptrdiff_t>(at + length));
    at += length;
  }
  uint32_t a = 1, b = 0;  // Adler-32 of the raw rows
  for (const uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  AppendBE32(zlib, b << 16 | a);

  std::vector<uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  AppendBE32(header, static_cast<uint32_t>(width));
  AppendBE32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter choice, not interlaced
  AppendChunk(bytes, "IHDR", header);
  AppendChunk(bytes, "IDAT", zlib);
  AppendChunk(bytes, "IEND", {});
  return bytes;
}

// A skin image larger than its limit is refused from its header, before a pixel is decoded (a
// 261 KB PNG can claim 8192 x 8192 pixels).
TEST(SkinFiles, ImagesBeyondTheirLimitAreRefusedBeforeDecoding) {
  // Colour and coverage are read premultiplied; damaged bytes are refused.
  const auto halfBlue = DecodeImage(Png(2, 1, {0, 0, 255, 128}), SkinFileLimit(2, 1));
  ASSERT_TRUE(halfBlue);
  EXPECT_EQ(Image::alpha(halfBlue->pixel(0, 0)), 128);
  EXPECT_NEAR(Image::blue(halfBlue->pixel(0, 0)), 128, 1);
  EXPECT_EQ(Image::red(halfBlue->pixel(0, 0)), 0);
  EXPECT_EQ(halfBlue->pixel(1, 0), 0u);
  const std::vector<uint8_t> blank = Png(2, 1);
  EXPECT_FALSE(DecodePng(std::span(blank).first(40)));
  // A knob strip of twice the built-in size passes; a very wide one does not.
  const ImageLimit strip = SkinFileLimit(30, 3810);
  EXPECT_TRUE(DecodeImage(Png(60, 7620), strip));
  const ImageLimit limit{120, 80, 120 * 80};
  EXPECT_TRUE(DecodeImage(Png(120, 80), limit));
  EXPECT_FALSE(DecodeImage(Png(121, 80), limit));
  EXPECT_FALSE(DecodeImage(Png(120, 81), limit));
  EXPECT_FALSE(DecodeImage(Png(120, 80), ImageLimit{120, 80, 120 * 80 - 1}));
  EXPECT_FALSE(DecodeImage(Png(8192, 1), strip));
  auto wide = Bmp(24, 2, 0);
  wide[18] = 0x00;
  wide[19] = 0x80;  // 32768 columns
  EXPECT_FALSE(DecodeImage(wide, SkinFileLimit(1206, 616)));
  EXPECT_TRUE(DecodeImage(Bmp(24, -2, 0), limit));

  // Only the chunks that make the pixels reach the PNG library, which allocates a chunk's
  // claimed length before reading it: a text chunk is dropped, one claiming more than the
  // file holds refuses the file.
  std::vector<uint8_t> withText = Png(4, 4);
  const std::vector<uint8_t> text = {0, 0, 0, 3, 't', 'E', 'X', 't', 'a', 0, 'b', 0, 0, 0, 0};
  withText.insert(withText.begin() + 33, text.begin(), text.end());  // after the image header
  EXPECT_TRUE(DecodeImage(withText, limit));
  withText[33] = 0x3F;  // a gigabyte
  EXPECT_FALSE(DecodeImage(withText, limit));

  testhost::TempFolder folder;
  const std::vector<uint8_t> bytes = Png(120, 80);
  folder.write("skin.Png", std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  EXPECT_TRUE(LoadImageFile(folder.file("skin.Png"), limit));
  EXPECT_FALSE(LoadImageFile(folder.file("skin.Png"), ImageLimit{119, 80, 119 * 80}));
  EXPECT_FALSE(LoadImageFile("/nonexistent/skin.Bmp", limit));
#ifndef _WIN32
  // A pipe is never opened: opening it for reading would wait for a writer.
  ASSERT_EQ(mkfifo(folder.file("pipe.Bmp").c_str(), 0600), 0);
  EXPECT_FALSE(LoadImageFile(folder.file("pipe.Bmp"), limit));
#endif
}

TEST(DeferredImage, HasItsSizeAtOnceAndDecodesOnceWhenItsPixelsAreFirstNeeded) {
  static int decodes = 0;
  const uint8_t encoded[] = {0};
  const Image image = Image::deferred(2, 1, encoded, [](std::span<const uint8_t>) -> std::optional<Image> {
    ++decodes;
    Image decoded(2, 1);
    decoded.setPixel(1, 0, 0xFF112233u);
    return decoded;
  });
  EXPECT_EQ(image.width(), 2);
  EXPECT_EQ(decodes, 0);
  EXPECT_EQ(image.pixel(1, 0), 0xFF112233u);
  EXPECT_EQ(image.data()[0], 0u);
  EXPECT_EQ(decodes, 1);

  // Bytes that do not decode after all leave transparent black of the announced size.
  const Image broken =
      Image::deferred(3, 2, encoded, [](std::span<const uint8_t>) -> std::optional<Image> { return {}; });
  EXPECT_EQ(broken.pixel(2, 1), 0u);
}

constexpr uint32_t kBlack = Image::opaque(0, 0, 0);

Image Filled(int width, int height, uint32_t argb) {
  Image image(width, height);
  std::fill_n(image.data(), width * height, argb);
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

TEST(DrawContext, RectanglesAndImagesCoverExactlyTheirPixelsAndSaveAndRestoreBracketTranslationAndClipping) {
  Image image(8, 8);
  Image bracketed(8, 8);
  {
    const auto context = CreateImageDrawContext(image);
    context->fillRect({2.0, 2.0, 6.0, 5.0}, CColor{10, 20, 30, 255});
    context->frameRect({0.0, 0.0, 8.0, 8.0}, kWhiteCColor, 1.0);
    context->flush();
    const auto other = CreateImageDrawContext(bracketed);
    other->save();
    other->translate(4.0, 4.0);
    other->clip({0.0, 0.0, 2.0, 2.0});
    other->fillRect({-4.0, -4.0, 4.0, 4.0}, CColor{255, 0, 0, 255});
    other->restore();
    other->fillRect({0.0, 0.0, 1.0, 1.0}, CColor{0, 255, 0, 255});
    other->flush();
  }
  EXPECT_EQ(Touched(image, 0u), (CRect{0.0, 0.0, 8.0, 8.0}));
  EXPECT_EQ(image.pixel(2, 2), Image::opaque(10, 20, 30));
  EXPECT_EQ(image.pixel(5, 4), Image::opaque(10, 20, 30));
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{1, 2}, {6, 2}, {2, 5}, {2, 1}, {1, 1}, {6, 6}}) {
    EXPECT_EQ(image.pixel(x, y), 0u) << x << "," << y;
  }
  EXPECT_EQ(image.pixel(0, 3), Image::opaque(255, 255, 255));
  EXPECT_EQ(image.pixel(7, 7), Image::opaque(255, 255, 255));
  EXPECT_EQ(Touched(bracketed, 0u), (CRect{0.0, 0.0, 6.0, 6.0}));
  EXPECT_EQ(bracketed.pixel(0, 0), Image::opaque(0, 255, 0));
  EXPECT_EQ(bracketed.pixel(4, 4), Image::opaque(255, 0, 0));
  EXPECT_EQ(bracketed.pixel(3, 4), 0u);

  // Images are copied one to one from their offset and blend over what is there.
  Image source(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      source.setPixel(x, y, Image::opaque(static_cast<uint8_t>(50 * x), static_cast<uint8_t>(50 * y), 7));
  source.setPixel(3, 3, 0x80808080u);  // white at half coverage, premultiplied
  Image copied = Filled(8, 8, kBlack);
  {
    const auto context = CreateImageDrawContext(copied);
    context->drawImage(source, {1.0, 1.0, 3.0, 4.0}, {2.0, 1.0});
    context->flush();
  }
  EXPECT_EQ(copied.pixel(1, 1), source.pixel(2, 1));
  EXPECT_EQ(copied.pixel(2, 2), source.pixel(3, 2));
  EXPECT_EQ(copied.pixel(1, 3), source.pixel(2, 3));
  EXPECT_NEAR(Image::red(copied.pixel(2, 3)), 128, 2);
  EXPECT_EQ(Image::alpha(copied.pixel(2, 3)), 255);
  EXPECT_EQ(Touched(copied, kBlack), (CRect{1.0, 1.0, 3.0, 4.0}));
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
  // Characters of one to four bytes of UTF-8 start these texts...
  const std::string_view valid[] = {"a\xC3", "\xC3\xA9t", "\xE2\x82\xAC", "\xF0\x9F\x8E\xB5"};
  for (size_t bytes = 1; bytes <= 4; ++bytes) EXPECT_EQ(Utf8CharacterLength(valid[bytes - 1]), bytes);
  // ... and none these: nothing, cut, stray, never, overlong, a surrogate, beyond the last code
  // point, a bad continuation.
  for (const std::string_view text :
       {"", "\xC3", "\xA9", "\xFF", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82x"}) {
    EXPECT_EQ(Utf8CharacterLength(text), 0u) << testing::PrintToString(std::string(text));
  }
  EXPECT_EQ(ValidUtf8("a\xFF\xC3\xA9\xC3"), "a\xEF\xBF\xBD\xC3\xA9\xEF\xBF\xBD");
  // Windows: the ANSI code page, where in Shift-JIS (932) a lead byte takes the next byte along.
  const auto shiftJisLead = [](unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || byte >= 0xE0; };
  const std::pair<std::string_view, size_t> shiftJis[] = {
      {"", 0}, {"a\x82", 1}, {"\x82\xA0", 2}, {"\x82", 1}, {"\xA0\x82", 1}};
  for (const auto& [text, length] : shiftJis) {
    EXPECT_EQ(CodePageCharacterLength(text, shiftJisLead), length) << testing::PrintToString(std::string(text));
  }
}

}  // namespace
}  // namespace toolkit
