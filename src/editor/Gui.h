// The plug-in's editor: lifecycle, skin and scale, and the dispatch of control changes to the
// sections of the panel that own the controls. Its skin, 283 controls and twelve browser views
// are built once with the effect; the frame (a MainMenuFrame) is made at the first opening and
// re-attached to the host's window at every later one. A 1 ms timer redraws the step position,
// step group and pattern when the audio engine's redraw counts move on. User-interface thread.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "browser/VstBrowser.h"
#include "editor/ControlTable.h"
#include "editor/EditorLink.h"
#include "editor/HolderStrips.h"
#include "editor/MasterSection.h"
#include "editor/PatternBank.h"
#include "editor/SkinBitmaps.h"
#include "editor/StepRow.h"
#include "editor/Transport.h"
#include "toolkit/CBaseObject.h"
#include "toolkit/CControlListener.h"
#include "toolkit/CVSTGUITimer.h"
#include "toolkit/VSTGUIEditorInterface.h"

namespace editor {

class MainMenuFrame;

class Gui : public EditorLink,
            public toolkit::VSTGUIEditorInterface,
            public toolkit::CControlListener,
            public toolkit::CBaseObject {
 public:
  static constexpr const char* kSkinFolderName = "DrumSkins";

  // Takes the size factor of the configuration file and shows the instrument; no window and no
  // display connection until open.
  Gui(instrument::Instrument& instrument, GuiEnvironment environment);
  ~Gui() override;

  // Host side. ---------------------------------------------------------------------------
  // The background's size at the current scale, also before the first opening.
  EditorSize size() override;
  // parent: the host's window (an X11 Window id); without one the opening is refused.
  bool open(void* parent) override;
  // Opens with the frame drawing into its own image only (tests, pictures).
  void openOffscreen();
  void close() override;
  bool isOpen() override { return isOpen_; }
  void idle() override;
  // Keys go to the name field being edited, then to onUnusedKey; false leaves them to the host.
  bool onKeyDown(const toolkit::KeyStroke& key) override;
  // Up and Down step the selected holder's browser and load the file.
  bool onUnusedKey(const toolkit::KeyStroke& key) override;

  // The refresh timer.
  toolkit::CMessageResult notify(toolkit::CBaseObject* sender, toolkit::CMessageId message) override;
  // Every control and menu reports here: the owning section acts, and the host hears the
  // parameter's new value when the control is one.
  void valueChanged(toolkit::CControl* control) override;
  // A control's gesture: the host hears it when the control is a parameter's.
  void beginEdit(int32_t tag) override;
  void endEdit(int32_t tag) override;

  // Effect side. -------------------------------------------------------------------------
  // The folder (or file) each holder's browser view shows next.
  void setStartDirectories(const StartDirectories& directories);
  // Every control redrawn from the model.
  void refreshFromModel();
  // Displays the pattern; the sequencer selects it.
  void showPattern(int pattern);

  // Editor operations. -------------------------------------------------------------------
  // Writes the factor to the configuration file, then resizes bitmaps, controls and window.
  void setGuiScale(float scale);
  void refreshNames() { holderStrips_.refreshNames(); }

  // The view state, for the host-side tests. ----------------------------------------------
  const ControlTable& controls() const { return controls_; }
  const SkinBitmaps& skinBitmaps() const { return skin_; }
  browser::VstBrowser* browserView(int holder) const { return holderStrips_.panels().view(holder); }
  MainMenuFrame* mainMenuFrame() const { return mainMenu_; }
  int selectedHolder() const { return selection_.holder; }
  int stepGroup() const { return selection_.stepGroup; }
  int shownPattern() const { return selection_.pattern; }
  float swingAmount() const { return engine_.editorState().swingAmount; }
  const std::string& skinFolder() const { return skinFolder_; }

 private:
  // The first opening builds the frame, later ones give it the new parent (null: offscreen).
  bool attach(void* parent);
  // The view of a project that the effect loaded meanwhile (on any thread), if there is one.
  void applyLoadedProject();
  // The selection back to the first holder, pattern and step group, the open panel closed, the
  // panels to the samples folder, every control from the model.
  void resetView();
  void refreshFromTimer();
  // Every control's rectangle to the scale, then what follows the scaled bitmaps in each section.
  void scaleControls(float scale);
  std::array<Section*, 5> sections();

  GuiEnvironment environment_;
  std::string skinFolder_;
  SkinBitmaps skin_;
  ControlTable controls_;
  Selection selection_;
  StepRow stepRow_;
  HolderStrips holderStrips_;
  PatternBank patternBank_;
  Transport transport_;
  MasterSection master_;
  MainMenuFrame* mainMenu_ = nullptr;
  std::unique_ptr<toolkit::CVSTGUITimer> timer_;
  EditorSize size_;
  bool isOpen_ = false;
  // The engine's redraw counts (its EditorState) that the timer has drawn.
  struct DrawnCounts {
    uint32_t position = 0;
    uint32_t group = 0;
    uint32_t pattern = 0;
    uint32_t parameters = 0;
  } drawn_;
};

}  // namespace editor
