#include "editor/MasterSection.h"

namespace editor {
using namespace tags;

MasterSection::MasterSection(ControlTable& controls, toolkit::CControlListener* listener, const SkinBitmaps& skin,
                             instrument::Instrument& instrument)
    : controls_(controls), instrument_(instrument), engine_(instrument.engine()) {
  toolkit::COptionMenu* masterMenu = NewResetMenu(listener, kMasterMenu);
  controls_.add(*this, masterMenu);
  controls_.add(*this, NewKnob(listener, kMasterLevelKnob, skin[skin::kMasterLevelStrip], masterMenu));
  controls_.add(*this, NewKnob(listener, kSwingAmountKnob, skin[skin::kSwingAmountStrip], nullptr));
}

void MasterSection::place(const SkinBitmaps& skin) {
  Put(controls_[kMasterLevelKnob], Strip(1062, 129, skin[skin::kMasterLevelStrip], skin::kKnobImages));
  Put(controls_[kSwingAmountKnob], Strip(1062, 174, skin[skin::kSwingAmountStrip], skin::kKnobImages));
}

void MasterSection::followScale(const SkinBitmaps& skin, float /*scale*/) {
  controls_.knob(kSwingAmountKnob)->setImageHeight(ImageHeight(skin, skin::kSwingAmountStrip, skin::kKnobImages));
  controls_.knob(kMasterLevelKnob)->setImageHeight(ImageHeight(skin, skin::kMasterLevelStrip, skin::kKnobImages));
}

void MasterSection::valueChanged(toolkit::CControl& control) {
  switch (control.getTag()) {
    case kSwingAmountKnob:
      instrument_.setSwingAmount(control.getValue());
      break;
    case kMasterLevelKnob:
      instrument_.setMasterLevel(control.getValue());
      break;
    default:
      if (static_cast<toolkit::COptionMenu&>(control).getCurrentIndex() != 0) {
        ShowNotImplemented();
      } else {
        instrument_.resetMasterLevel();
        controls_.setValue(kMasterLevelKnob, engine_.kitPlayer().masterLevel());
      }
      break;
  }
}

void MasterSection::refreshFromModel() {
  controls_.setValue(kSwingAmountKnob, engine_.patterns().swingAmount());
  controls_.setValue(kMasterLevelKnob, engine_.kitPlayer().masterLevel());
}

}  // namespace editor
