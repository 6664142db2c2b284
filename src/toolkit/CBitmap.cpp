#include "toolkit/CBitmap.h"

#include <utility>

#include "toolkit/Resources.h"

namespace toolkit {

CBitmap::CBitmap(int32_t resourceId) { setHandle(LoadResourceImage(resourceId)); }

CBitmap::CBitmap(ImageHandle image) { setHandle(std::move(image)); }

void CBitmap::setHandle(ImageHandle image) {
  handle_ = std::move(image);
  width_ = handle_ ? handle_->width() : 0.0;
  height_ = handle_ ? handle_->height() : 0.0;
}

void CBitmap::draw(CDrawContext& context, const CRect& rect, CPoint offset) const {
  if (handle_) context.drawImage(*handle_, rect, offset);
}

}  // namespace toolkit
