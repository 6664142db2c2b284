// A view with a value (normally 0 to 1), a tag, a listener and an optional background bitmap.
#pragma once

#include <cstdint>

#include "toolkit/CBitmap.h"
#include "toolkit/CControlListener.h"
#include "toolkit/CView.h"

namespace toolkit {

class CControl : public CView {
 public:
  CControl(const CRect& size, CControlListener* listener = nullptr, int32_t tag = 0, CBitmap* background = nullptr);
  ~CControl() override;

  // Keeps the value inside min and max; a change marks the control dirty.
  virtual void setValue(float value);
  float getValue() const { return value_; }
  float getMin() const { return min_; }
  void setMax(float max) { max_ = max; }
  float getMax() const { return max_; }

  int32_t getTag() const { return tag_; }
  CControlListener* getListener() const { return listener_; }

  // Takes a reference to the bitmap and lets go of the one before.
  virtual void setBackground(CBitmap* background);
  CBitmap* getBackground() const { return background_; }

  // Tell the listener and the editor that a gesture starts or ends.
  void beginEdit();
  void endEdit();
  // Reports the value to the listener.
  void valueChanged();

 private:
  CControlListener* const listener_;
  const int32_t tag_;
  CBitmap* background_ = nullptr;
  float value_ = 0.0f;
  float min_ = 0.0f;
  float max_ = 1.0f;
};

}  // namespace toolkit
