#include "editor/Gui.h"

#include <algorithm>
#include <cmath>

#include "editor/BuiltInLettering.h"
#include "editor/MainMenuFrame.h"
#include "editor/StepNumbers.h"
#include "persistence/Configuration.h"
#include "platform/BoundedLock.h"
#include "platform/Messages.h"
#include "platform/Paths.h"

namespace editor {
namespace {

constexpr int32_t kTimerMilliseconds = 1;

// Holder names get smaller as the editor does. The factor is single precision and the bounds
// double, so the menu's 0.9 and 0.7 fall below them. Below 100 % the name field's height
// shrinks faster than these steps, so the size is also kept within the field (11 at 100 %,
// scaled): letters taller than the field would be cut off at top and bottom.
double NameFontSize(float scale) {
  constexpr double kDesignedSize = 11.0;
  const double step = scale >= 0.9 ? 11.0 : scale >= 0.7 ? 10.0 : 9.0;
  return std::min(step, kDesignedSize * scale);
}

toolkit::KeyStroke ToKeyStroke(const vst::VstKeyCode& key) {
  toolkit::KeyStroke stroke;
  stroke.character = static_cast<char32_t>(key.character);
  switch (key.virt) {
    case vst::VKEY_RETURN: stroke.key = toolkit::VirtualKey::Return; break;
    case vst::VKEY_ESCAPE: stroke.key = toolkit::VirtualKey::Escape; break;
    case vst::VKEY_BACK: stroke.key = toolkit::VirtualKey::Back; break;
    case vst::VKEY_DELETE: stroke.key = toolkit::VirtualKey::Delete; break;
    case vst::VKEY_LEFT: stroke.key = toolkit::VirtualKey::Left; break;
    case vst::VKEY_RIGHT: stroke.key = toolkit::VirtualKey::Right; break;
    case vst::VKEY_TAB: stroke.key = toolkit::VirtualKey::Tab; break;
    case vst::VKEY_UP: stroke.key = toolkit::VirtualKey::Up; break;
    case vst::VKEY_DOWN: stroke.key = toolkit::VirtualKey::Down; break;
    default: break;
  }
  return stroke;
}

}  // namespace

Gui::Gui(vst::AudioEffect* effect, engine::DrumEngine& engine, GuiEnvironment environment)
    : AEffEditor(effect),
      EditorLink(engine),
      environment_(std::move(environment)),
      skinFolder_(environment_.pluginDirectory + kSkinFolderName + platform::kPathSeparator),
      skin_(skinFolder_),
      controls_(this, skin_, engine.kit()) {
  createBrowsers();
  controls_.place(skin_);
  LetterBuiltInKeys(controls_, skin_);
}

Gui::~Gui() {
  timer_.reset();
  if (mainMenu_) mainMenu_->forget();
  for (browser::VstBrowser* view : browsers_) {
    if (view) view->forget();
  }
}

void Gui::createBrowsers() {
  // They exist from the start, so a project load always finds them to navigate.
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    auto* view = new browser::VstBrowser(browser::kBrowserPanelRect, nullptr, controls_[tags::kBrowseButton + holder],
                                         skinFolder_, skin_.browserIcons());
    view->SetFilter(browser::kSampleFileTypes);
    browsers_[static_cast<size_t>(holder)] = view;
  }
}

void Gui::addStepNumbers() {
  // A skin's own background has its numbers painted in.
  if (!skin_[skin::kBackground]->isBuiltIn()) return;
  StepNumbers::StepButtons steps{};
  for (int m = 0; m < tags::kStepsShown; ++m) steps[static_cast<size_t>(m)] = controls_[tags::kStepButton + m];
  stepNumbers_ = new StepNumbers(steps);
  stepNumbers_->setGroup(stepGroup_);
  mainMenu_->addView(stepNumbers_);  // the frame's reference is the only one
}

bool Gui::getRect(vst::ERect** rect) {
  if (!mainMenu_) {
    // Before the first opening the bitmaps are unscaled: the size they will have.
    rect_.right = static_cast<int16_t>(CBitmapEx::ScaledLength(scale(), skin_[skin::kBackground]->getWidth()));
    rect_.bottom = static_cast<int16_t>(CBitmapEx::ScaledLength(scale(), skin_[skin::kBackground]->getHeight()));
  }
  *rect = &rect_;
  return true;
}

bool Gui::open(void* parent) {
  // A host must give its window; without one nothing could be shown.
  return parent != nullptr && attach(parent);
}

void Gui::openOffscreen() { attach(nullptr); }

bool Gui::attach(void* parent) {
  {
    // An opening waits while the effect is built or a project loads.
    const platform::BoundedLock wait(platform::StateMutex());
  }
  systemWindow_ = parent;
  if (!mainMenu_) {
    const CBitmapEx* background = skin_[skin::kBackground];
    const toolkit::CRect area{0.0, 0.0, background->getWidth(), background->getHeight()};
    mainMenu_ = new MainMenuFrame(area, parent, this, *this, engine_.kitPlayer(), environment_.resetAll);
    frame = mainMenu_;
    for (toolkit::CControl* control : controls_.all()) {
      control->remember();  // the frame's own reference
      mainMenu_->addView(control);
    }
    addStepNumbers();
    mainMenu_->setBackground(skin_[skin::kBackground]);
    mainMenu_->setMouseableArea(area);
    setGuiScale(scale());
    timer_ = std::make_unique<toolkit::CVSTGUITimer>(this, kTimerMilliseconds);
    timer_->start();
  } else {
    mainMenu_->open(parent);
  }
  isOpen_ = true;
  // A parent in which no window can be made (no display, no such window) is refused; the
  // frame stays, offscreen, for the next opening.
  if (parent != nullptr && !mainMenu_->hasWindow()) {
    platform::ShowMessage("Error", "The editor window could not be created: the X display cannot be reached or the "
                                   "host's window does not exist.");
    isOpen_ = false;
    return false;
  }
  return true;
}

