// Reference-counted base of views, bitmaps and everything a timer can notify.
#pragma once

#include <cstdint>

namespace toolkit {

// Messages passed to notify.
using CMessageId = const char*;
// An array, so that every translation unit compares against the same address.
inline constexpr char kMsgTimer[] = "timer";

enum CMessageResult { kMessageUnknown = 0, kMessageNotified = 1 };

class CBaseObject {
 public:
  CBaseObject() = default;
  virtual ~CBaseObject() = default;
  CBaseObject(const CBaseObject&) = delete;
  CBaseObject& operator=(const CBaseObject&) = delete;

  // Drops one reference; the object deletes itself when none is left.
  virtual void forget() {
    if (--referenceCount_ == 0) delete this;
  }
  virtual void remember() { ++referenceCount_; }
  int32_t getNbReference() const { return referenceCount_; }

  virtual CMessageResult notify(CBaseObject* /*sender*/, CMessageId /*message*/) { return kMessageUnknown; }

 private:
  int32_t referenceCount_ = 1;
};

}  // namespace toolkit
