// Receives a control's changes.
#pragma once

namespace toolkit {

class CControl;

class CControlListener {
 public:
  virtual ~CControlListener() = default;
  virtual void valueChanged(CControl* control) = 0;
  // The start and end of a gesture on a control; most listeners need neither.
  virtual void controlBeginEdit(CControl* /*control*/) {}
  virtual void controlEndEdit(CControl* /*control*/) {}
};

}  // namespace toolkit
