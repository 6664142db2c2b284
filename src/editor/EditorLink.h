// The editor as a plug-in format's adapter sees it: the window the host drives, with its size and
// keys in the toolkit's own terms (the adapter converts) and its size factor. It takes the outcome of a project load and of a reset from the instrument itself.
// MakeEditor builds the plug-in's editor (editor::Gui); the base alone only keeps the values.
// User-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "instrument/Instrument.h"
#include "persistence/Configuration.h"
#include "toolkit/MouseEvents.h"

namespace editor {

// How the editor tells the host that the user changes a host parameter (the index of
// instrument/Parameters.h): an edit begins, the parameter takes a normalised value, the edit
// ends; and how it asks the host to give the editor's window a new size (in pixels).
struct GuiEnvironment {
  std::function<void(int32_t parameter)> beginEdit;
  std::function<void(int32_t parameter, float value)> automate;
  std::function<void(int32_t parameter)> endEdit;
  std::function<void(int32_t width, int32_t height)> sizeWindow;
};

// The editor window's size in pixels.
struct EditorSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const EditorSize&) const = default;
};

class EditorLink {
 public:
  // Each holder's browser start, as a project load leaves it.
  using StartDirectories = decltype(instrument::LoadedProject::directories);

  explicit EditorLink(instrument::Instrument& instrument) : instrument_(instrument) {}
  virtual ~EditorLink() = default;
  EditorLink(const EditorLink&) = delete;
  EditorLink& operator=(const EditorLink&) = delete;

  // Host side. ---------------------------------------------------------------------------
  // The window's size at the current scale, also before the first opening.
  virtual EditorSize size() { return {}; }
  // parent: the host's window (on X11 the Window id); false when the opening is refused.
  virtual bool open(void* /*parent*/) { return false; }
  virtual void close() {}
  virtual bool isOpen() { return false; }
  virtual void idle() {}
  // A key the host forwards; false leaves it to the host.
  virtual bool onKeyDown(const toolkit::KeyStroke& /*key*/) { return false; }

  // Effect side. -------------------------------------------------------------------------
  float scale() const { return scale_; }
  void setScale(float scale) { scale_ = scale; }

 protected:
  instrument::Instrument& instrument_;
  engine::DrumEngine& engine_ = instrument_.engine();

 private:
  float scale_ = persistence::kDefaultEditorScale;
};

// The plug-in's editor, with no window until the host opens it. The first call makes the
// built-in skin known to the toolkit.
std::unique_ptr<EditorLink> MakeEditor(instrument::Instrument& instrument, GuiEnvironment environment);

}  // namespace editor