void Gui::close() {
  isOpen_ = false;
  // The host destroys its window next; the frame gives up its own and keeps every view.
  if (mainMenu_) mainMenu_->close();
  systemWindow_ = nullptr;
}

void Gui::idle() {
  if (mainMenu_ && isOpen_) mainMenu_->idle();
}

bool Gui::onKeyDown(vst::VstKeyCode& key) {
  // A key the host forwards goes the way of a key on the editor's own window: the name field
  // being edited, then onUnusedKey. Not used, it is the host's (the dispatcher answers 0).
  const toolkit::KeyStroke stroke = ToKeyStroke(key);
  return mainMenu_ ? mainMenu_->onKeyDown(stroke) : onUnusedKey(stroke);
}

bool Gui::onUnusedKey(const toolkit::KeyStroke& key) {
  if (key.key != toolkit::VirtualKey::Up && key.key != toolkit::VirtualKey::Down) return false;
  stepBrowser(selectedHolder_, key.key == toolkit::VirtualKey::Down);
  return true;
}

void Gui::setGuiScale(float scale) {
  persistence::WriteEditorScale(environment_.configurationFile, scale);
  if (mainMenu_) mainMenu_->SetSizeFromFactor(scale);
  setScale(scale);
  for (CBitmapEx* bitmap : skin_.scaled()) bitmap->RestoreToOriginal();
  controls_.place(skin_);
  for (CBitmapEx* bitmap : skin_.scaled()) bitmap->Resize(scale);
  placeAndScaleControls(scale);
  if (stepNumbers_) stepNumbers_->place(scale);
  for (browser::VstBrowser* view : browsers_) view->SetScale(scale);

  const CBitmapEx* background = skin_[skin::kBackground];
  rect_.right = static_cast<int16_t>(background->getWidth());
  rect_.bottom = static_cast<int16_t>(background->getHeight());
  if (mainMenu_) {
    const toolkit::CRect area{0.0, 0.0, static_cast<double>(rect_.right), static_cast<double>(rect_.bottom)};
    mainMenu_->setViewSize(area);
    mainMenu_->setDirty();
  }
}

void Gui::placeAndScaleControls(float scale) {
  for (toolkit::CControl* control : controls_.all()) {
    const toolkit::CRect rect = control->getViewSize().scaled(scale);
    control->setViewSize(rect);
    control->setMouseableArea(rect);
  }
  const auto imageHeight = [this](size_t strip, double images) { return skin_[strip]->getHeight() / images; };
  const double fontSize = NameFontSize(scale);
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    controls_.knob(tags::kPanKnob + holder)->setImageHeight(imageHeight(skin::kPanStrip, skin::kKnobImages));
    controls_.knob(tags::kVolumeKnob + holder)->setImageHeight(imageHeight(skin::kVolumeStrip, skin::kKnobImages));
    controls_.knob(tags::kLengthKnob + holder)->setImageHeight(imageHeight(skin::kLengthStrip, skin::kKnobImages));
    controls_.knob(tags::kPitchKnob + holder)->setImageHeight(imageHeight(skin::kPitchStrip, skin::kKnobImages));
    controls_.nameField(holder)->setFont(toolkit::ArialFont(fontSize));
    // The file buttons pick their pressed image by height, which follows the scaled bitmaps.
    for (int32_t base : {tags::kPreviousFile, tags::kNextFile}) {
      static_cast<toolkit::CKickButton*>(controls_[base + holder])
          ->setHeightOfOneImage(controls_[base + holder]->getBackground()->getHeight() / 2.0);
    }
  }
  controls_.knob(tags::kSwingAmountKnob)->setImageHeight(imageHeight(skin::kSwingAmountStrip, skin::kKnobImages));
  controls_.knob(tags::kMasterLevelKnob)->setImageHeight(imageHeight(skin::kMasterLevelStrip, skin::kKnobImages));
  // The selectors pick their state's image by height as well.
  controls_.selector(tags::kResolutionSelector)->setImageHeight(imageHeight(skin::kResolution, 4));
  controls_.selector(tags::kSequencerModeSelector)->setImageHeight(imageHeight(skin::kSequencerMode, 4));
}

toolkit::CMessageResult Gui::notify(toolkit::CBaseObject* /*sender*/, toolkit::CMessageId message) {
  if (message != toolkit::kMsgTimer) return toolkit::kMessageUnknown;
  if (isOpen_) refreshFromTimer();
  return toolkit::kMessageNotified;
}

void Gui::refreshFromTimer() {
  engine::EditorState& state = engine_.editorState();
  const engine::StepSequencer& sequencer = engine_.sequencer();
  if (state.positionChanged || state.positionHidden) {
    state.positionChanged = false;
    for (int m = 0; m < tags::kStepsShown; ++m) setControl(tags::kPositionLed + m, 0.0f);
    if (!state.positionHidden) setControl(tags::kPositionLed + sequencer.currentStep() % tags::kStepsShown, 1.0f);
  }
  if (state.groupChanged) {
    state.groupChanged = false;
    showStepGroup(sequencer.currentStep() / tags::kStepsShown);
  }
  if (state.patternChanged) {
    state.patternChanged = false;
    showPattern(sequencer.currentPattern());
  }
}

}  // namespace editor
