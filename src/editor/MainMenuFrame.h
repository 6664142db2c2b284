// The editor's frame, with the main menu that a right click on a spot no control takes opens:
// seven editor sizes, the downmix to stereo, Tuned sound, the export of all patterns as a MIDI
// file, and "Clear all now!". Check marks are text prefixes, "[x] " for the chosen entry and
// "[ ] " for the others.
#pragma once

#include <cstdint>
#include <functional>

#include "instrument/Instrument.h"
#include "toolkit/CControlListener.h"
#include "toolkit/CFrame.h"
#include "toolkit/COptionMenu.h"

namespace editor {

class MainMenuFrame : public toolkit::CFrame, public toolkit::CControlListener {
 public:
  static constexpr int32_t kSizeEntries = 7;
  static constexpr int32_t kDownmixEntry = 7;
  static constexpr int32_t kTunedSoundEntry = 8;
  static constexpr int32_t kExportAllEntry = 9;
  static constexpr int32_t kClearAllEntry = 10;

  // setSize: the editor's change of size factor; clearAll: the effect's reset all.
  MainMenuFrame(const toolkit::CRect& size, void* parentWindow, toolkit::VSTGUIEditorInterface* editorInterface,
                std::function<void(float)> setSize, instrument::Instrument& instrument, std::function<void()> clearAll);
  ~MainMenuFrame() override;

  // A right click that no view takes opens the menu 2 pixels below the pointer.
  toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where, const toolkit::CButtonState& buttons) override;
  void valueChanged(toolkit::CControl* control) override;

  // Moves the size mark to that entry (7 or more: no size entry is marked).
  void setSizeCheck(uint8_t entry);
  // Marks the size entry of that factor; a factor that is none of the seven sizes changes nothing.
  void setSizeFromFactor(float factor);

  const toolkit::COptionMenu& menu() const { return *menu_; }
  uint8_t sizeEntry() const { return sizeEntry_; }

 private:
  void chooseEntry(int32_t index);
  // The entries that show a setting the instrument may have changed since the last opening.
  void showSettings();

  uint8_t sizeEntry_ = 0;
  toolkit::COptionMenu* menu_;
  std::function<void(float)> setSize_;
  instrument::Instrument& instrument_;
  std::function<void()> clearAll_;
};

}  // namespace editor
