#include "editor/MainMenuFrame.h"

#include <array>
#include <cmath>
#include <string>

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

std::string Mark(bool checked) { return checked ? "[x] " : "[ ] "; }

std::string SizeText(size_t entry, bool checked) {
  return Mark(checked) + "Size of Gui " + std::to_string(kSizes[entry].percent) + "%";
}

std::string DownmixText(bool on) { return Mark(on) + "Downmix to stereo"; }

}  // namespace

MainMenuFrame::MainMenuFrame(const toolkit::CRect& size, void* parentWindow,
                             toolkit::VSTGUIEditorInterface* editorInterface, std::function<void(float)> setSize,
                             engine::KitPlayer& kitPlayer, std::function<void()> clearAll)
    : CFrame(size, parentWindow, editorInterface),
      menu_(new toolkit::COptionMenu({}, this, 0, nullptr, nullptr, toolkit::kNoDrawStyle)),
      setSize_(std::move(setSize)),
      kitPlayer_(kitPlayer),
      clearAll_(std::move(clearAll)) {
  for (size_t entry = 0; entry < kSizes.size(); ++entry) menu_->addEntry(SizeText(entry, entry == 0));
  menu_->addEntry(DownmixText(kitPlayer_.downmix()));
  menu_->addEntry("Clear all now!");
}

MainMenuFrame::~MainMenuFrame() {
  // The frame's own destructor then drops the focus without committing an edit and releases
  // the views (a menu that is up holds a reference of the frame's as well).
  menu_->forget();
}

toolkit::CMouseEventResult MainMenuFrame::onMouseDown(toolkit::CPoint& where, const toolkit::CButtonState& buttons) {
  const toolkit::CMouseEventResult result = CFrame::onMouseDown(where, buttons);
  if (result != toolkit::kMouseEventNotHandled || !buttons.isRightButton()) return result;
  // The downmix may have changed since the last opening (a reset, a loaded project).
  menu_->setEntry(kDownmixEntry, DownmixText(kitPlayer_.downmix()));
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
    SetSizeCheck(static_cast<uint8_t>(index));
  } else if (index == kDownmixEntry) {
    const bool downmix = !kitPlayer_.downmix();
    menu_->setEntry(kDownmixEntry, DownmixText(downmix));
    kitPlayer_.setDownmix(downmix);
  } else if (index == kClearAllEntry) {
    if (clearAll_) clearAll_();
  } else {
    platform::ShowMessage("Internal Error", "Not a control value.");
  }
}

void MainMenuFrame::SetSizeCheck(uint8_t entry) {
  if (sizeEntry_ < kSizeEntries) menu_->setEntry(sizeEntry_, SizeText(sizeEntry_, false));
  if (entry < kSizeEntries) menu_->setEntry(entry, SizeText(entry, true));
  sizeEntry_ = entry;
}

void MainMenuFrame::SetSizeFromFactor(float factor) {
  const auto percent = static_cast<int>(std::lround(factor * 100.0f));
  for (size_t entry = 0; entry < kSizes.size(); ++entry) {
    if (kSizes[entry].percent == percent) SetSizeCheck(static_cast<uint8_t>(entry));
  }
}

}  // namespace editor
