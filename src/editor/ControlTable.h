// The editor's 283 controls and context menus, indexed by tag, each with the section that owns
// it; and the helpers with which the sections make and place their controls. Every control and
// menu reports to one listener, the editor, which hands the change to the owner.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "editor/ControlTags.h"
#include "editor/Section.h"
#include "instrument/Instrument.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CControl.h"
#include "toolkit/CControlListener.h"
#include "toolkit/COptionMenu.h"
#include "toolkit/CTextEdit.h"
#include "widgets/CAnimKnobExWithMenu.h"
#include "widgets/CMultiStateButtonWithMenu.h"

namespace editor {

class ControlTable {
 public:
  ControlTable() = default;
  // Lets go of the table's reference to each control (a frame holds its own).
  ~ControlTable();
  ControlTable(const ControlTable&) = delete;
  ControlTable& operator=(const ControlTable&) = delete;

  // Takes the control into the table at its tag, owned by the section.
  void add(Section& owner, toolkit::CControl* control);

  // tag 0..282.
  toolkit::CControl* operator[](int32_t tag) const { return controls_[static_cast<size_t>(tag)]; }
  Section* owner(int32_t tag) const { return owners_[static_cast<size_t>(tag)]; }
  const std::array<toolkit::CControl*, tags::kControlCount>& all() const { return controls_; }
  widgets::CAnimKnobExWithMenu* knob(int32_t tag) const;
  widgets::CMultiStateButtonWithMenu* selector(int32_t tag) const;
  toolkit::COptionMenu* menu(int32_t tag) const;
  toolkit::CTextEdit* nameField(int holder) const;

  void setValue(int32_t tag, float value) const { (*this)[tag]->setValue(value); }
  bool isOn(int32_t tag) const { return (*this)[tag]->getValue() == 1.0f; }

 private:
  std::array<toolkit::CControl*, tags::kControlCount> controls_{};
  std::array<Section*, tags::kControlCount> owners_{};
};

// Making controls. ------------------------------------------------------------------------------
// A context menu that draws nothing itself; entries are added by the caller.
toolkit::COptionMenu* NewMenu(toolkit::CControlListener* listener, int32_t tag);
// A knob over a strip of 127 images; the menu (if any) shows on a right click.
widgets::CAnimKnobExWithMenu* NewKnob(toolkit::CControlListener* listener, int32_t tag, toolkit::CBitmap* strip,
                                      toolkit::COptionMenu* menu);
// A four-state selector; its menu is never shown, so it has none.
widgets::CMultiStateButtonWithMenu* NewSelector(toolkit::CControlListener* listener, int32_t tag,
                                                toolkit::CBitmap* strip);
// The menu of the pan, pitch and master level knobs: one entry, the reset to the default value.
toolkit::COptionMenu* NewResetMenu(toolkit::CControlListener* listener, int32_t tag);
// A menu entry's check mark, a prefix of its text: "[x] " for the chosen, "[ ] " for the others.
std::string CheckMark(bool checked);
// What a menu entry that does nothing yet tells the user.
void ShowNotImplemented();
// The menus' MIDI export: the pattern (or all of them) written as a MIDI file, and a message
// that says where it went or why it was not written.
void ExportAsMidiFile(instrument::Instrument& instrument, std::optional<int> pattern);

// Placing controls. -----------------------------------------------------------------------------
void Put(toolkit::CControl* control, const toolkit::CRect& rect);
// A control of a two-state bitmap (one image is half its height) at left, top.
toolkit::CRect TwoState(double left, double top, const toolkit::CBitmap* bitmap);
// A control of a strip of images at left, top.
toolkit::CRect Strip(double left, double top, const toolkit::CBitmap* strip, double images);
// The height of one image of a skin strip as it is now.
double ImageHeight(const SkinBitmaps& skin, size_t strip, double images);

}  // namespace editor
