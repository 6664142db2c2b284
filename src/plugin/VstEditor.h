// The editor as VST 2.x hosts drive it: the one owner of the plug-in's editor, converting the
// host's rectangle and key codes to the editor's own terms.
#pragma once

#include <memory>

#include "editor/EditorLink.h"
#include "vst/AEffEditor.h"

namespace plugin {

class VstEditor : public vst::AEffEditor {
 public:
  explicit VstEditor(std::unique_ptr<editor::EditorLink> editor) : editor_(std::move(editor)) {}

  editor::EditorLink& editor() { return *editor_; }

  // The rectangle stays valid until the next call.
  bool getRect(vst::ERect** rect) override;
  bool open(void* parent) override { return editor_->open(parent); }
  void close() override { editor_->close(); }
  bool isOpen() override { return editor_->isOpen(); }
  void idle() override { editor_->idle(); }
  bool onKeyDown(vst::VstKeyCode& key) override;

 private:
  std::unique_ptr<editor::EditorLink> editor_;
  vst::ERect rect_{};
};

}  // namespace plugin
