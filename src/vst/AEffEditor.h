// Base of a plug-in's editor window as the dispatcher drives it.
#pragma once

#include "vst/VstInterface.h"

namespace vst {

class AEffEditor {
 public:
  AEffEditor() = default;
  virtual ~AEffEditor() = default;
  AEffEditor(const AEffEditor&) = delete;
  AEffEditor& operator=(const AEffEditor&) = delete;

  // Hands the host the editor's rectangle; true when there is one.
  virtual bool getRect(ERect** rect) {
    *rect = nullptr;
    return false;
  }
  // parent: the host's window (on X11 the Window id as a pointer-sized integer).
  virtual bool open(void* /*parent*/) {
    systemWindow_ = nullptr;
    return false;
  }
  virtual void close() { systemWindow_ = nullptr; }
  virtual bool isOpen() { return systemWindow_ != nullptr; }
  virtual void idle() {}
  // True when the key was used.
  virtual bool onKeyDown(VstKeyCode& /*key*/) { return false; }
  virtual bool onKeyUp(VstKeyCode& /*key*/) { return false; }
  virtual bool setKnobMode(int32_t /*mode*/) { return false; }

 protected:
  void* systemWindow_ = nullptr;
};

}  // namespace vst
