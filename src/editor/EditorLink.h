// The editor as the effect sees it: the window the host drives (an AEffEditor) plus what the
// effect hands over: the size factor from the configuration file, the outcome of a project load
// and the refresh requests of a reset. MakeEditor builds the plug-in's editor (editor::Gui); the
// base alone only keeps the values and does the model's part. User-interface thread, except
// handOverLoad.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "engine/DrumEngine.h"
#include "engine/Limits.h"
#include "persistence/Configuration.h"
#include "vst/AEffEditor.h"
#include "vst/AudioEffect.h"

namespace editor {

// Where the editor finds its files, the effect's reset that "Clear all now!" runs, and how it
// asks the host to give its window a new size (in pixels).
struct GuiEnvironment {
  std::string pluginDirectory;    // ends with the path separator
  std::string configurationFile;  // receives the size factor
  std::string samplesFolder;      // where the browsers go back to on a reset or a file click
  std::function<void()> resetAll;
  std::function<void(int32_t width, int32_t height)> sizeWindow;
};

class EditorLink : public vst::AEffEditor {
 public:
  using StartDirectories = std::array<std::string, engine::kHolderCount>;

  EditorLink(vst::AudioEffect* effect, engine::DrumEngine& engine) : AEffEditor(effect), engine_(engine) {}
  EditorLink(const EditorLink&) = delete;
  EditorLink& operator=(const EditorLink&) = delete;

  float scale() const { return scale_; }
  void setScale(float scale) { scale_ = scale; }

  // A project load, on whatever thread the host loads on, hands its outcome over: the view goes
  // back to its defaults, each holder's browser to its start (a folder or a file) and the loaded
  // pattern is shown. The editor applies it on its own thread (takeLoadedProject); a later load
  // replaces one not yet applied.
  struct LoadedProject {
    StartDirectories directories;
    int pattern = 0;
  };
  void handOverLoad(LoadedProject loaded) {
    const std::lock_guard lock(loadedMutex_);
    loaded_ = std::move(loaded);
  }

  // The editor's own state back to its defaults (part of the effect's reset all).
  virtual void reset() {}
  // Every control redrawn from the model.
  virtual void refreshFromModel() {}
  // Displays the pattern; the sequencer selects it.
  virtual void showPattern(int pattern) { engine_.sequencer().selectPattern(pattern); }

 protected:
  // The load handed over and not yet applied, if any; it is handed out once.
  std::optional<LoadedProject> takeLoadedProject() {
    const std::lock_guard lock(loadedMutex_);
    return std::exchange(loaded_, std::nullopt);
  }

  engine::DrumEngine& engine_;

 private:
  float scale_ = persistence::kDefaultEditorScale;
  std::mutex loadedMutex_;
  std::optional<LoadedProject> loaded_;
};

// The plug-in's editor for the effect, with no window until the host opens it. The first call
// makes the built-in skin known to the toolkit.
std::unique_ptr<EditorLink> MakeEditor(vst::AudioEffect* effect, engine::DrumEngine& engine,
                                       GuiEnvironment environment);

}  // namespace editor
