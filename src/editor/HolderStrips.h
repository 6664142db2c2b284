// The twelve holder strips: for each holder its select button (with the holder menu), name field,
// file step and preview buttons, pan, volume, pitch and length knobs, swing, browse, mute and solo
// buttons, and its browser panel, shown in the editor while its browse button is on.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "browser/VstBrowser.h"
#include "editor/ControlTable.h"
#include "editor/EditorLink.h"
#include "editor/Section.h"
#include "editor/StepRow.h"
#include "engine/Kit.h"
#include "toolkit/CFrame.h"

namespace editor {

class HolderStrips : public Section, public browser::BrowserListener {
 public:
  // Where the strips find the skin and the samples folder, and how they pass a change on to the host.
  struct Setting {
    std::string skinFolder;
    std::string samplesFolder;
    std::function<void(int32_t tag, float value)> reportToHost;
  };

  // Makes the controls and every holder's browser panel, which exist from the start so that a
  // project load always finds them to navigate.
  HolderStrips(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin, engine::Kit& kit,
               StepRow& stepRow, Selection& selection, Setting setting);
  ~HolderStrips() override;
  HolderStrips(const HolderStrips&) = delete;
  HolderStrips& operator=(const HolderStrips&) = delete;

  void place(const SkinBitmaps& skin) override;
  void followScale(const SkinBitmaps& skin, float scale) override;
  bool valueChanged(toolkit::CControl& control) override;
  void refreshFromModel() override;
  void fileClicked(browser::VstBrowser& panel, bool doubleClick) override;

  // The frame in which the panels show (null: none yet).
  void setFrame(toolkit::CFrame* frame) { frame_ = frame; }
  // Steps the holder's browser to its next or previous file and loads it.
  void stepBrowser(int holder, bool next);
  void refreshNames();
  void copyHolderToHolder(int from, int to);
  // Loads the file into the holder with audition; a holder still named after its file (or not
  // named) takes the new file's name.
  void LoadSampleFromBrowser(uint8_t note, const std::string& path);
  // Every panel moves to the folder (or file) given for its holder, forced.
  void setStartDirectories(const EditorLink::StartDirectories& directories);
  // The open browser panel (if any) leaves the frame and its browse button goes off.
  void closePanel();
  // Every panel that the user has not touched moves to the samples folder.
  void showSamplesFolder();
  browser::VstBrowser* browserView(int holder) const { return browsers_[static_cast<size_t>(holder)]; }

 private:
  void selectHolder(int holder, float value);
  void holderMenu(int holder, int choice);
  void browseButton(int holder, float value);
  void muteButton(int holder, float value);
  void soloButton(int holder, float value);
  // The holder's knobs and swing button from the model.
  void showHolder(int index);
  // Every mute and solo button from the holders' mute states.
  void showMuteAndSolo();
  // Mute buttons of holders muted by a solo look dimmer than those the user muted.
  void showMutedBySolo();
  bool anySolo() const;
  void attachBrowser(int holder);
  void detachBrowser(int holder);
  void redrawFrame();
  engine::SampleHolder& holder(int index);

  ControlTable& controls_;
  engine::Kit& kit_;
  StepRow& stepRow_;
  Selection& selection_;
  Setting setting_;
  std::array<browser::VstBrowser*, engine::kHolderCount> browsers_{};
  toolkit::CFrame* frame_ = nullptr;
};

}  // namespace editor
