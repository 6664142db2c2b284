// What the toolkit asks of the editor that owns a frame: edit brackets for automation, and the
// frame pointer and editor rectangle the editor keeps.
#pragma once

#include <cstdint>

#include "toolkit/MouseEvents.h"

namespace toolkit {

class CFrame;

class VSTGUIEditorInterface {
 public:
  virtual ~VSTGUIEditorInterface() = default;

  // A control with this tag starts or ends a gesture (the host groups automation by them).
  virtual void beginEdit(int32_t /*tag*/) {}
  virtual void endEdit(int32_t /*tag*/) {}
  // A key that no view of the frame used (a text field being edited takes the keys it types
  // with). True when the editor used it; otherwise it goes back to the host.
  virtual bool onUnusedKey(const KeyStroke& /*key*/) { return false; }
  CFrame* getFrame() const { return frame; }

 protected:
  CFrame* frame = nullptr;
};

}  // namespace toolkit
