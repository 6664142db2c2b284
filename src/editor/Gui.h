// The plug-in's editor: its skin, its 283 controls and twelve browser views are built once with
// the effect; the frame (a MainMenuFrame) is made at the first opening and re-attached to the
// host's window at every later one. A 1 ms timer redraws the step position, step group and
// pattern from the flags that the audio engine sets. User-interface thread throughout.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "browser/VstBrowser.h"
#include "editor/ControlTable.h"
#include "editor/SkinBitmaps.h"
#include "engine/DrumEngine.h"
#include "plugin/EditorLink.h"
#include "toolkit/CBaseObject.h"
#include "toolkit/CControlListener.h"
#include "toolkit/CVSTGUITimer.h"
#include "toolkit/VSTGUIEditorInterface.h"
#include "vst/AEffEditor.h"
#include "vst/AudioEffect.h"

namespace editor {

class MainMenuFrame;
class StepNumbers;

// Where the editor finds its files, and the effect's reset that "Clear all now!" runs.
struct GuiEnvironment {
  std::string pluginDirectory;    // ends with the path separator
  std::string configurationFile;  // receives the size factor
  std::string samplesFolder;      // where the browsers go back to on a reset or a file click
  std::function<void()> resetAll;
};

class Gui : public vst::AEffEditor,
            public toolkit::VSTGUIEditorInterface,
            public toolkit::CControlListener,
            public toolkit::CBaseObject,
            public plugin::EditorLink {
 public:
  static constexpr const char* kSkinFolderName = "DrumSkins";

  // No window and no display connection until open.
  Gui(vst::AudioEffect* effect, engine::DrumEngine& engine, GuiEnvironment environment);
  ~Gui() override;

  // Host side. ---------------------------------------------------------------------------
  // The background's size at the current scale, also before the first opening.
  bool getRect(vst::ERect** rect) override;
  // parent: the host's window (an X11 Window id); without one the opening is refused.
  bool open(void* parent) override;
  // Opens with the frame drawing into its own image only (tests, pictures).
  void openOffscreen();
  void close() override;
  bool isOpen() override { return isOpen_; }
  void idle() override;
  // Keys go to the name field being edited, then to onUnusedKey; false leaves them to the host.
  bool onKeyDown(vst::VstKeyCode& key) override;
  // Up and Down step the selected holder's browser and load the file.
  bool onUnusedKey(const toolkit::KeyStroke& key) override;

  // The refresh timer.
  toolkit::CMessageResult notify(toolkit::CBaseObject* sender, toolkit::CMessageId message) override;
  // Every control and menu reports here.
  void valueChanged(toolkit::CControl* control) override;

  // Effect side. -------------------------------------------------------------------------
  void setStartDirectories(const StartDirectories& directories) override;
  void reset() override { editorReset(); }
  void refreshFromModel() override;
  void showPattern(int pattern) override;

  // Editor operations. -------------------------------------------------------------------
  // Writes the factor to the configuration file, then resizes bitmaps, controls and window.
  void setGuiScale(float scale);
  void showSteps();
  void showStepGroup(int group);
  void refreshNames();
  void copyHolderToHolder(int from, int to);
  void LoadSampleFromBrowser(uint8_t note, const std::string& path);
  void editorReset();

  // The view state, for the host-side tests. ----------------------------------------------
  const ControlTable& controls() const { return controls_; }
  const SkinBitmaps& skinBitmaps() const { return skin_; }
  browser::VstBrowser* browserView(int holder) const { return browsers_[static_cast<size_t>(holder)]; }
  MainMenuFrame* mainMenuFrame() const { return mainMenu_; }
  int selectedHolder() const { return selectedHolder_; }
  int stepGroup() const { return stepGroup_; }
  int shownPattern() const { return shownPattern_; }
  float swingAmount() const { return engine_.editorState().swingAmount; }
  const std::string& skinFolder() const { return skinFolder_; }

 private:
  // The first opening builds the frame, later ones give it the new parent (null: offscreen).
  bool attach(void* parent);
  void createBrowsers();
  // With the built-in background, the numbers under the step buttons follow the step group.
  void addStepNumbers();
  void refreshFromTimer();
  void placeAndScaleControls(float scale);
  void setControl(int32_t tag, float value);
  bool isOn(int32_t tag) const;
  void report(int32_t tag, float value);
  void attachBrowser(int holder);
  void detachBrowser(int holder);
  bool anySolo() const;
  void selectHolder(int holder, float value);
  void browseButton(int holder, float value);
  // Steps the holder's browser to its next or previous file and loads it.
  void stepBrowser(int holder, bool next);
  void muteButton(int holder, float value);
  void soloButton(int holder, float value);
  // Mute buttons of holders muted by a solo look dimmer than those the user muted.
  void showMutedBySolo();
  void syncModeButton(int32_t tag, float value);
  void patternMenu(int button, int choice);
  void showResolution(int pattern);
  engine::Kit& kit() { return engine_.kit(); }

  GuiEnvironment environment_;
  std::string skinFolder_;
  SkinBitmaps skin_;
  ControlTable controls_;
  std::array<browser::VstBrowser*, engine::kHolderCount> browsers_{};
  MainMenuFrame* mainMenu_ = nullptr;
  StepNumbers* stepNumbers_ = nullptr;  // held by the frame; none with a skin's background
  std::unique_ptr<toolkit::CVSTGUITimer> timer_;
  vst::ERect rect_{};
  bool isOpen_ = false;
  int selectedHolder_ = 0;  // holder index; its select button's tag is 48 + index
  int stepGroup_ = 0;
  int shownPattern_ = 0;
};

}  // namespace editor
