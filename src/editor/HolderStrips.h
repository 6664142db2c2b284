// The twelve holder strips: for each holder its select button (with the holder menu, and the
// mark of the holder's choke group), name field,
// file step and preview buttons, pan, volume, pitch and length knobs, swing, browse, mute and solo
// buttons, and its browser panel, shown in the editor while its browse button is on.
#pragma once

#include <memory>

#include "editor/BrowserPanels.h"
#include "editor/ControlTable.h"
#include "editor/Section.h"
#include "editor/StepRow.h"
#include "engine/Kit.h"
#include "instrument/Instrument.h"

namespace editor {

class HolderStrips : public Section {
 public:
  // Makes the controls, then the holders' browser panels, which report to the browse buttons.
  HolderStrips(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
               instrument::Instrument& instrument, StepRow& stepRow, Selection& selection,
               BrowserPanels::Setting panelSetting);

  void place(const SkinBitmaps& skin) override;
  void followScale(const SkinBitmaps& skin, float scale) override;
  void valueChanged(toolkit::CControl& control) override;
  void refreshFromModel() override;
  void showParameters() override;

  void refreshNames();
  BrowserPanels& panels() { return *panels_; }
  const BrowserPanels& panels() const { return *panels_; }

 private:
  void selectHolder(int holder, float value);
  void holderMenu(int holder, int choice);
  void browseButton(int holder, float value);
  // The holder's knobs, swing button and choke group (mark and menu check) from the model.
  void showHolder(int index);
  // Every mute and solo button from the holders' mute states and solos; mute buttons of holders
  // muted by a solo look dimmer than those the user muted.
  void showMuteAndSolo();
  engine::SampleHolder& holder(int index);

  ControlTable& controls_;
  instrument::Instrument& instrument_;
  engine::Kit& kit_;
  StepRow& stepRow_;
  Selection& selection_;
  std::unique_ptr<BrowserPanels> panels_;
};

}  // namespace editor
