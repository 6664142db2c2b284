#include "plugin/VstEditor.h"

#include "toolkit/MouseEvents.h"

namespace plugin {
namespace {

toolkit::KeyStroke ToKeyStroke(const vst::VstKeyCode& key) {
  toolkit::KeyStroke stroke;
  stroke.character = static_cast<char32_t>(key.character);
  switch (key.virt) {
    case vst::VKEY_RETURN:
      stroke.key = toolkit::VirtualKey::Return;
      break;
    case vst::VKEY_ESCAPE:
      stroke.key = toolkit::VirtualKey::Escape;
      break;
    case vst::VKEY_BACK:
      stroke.key = toolkit::VirtualKey::Back;
      break;
    case vst::VKEY_DELETE:
      stroke.key = toolkit::VirtualKey::Delete;
      break;
    case vst::VKEY_LEFT:
      stroke.key = toolkit::VirtualKey::Left;
      break;
    case vst::VKEY_RIGHT:
      stroke.key = toolkit::VirtualKey::Right;
      break;
    case vst::VKEY_TAB:
      stroke.key = toolkit::VirtualKey::Tab;
      break;
    case vst::VKEY_UP:
      stroke.key = toolkit::VirtualKey::Up;
      break;
    case vst::VKEY_DOWN:
      stroke.key = toolkit::VirtualKey::Down;
      break;
    default:
      break;
  }
  return stroke;
}

}  // namespace

bool VstEditor::getRect(vst::ERect** rect) {
  const editor::EditorSize size = editor_->size();
  rect_ = {};
  rect_.right = static_cast<int16_t>(size.width);
  rect_.bottom = static_cast<int16_t>(size.height);
  *rect = &rect_;
  return true;
}

bool VstEditor::onKeyDown(vst::VstKeyCode& key) {
  // A key not used is the host's (the dispatcher answers 0).
  return editor_->onKeyDown(ToKeyStroke(key));
}

}  // namespace plugin
