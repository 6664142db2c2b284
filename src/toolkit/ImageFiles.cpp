#include "toolkit/ImageFiles.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "platform/Files.h"

namespace toolkit {
namespace {

// Larger skins than this are refused rather than allocated.
constexpr int64_t kMaxDimension = 32768;

uint32_t ReadLE32(std::span<const uint8_t> bytes, size_t at) {
  return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
         uint32_t{bytes[at + 3]} << 24;
}

uint32_t ReadBE32(std::span<const uint8_t> bytes, size_t at) {
  return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 | uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint16_t ReadLE16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint8_t Premultiply(uint8_t channel, uint8_t alpha) { return static_cast<uint8_t>((channel * alpha + 127) / 255); }

// Where the colour masks of a BI_BITFIELDS file sit, and whether they are the plain ones.
bool HasPlainMasks(std::span<const uint8_t> bytes, size_t HeaderSizeOf, bool& withAlpha) {
  constexpr size_t kMasksAt = 14 + 40;
  const size_t needed = kMasksAt + (HeaderSizeOf >= 56 ? 16 : 12);
  if (bytes.size() < needed) return false;
  const bool plain = ReadLE32(bytes, kMasksAt) == 0x00FF0000u && ReadLE32(bytes, kMasksAt + 4) == 0x0000FF00u &&
                     ReadLE32(bytes, kMasksAt + 8) == 0x000000FFu;
  withAlpha = HeaderSizeOf >= 56 && ReadLE32(bytes, kMasksAt + 12) == 0xFF000000u;
  return plain;
}

struct HeaderSize {
  int64_t width;
  int64_t height;
  bool png;
};

// The image size a BMP or PNG header gives, without decoding anything; nothing for other bytes.
std::optional<HeaderSize> HeaderSizeOf(std::span<const uint8_t> bytes) {
  if (bytes.size() >= 4 && std::memcmp(bytes.data(), kPngSignature, 4) == 0) {
    const std::optional<ImageSize> png = PngSize(bytes);
    if (!png) return std::nullopt;
    return HeaderSize{png->width, png->height, true};
  }
  constexpr size_t kBmpSizeAt = 18;
  if (bytes.size() < kBmpSizeAt + 8) return std::nullopt;
  const auto height = static_cast<int32_t>(ReadLE32(bytes, kBmpSizeAt + 4));
  return HeaderSize{static_cast<int32_t>(ReadLE32(bytes, kBmpSizeAt)), height < 0 ? -int64_t{height} : height, false};
}

// The PNG with only the chunks that make its pixels: the image header, palette, transparency,
// data and end. The PNG library allocates a chunk's claimed length before reading it, and
// expands compressed text and colour profiles, so those other chunks go. Nothing when a
// chunk claims more bytes than follow it.
std::optional<std::vector<uint8_t>> EssentialPngChunks(std::span<const uint8_t> bytes) {
  constexpr size_t kSignature = 8;
  constexpr size_t kChunkFrame = 12;  // length, type and check sum
  constexpr std::string_view kKept[] = {"IHDR", "PLTE", "tRNS", "IDAT", "IEND"};
  if (bytes.size() < kSignature) return std::nullopt;
  std::vector<uint8_t> kept(bytes.begin(), bytes.begin() + kSignature);
  for (size_t at = kSignature; at < bytes.size();) {
    if (bytes.size() - at < kChunkFrame) return std::nullopt;
    const uint32_t length = ReadBE32(bytes, at);
    if (length > bytes.size() - at - kChunkFrame) return std::nullopt;
    const std::string_view type(reinterpret_cast<const char*>(bytes.data() + at + 4), 4);
    const size_t next = at + kChunkFrame + length;
    if (std::find(std::begin(kKept), std::end(kKept), type) != std::end(kKept)) {
      kept.insert(kept.end(), bytes.begin() + static_cast<ptrdiff_t>(at), bytes.begin() + static_cast<ptrdiff_t>(next));
    }
    if (type == "IEND") break;
    at = next;
  }
  return kept;
}

}  // namespace

std::optional<ImageSize> PngSize(std::span<const uint8_t> bytes) {
  // The signature, then the first chunk: its length, "IHDR", width and height.
  if (bytes.size() < 24 || std::memcmp(bytes.data(), kPngSignature, 8) != 0 ||
      std::memcmp(bytes.data() + 12, "IHDR", 4) != 0) {
    return std::nullopt;
  }
  const uint32_t width = ReadBE32(bytes, 16);
  const uint32_t height = ReadBE32(bytes, 20);
  if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension) return std::nullopt;
  return ImageSize{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<Image> DecodePng(std::span<const uint8_t> bytes) {
  if (bytes.size() < sizeof kPngSignature || std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) != 0) {
    return std::nullopt;
  }
  const std::optional<std::vector<uint8_t>> essential = EssentialPngChunks(bytes);
  if (!essential) return std::nullopt;
  return DecodePngPixels(*essential);
}

std::optional<Image> DecodeBmp(std::span<const uint8_t> bytes) {
  constexpr size_t kFileHeader = 14;
  if (bytes.size() < kFileHeader + 40 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const uint32_t pixelOffset = ReadLE32(bytes, 10);
  const uint32_t HeaderSizeOf = ReadLE32(bytes, kFileHeader);
  if (HeaderSizeOf < 40) return std::nullopt;
  const auto width = static_cast<int32_t>(ReadLE32(bytes, kFileHeader + 4));
  const auto signedHeight = static_cast<int32_t>(ReadLE32(bytes, kFileHeader + 8));
  const uint16_t planes = ReadLE16(bytes, kFileHeader + 12);
  const uint16_t bitsPerPixel = ReadLE16(bytes, kFileHeader + 14);
  const uint32_t compression = ReadLE32(bytes, kFileHeader + 16);
  const bool topDown = signedHeight < 0;
  const int64_t height = topDown ? -int64_t{signedHeight} : int64_t{signedHeight};
  if (planes != 1 || width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension) return std::nullopt;
  if (bitsPerPixel != 24 && bitsPerPixel != 32) return std::nullopt;

  bool withAlpha = false;
  constexpr uint32_t kRgb = 0;
  constexpr uint32_t kBitFields = 3;
  if (compression == kBitFields) {
    if (bitsPerPixel != 32 || !HasPlainMasks(bytes, HeaderSizeOf, withAlpha)) return std::nullopt;
  } else if (compression != kRgb) {
    return std::nullopt;
  }

  const size_t bytesPerPixel = bitsPerPixel / 8u;
  const size_t rowSize = (static_cast<size_t>(width) * bytesPerPixel + 3u) & ~size_t{3};
  const size_t rows = static_cast<size_t>(height);
  if (pixelOffset > bytes.size() || (bytes.size() - pixelOffset) / rowSize < rows) return std::nullopt;

  Image image(width, static_cast<int>(height));
  for (size_t row = 0; row < rows; ++row) {
    const int y = static_cast<int>(topDown ? row : rows - 1 - row);
    const uint8_t* source = bytes.data() + pixelOffset + row * rowSize;
    for (int x = 0; x < width; ++x, source += bytesPerPixel) {
      const uint8_t alpha = withAlpha ? source[3] : 255;
      image.setPixel(x, y,
                     uint32_t{alpha} << 24 | uint32_t{Premultiply(source[2], alpha)} << 16 |
                         uint32_t{Premultiply(source[1], alpha)} << 8 | Premultiply(source[0], alpha));
    }
  }
  return image;
}

ImageLimit SkinFileLimit(double builtInWidth, double builtInHeight) {
  // The built-in background's size, which sets the editor's.
  constexpr int64_t kEditorWidth = 1206;
  constexpr int64_t kEditorHeight = 616;
  constexpr int64_t kTimes = 4;
  const auto side = [](double builtIn, int64_t editor) {
    return kTimes * std::max(static_cast<int64_t>(builtIn), editor);
  };
  return {side(builtInWidth, kEditorWidth), side(builtInHeight, kEditorHeight),
          kTimes * kTimes * kEditorWidth * kEditorHeight};
}

std::optional<Image> DecodeImage(std::span<const uint8_t> bytes, ImageLimit limit) {
  const std::optional<HeaderSize> size = HeaderSizeOf(bytes);
  if (!size || size->width > limit.width || size->height > limit.height) return std::nullopt;
  if (size->width * size->height > limit.pixels) return std::nullopt;
  return size->png ? DecodePng(bytes) : DecodeBmp(bytes);
}

std::optional<Image> LoadImageFile(const std::string& path, ImageLimit limit) {
  const std::optional<uint64_t> fileSize = platform::ReadableFileSize(path);
  // Four bytes a pixel, twice over for a compressed file that does not shrink, and room for
  // the headers and other chunks.
  constexpr int64_t kHeaderRoom = 65536;
  const auto largest = static_cast<uint64_t>(std::max<int64_t>(limit.pixels, 0) * 4 * 2 + kHeaderRoom);
  if (!fileSize || *fileSize > largest) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return DecodeImage(bytes, limit);
}

}  // namespace toolkit
