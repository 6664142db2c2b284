#include "toolkit/Resources.h"

#include <map>

#include "toolkit/ImageFiles.h"

namespace toolkit {
namespace {

// Bitmaps are made on the user-interface thread only, so the Cache needs no lock.
struct ResourceCache {
  ResourceSource source = nullptr;
  std::map<int32_t, ImageHandle> images;
};

ResourceCache& Cache() {
  static ResourceCache instance;
  return instance;
}

}  // namespace

void SetResourceSource(ResourceSource source) {
  Cache().source = source;
  Cache().images.clear();
}

ImageHandle LoadResourceImage(int32_t resourceId) {
  auto& resources = Cache();
  if (auto found = resources.images.find(resourceId); found != resources.images.end()) return found->second;
  ImageHandle image;
  if (resources.source) {
    // The size now, the pixels when first drawn: an effect whose editor is never opened
    // decodes nothing.
    const std::span<const uint8_t> bytes = resources.source(resourceId);
    if (const auto size = PngSize(bytes)) {
      image = std::make_shared<const Image>(Image::deferred(size->width, size->height, bytes, DecodePng));
    } else if (auto decoded = DecodePng(bytes)) {
      image = std::make_shared<const Image>(std::move(*decoded));
    }
  }
  resources.images.emplace(resourceId, image);
  return image;
}

}  // namespace toolkit
