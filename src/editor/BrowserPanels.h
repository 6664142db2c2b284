// The holders' browser panels, one per holder, made with the editor so that a project load always
// finds them to navigate. A panel shows in the editor's frame while its holder's browse button is
// on; a file clicked in it is loaded into its holder.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "browser/VstBrowser.h"
#include "editor/ControlTable.h"
#include "editor/EditorLink.h"
#include "editor/SkinBitmaps.h"
#include "engine/Kit.h"
#include "toolkit/CFrame.h"

namespace editor {

class BrowserPanels : public browser::BrowserListener {
 public:
  // Where the panels find the skin and the samples folder.
  struct Setting {
    std::string skinFolder;
    std::string samplesFolder;
  };

  // Each panel reports to its holder's browse button, which must exist already.
  BrowserPanels(ControlTable& controls, const SkinBitmaps& skin, engine::Kit& kit, Setting setting);
  ~BrowserPanels() override;
  BrowserPanels(const BrowserPanels&) = delete;
  BrowserPanels& operator=(const BrowserPanels&) = delete;

  void fileClicked(browser::VstBrowser& panel, bool doubleClick) override;

  // The frame in which the panels show (null: none yet).
  void setFrame(toolkit::CFrame* frame) { frame_ = frame; }
  // Puts the holder's panel into the frame, listed.
  void show(int holder);
  void hide(int holder);
  // The open panel (if any) leaves the frame and its browse button goes off.
  void closeOpenPanel();
  void redrawFrame();
  // Steps the holder's panel to its next or previous file and loads it.
  void step(int holder, bool next);
  // Loads the file into the holder with audition; a holder still named after its file (or not
  // named) takes the new file's name.
  void loadSampleFromBrowser(uint8_t note, const std::string& path);
  // Every panel moves to the folder (or file) given for its holder, forced.
  void setStartDirectories(const EditorLink::StartDirectories& directories);
  // Every panel that the user has not touched moves to the samples folder.
  void showSamplesFolder();
  void setScale(float scale);
  browser::VstBrowser* view(int holder) const { return views_[static_cast<size_t>(holder)]; }

 private:
  ControlTable& controls_;
  engine::Kit& kit_;
  Setting setting_;
  std::array<browser::VstBrowser*, engine::kHolderCount> views_{};
  toolkit::CFrame* frame_ = nullptr;
};

}  // namespace editor
