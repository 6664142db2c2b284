// What the toolkit asks of the editor that owns a frame: edit brackets for automation, and the
// frame pointer and editor rectangle the editor keeps.
#pragma once

#include <cstdint>

namespace toolkit {

class CFrame;

class VSTGUIEditorInterface {
 public:
  virtual ~VSTGUIEditorInterface() = default;

  // A control with this tag starts or ends a gesture (the host groups automation by them).
  virtual void beginEdit(int32_t /*tag*/) {}
  virtual void endEdit(int32_t /*tag*/) {}
  CFrame* getFrame() const { return frame; }

 protected:
  CFrame* frame = nullptr;
};

}  // namespace toolkit
