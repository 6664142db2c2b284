// What the effect hands to its editor: the size factor from the configuration file, where
// each holder's browser starts after a project load, and the refresh requests of a load or
// reset. The editor (editor::Gui) derives from it and overrides the hooks; the base alone only
// keeps the values and does the model's part. User-interface thread.
#pragma once

#include <array>
#include <string>

#include "engine/DrumEngine.h"
#include "engine/Limits.h"
#include "persistence/Configuration.h"

namespace plugin {

class EditorLink {
 public:
  using StartDirectories = std::array<std::string, engine::kHolderCount>;

  explicit EditorLink(engine::DrumEngine& engine) : engine_(engine) {}
  virtual ~EditorLink() = default;
  EditorLink(const EditorLink&) = delete;
  EditorLink& operator=(const EditorLink&) = delete;

  float scale() const { return scale_; }
  void setScale(float scale) { scale_ = scale; }

  // The folder (or file) each holder's browser view shows next. Views that exist navigate
  // there; otherwise the paths wait, flagged pending, until the views are created.
  virtual void setStartDirectories(const StartDirectories& directories) {
    startDirectories_ = directories;
    pendingDirectories_ = true;
  }
  const StartDirectories& startDirectories() const { return startDirectories_; }
  bool pendingDirectories() const { return pendingDirectories_; }

  // The editor's own state back to its defaults (part of the effect's reset all).
  virtual void reset() {}
  // Every control redrawn from the model.
  virtual void refreshFromModel() {}
  // Displays the pattern; the sequencer selects it.
  virtual void showPattern(int pattern) { engine_.sequencer().selectPattern(pattern); }

 protected:
  engine::DrumEngine& engine_;

 private:
  float scale_ = persistence::kDefaultEditorScale;
  StartDirectories startDirectories_;
  bool pendingDirectories_ = false;
};

}  // namespace plugin
