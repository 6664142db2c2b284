// The editor as the effect sees it: the window the host drives (an AEffEditor) plus what the
// effect hands over: the size factor from the configuration file and the refresh requests of a
// reset. It takes the outcome of a project load from the instrument itself. MakeEditor builds
// the plug-in's editor (editor::Gui); the base alone only keeps the values. User-interface thread.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/Limits.h"
#include "instrument/Instrument.h"
#include "persistence/Configuration.h"
#include "vst/AEffEditor.h"
#include "vst/AudioEffect.h"

namespace editor {

// How the editor asks the host to give its window a new size (in pixels).
struct GuiEnvironment {
  std::function<void(int32_t width, int32_t height)> sizeWindow;
};

class EditorLink : public vst::AEffEditor {
 public:
  using StartDirectories = std::array<std::string, engine::kHolderCount>;

  EditorLink(vst::AudioEffect* effect, instrument::Instrument& instrument)
      : AEffEditor(effect), instrument_(instrument) {}
  EditorLink(const EditorLink&) = delete;
  EditorLink& operator=(const EditorLink&) = delete;

  float scale() const { return scale_; }
  void setScale(float scale) { scale_ = scale; }

  // The editor's own state back to its defaults (the view's part of a reset all).
  virtual void reset() {}
  // Every control redrawn from the model.
  virtual void refreshFromModel() {}
  // Displays the pattern; the sequencer selects it.
  virtual void showPattern(int pattern) { instrument_.engine().sequencer().selectPattern(pattern); }

 protected:
  instrument::Instrument& instrument_;
  engine::DrumEngine& engine_ = instrument_.engine();

 private:
  float scale_ = persistence::kDefaultEditorScale;
};

// The plug-in's editor for the effect, with no window until the host opens it. The first call
// makes the built-in skin known to the toolkit.
std::unique_ptr<EditorLink> MakeEditor(vst::AudioEffect* effect, instrument::Instrument& instrument,
                                       GuiEnvironment environment);

}  // namespace editor
