// PNG decoding through GDI+, from bytes in memory.
#include <windows.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <memory>

#include "toolkit/win32/GdiSupport.h"
#include "toolkit/ImageFiles.h"

namespace toolkit {
namespace {

struct StreamRelease {
  void operator()(IStream* stream) const { stream->Release(); }
};

}  // namespace

std::optional<Image> DecodePngPixels(std::span<const uint8_t> bytes) {
  // GDI+ reads other formats from a stream as well; DecodePng hands over only PNG bytes.
  if (!gdi::StartGdiPlus()) return std::nullopt;
  const std::unique_ptr<IStream, StreamRelease> stream(
      ::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
  if (!stream) return std::nullopt;
  Gdiplus::Bitmap bitmap(stream.get());
  if (bitmap.GetLastStatus() != Gdiplus::Ok) return std::nullopt;
  const auto width = static_cast<int>(bitmap.GetWidth());
  const auto height = static_cast<int>(bitmap.GetHeight());
  if (width <= 0 || height <= 0) return std::nullopt;
  Image image(width, height);
  // GDI+ writes the pixels straight into our image, in the same premultiplied layout.
  Gdiplus::BitmapData target{};
  target.Width = static_cast<UINT>(width);
  target.Height = static_cast<UINT>(height);
  target.Stride = image.stride();
  target.PixelFormat = PixelFormat32bppPARGB;
  target.Scan0 = image.data();
  Gdiplus::Rect all(0, 0, width, height);
  if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppPARGB,
                      &target) != Gdiplus::Ok) {
    return std::nullopt;
  }
  bitmap.UnlockBits(&target);
  return image;
}

}  // namespace toolkit
