#include "editor/MainMenuFrame.h"

#include <array>
#include <cmath>
#include <string>

#include "editor/ControlTable.h"
#include "platform/Messages.h"
#include "widgets/ContextMenu.h"

namespace editor {
namespace {

struct SizeEntry {
  float factor;
  int percent;
};

constexpr std::array<SizeEntry, MainMenuFrame::kSizeEntries> kSizes{
    {{1.0f, 100}, {0.9f, 90}, {0.8f, 80}, {0.75f, 75}, {0.7f, 70}, {0.65f, 65}, {0.6f, 60}}};

std::string SizeText(size_t entry, bool checked) {
  return CheckMark(checked) + "Size of Gui " + std::to_string(kSizes[entry].percent) + "%";
}

std::string DownmixText(bool on) { return CheckMark(on) + "Downmix to stereo"; }

// On: the pitch in true semitones and samples at the session's rate; off: the Classic sound.
std::string TunedSoundText(bool on) { return CheckMark(on) + "Tuned sound"; }

}  // namespace

MainMenuFrame::MainMenuFrame(const toolkit::CRect& size, void* parentWindow,
                             toolkit::VSTGUIEditorInterface* editorInterface, std::function<void(float)> setSize,
                             instrument::Instrument& instrument, std::function<void()> clearAll)
    : CFrame(size, parentWindow, editorInterface),
      menu_(new toolkit::COptionMenu({}, this, 0, nullptr, nullptr, toolkit::kNoDrawStyle)),
      setSize_(std::move(setSize)),
      instrument_(instrument),
      clearAll_(std::move(clearAll)) {
  for (size_t entry = 0; entry < kSizes.size(); ++entry) menu_->addEntry(SizeText(entry, entry == 0));
  menu_->addEntry(DownmixText(false));
  menu_->addEntry(TunedSoundText(false));
  menu_->addEntry("Export all patterns as MIDI file");
  menu_->addEntry("Clear all now!");
  showSettings();
}

MainMenuFrame::~MainMenuFrame() {
  // The frame's own destructor then drops the focus without committing an edit and releases
  // the views (a menu that is up holds a reference of the frame's as well).
  menu_->forget();
}

toolkit::CMouseEventResult MainMenuFrame::onMouseDown(toolkit::CPoint& where, const toolkit::CButtonState& buttons) {
  const toolkit::CMouseEventResult result = CFrame::onMouseDown(where, buttons);
  if (result != toolkit::kMouseEventNotHandled || !buttons.isRightButton()) return result;
  // A reset or a loaded project may have changed them since the last opening.
  showSettings();
  widgets::PopUpContextMenu(*this, menu_, where, buttons);
  return toolkit::kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void MainMenuFrame::valueChanged(toolkit::CControl* control) {
  if (control->getTag() != 0) return;
  chooseEntry(menu_->getCurrentIndex());
}

void MainMenuFrame::chooseEntry(int32_t index) {
  if (index >= 0 && index < kSizeEntries) {
    setSize_(kSizes[static_cast<size_t>(index)].factor);
    setSizeCheck(static_cast<uint8_t>(index));
  } else if (index == kDownmixEntry) {
    engine::KitPlayer& kitPlayer = instrument_.engine().kitPlayer();
    kitPlayer.setDownmix(!kitPlayer.downmix());
    showSettings();
  } else if (index == kTunedSoundEntry) {
    const bool tuned = instrument_.soundMode() == engine::SoundMode::Tuned;
    instrument_.setSoundMode(tuned ? engine::SoundMode::Classic : engine::SoundMode::Tuned);
    showSettings();
  } else if (index == kExportAllEntry) {
    ExportAsMidiFile(instrument_, std::nullopt);
  } else if (index == kClearAllEntry) {
    if (clearAll_) clearAll_();
  } else {
    platform::ShowMessage("Internal Error", "Not a control value.");
  }
}

void MainMenuFrame::showSettings() {
  menu_->setEntry(kDownmixEntry, DownmixText(instrument_.engine().kitPlayer().downmix()));
  menu_->setEntry(kTunedSoundEntry, TunedSoundText(instrument_.soundMode() == engine::SoundMode::Tuned));
}

void MainMenuFrame::setSizeCheck(uint8_t entry) {
  if (sizeEntry_ < kSizeEntries) menu_->setEntry(sizeEntry_, SizeText(sizeEntry_, false));
  if (entry < kSizeEntries) menu_->setEntry(entry, SizeText(entry, true));
  sizeEntry_ = entry;
}

void MainMenuFrame::setSizeFromFactor(float factor) {
  const auto percent = static_cast<int>(std::lround(factor * 100.0f));
  for (size_t entry = 0; entry < kSizes.size(); ++entry) {
    if (kSizes[entry].percent == percent) setSizeCheck(static_cast<uint8_t>(entry));
  }
}

}  // namespace editor
