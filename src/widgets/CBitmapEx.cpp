#include "widgets/CBitmapEx.h"

#include <algorithm>
#include <set>

#include "platform/Files.h"
#include "platform/Messages.h"
#include "toolkit/ImageFiles.h"
#include "widgets/BitmapScaler.h"

namespace widgets {
namespace {

// Several skin entries share one file; its problem is told once per process.
bool FirstReportOf(const std::string& path) {
  static std::set<std::string> reported;
  return reported.insert(path).second;
}

}  // namespace

CBitmapEx::CBitmapEx(int32_t resourceId, const std::string& filePath) : CBitmap(resourceId) {
  if (platform::FileExists(filePath)) {
    if (auto image = toolkit::LoadImageFile(filePath, toolkit::SkinFileLimit(getWidth(), getHeight()))) {
      setHandle(std::make_shared<const toolkit::Image>(std::move(*image)));
      builtIn_ = false;
    } else if (FirstReportOf(filePath)) {
      // The built-in image stays: an editor without its background or a button would be unusable.
      platform::ShowMessage("Warning", "The skin file \"" + filePath +
                                           "\" is not a readable bitmap (24 or 32 bits per pixel, uncompressed, "
                                           "or PNG). The built-in image is used instead.");
    }
  }
  original_ = handle();
}

void CBitmapEx::restoreToOriginal() {
  if (!isOriginal()) setHandle(original_);
}

uint16_t CBitmapEx::scaledLength(float factor, double length) {
  const double scaled = static_cast<double>(factor) * length;
  return static_cast<uint16_t>(std::clamp(scaled, 0.0, 65535.0));
}

void CBitmapEx::resize(float factor) {
  if (!isOriginal()) {
    platform::ShowMessage("Error", "Other bitmaps than original can't be resized. Call restoreToOriginal() first.");
    return;
  }
  if (!original_) return;
  setHandle(
      ScaleBitmap(*original_, scaledLength(factor, original_->width()), scaledLength(factor, original_->height())));
}

}  // namespace widgets
