#include "editor/ControlTable.h"

#include "platform/Messages.h"

namespace editor {

ControlTable::~ControlTable() {
  for (toolkit::CControl* control : controls_) {
    if (control) control->forget();
  }
}

void ControlTable::add(Section& owner, toolkit::CControl* control) {
  const auto tag = static_cast<size_t>(control->getTag());
  controls_[tag] = control;
  owners_[tag] = &owner;
}

widgets::CAnimKnobExWithMenu* ControlTable::knob(int32_t tag) const {
  return static_cast<widgets::CAnimKnobExWithMenu*>(controls_[static_cast<size_t>(tag)]);
}

widgets::CMultiStateButtonWithMenu* ControlTable::selector(int32_t tag) const {
  return static_cast<widgets::CMultiStateButtonWithMenu*>(controls_[static_cast<size_t>(tag)]);
}

toolkit::COptionMenu* ControlTable::menu(int32_t tag) const {
  return static_cast<toolkit::COptionMenu*>(controls_[static_cast<size_t>(tag)]);
}

toolkit::CTextEdit* ControlTable::nameField(int holder) const {
  return static_cast<toolkit::CTextEdit*>(controls_[static_cast<size_t>(tags::kNameField + holder)]);
}

toolkit::COptionMenu* NewMenu(toolkit::CControlListener* listener, int32_t tag) {
  return new toolkit::COptionMenu({}, listener, tag, nullptr, nullptr, toolkit::kNoDrawStyle);
}

toolkit::COptionMenu* NewResetMenu(toolkit::CControlListener* listener, int32_t tag) {
  toolkit::COptionMenu* menu = NewMenu(listener, tag);
  menu->addEntry("Reset to default value");
  return menu;
}

widgets::CAnimKnobExWithMenu* NewKnob(toolkit::CControlListener* listener, int32_t tag, toolkit::CBitmap* strip,
                                      toolkit::COptionMenu* menu) {
  const double imageHeight = strip->getHeight() / skin::kKnobImages;
  return new widgets::CAnimKnobExWithMenu({0.0, 0.0, strip->getWidth(), imageHeight}, listener, tag, skin::kKnobImages,
                                          imageHeight, strip, {}, menu);
}

widgets::CMultiStateButtonWithMenu* NewSelector(toolkit::CControlListener* listener, int32_t tag,
                                                toolkit::CBitmap* strip) {
  const double imageHeight = strip->getHeight() * 0.25;
  return new widgets::CMultiStateButtonWithMenu({0.0, 0.0, strip->getWidth(), imageHeight}, listener, tag, 4,
                                                imageHeight, strip, {}, nullptr);
}

std::string CheckMark(bool checked) { return checked ? "[x] " : "[ ] "; }

void ShowNotImplemented() { platform::ShowMessage("Message", "Not implemented yet"); }

void ExportAsMidiFile(instrument::Instrument& instrument, std::optional<int> pattern) {
  const instrument::ExportResult result = instrument.exportPatternsAsMidi(pattern);
  if (result.written) {
    platform::ShowMessage("Information", "The MIDI file was written to " + result.path);
  } else {
    platform::ShowMessage("Error", "The MIDI file was not written. " + result.reason);
  }
}

void Put(toolkit::CControl* control, const toolkit::CRect& rect) {
  control->setViewSize(rect);
  control->setMouseableArea(rect);
}

toolkit::CRect TwoState(double left, double top, const toolkit::CBitmap* bitmap) {
  return {left, top, left + bitmap->getWidth(), top + bitmap->getHeight() / 2.0};
}

toolkit::CRect Strip(double left, double top, const toolkit::CBitmap* strip, double images) {
  return {left, top, left + strip->getWidth(), top + strip->getHeight() / images};
}

double ImageHeight(const SkinBitmaps& skin, size_t strip, double images) { return skin[strip]->getHeight() / images; }

}  // namespace editor
