#include "editor/Gui.h"

#include <chrono>
#include <optional>
#include <utility>

#include "editor/BuiltInLettering.h"
#include "editor/BuiltInSkin.h"
#include "editor/ControlTags.h"
#include "editor/MainMenuFrame.h"
#include "instrument/Parameters.h"
#include "persistence/Configuration.h"
#include "platform/BoundedLock.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "toolkit/PlatformWindow.h"

namespace editor {
namespace {

using widgets::CBitmapEx;

constexpr int32_t kTimerMilliseconds = 1;

// The host parameter that a control sets, if it sets one.
std::optional<int32_t> ParameterOfControl(int32_t tag) {
  using instrument::ParameterKind;
  using namespace tags;
  for (const auto& [first, kind] : {std::pair{kVolumeKnob, ParameterKind::Volume},
                                    {kPanKnob, ParameterKind::Pan},
                                    {kPitchKnob, ParameterKind::Pitch},
                                    {kLengthKnob, ParameterKind::Length},
                                    {kSwingButton, ParameterKind::Swing},
                                    {kMuteButton, ParameterKind::Mute},
                                    {kSoloButton, ParameterKind::Solo}}) {
    if (tag >= first && tag < first + engine::kHolderCount) return instrument::ParameterIndex(kind, tag - first);
  }
  if (tag == kMasterLevelKnob) return instrument::ParameterIndex(ParameterKind::MasterLevel);
  if (tag == kSwingAmountKnob) return instrument::ParameterIndex(ParameterKind::SwingAmount);
  return std::nullopt;
}

}  // namespace

std::unique_ptr<EditorLink> MakeEditor(instrument::Instrument& instrument, GuiEnvironment environment) {
  static const bool skinInstalled = (InstallBuiltInSkin(), true);
  (void)skinInstalled;
  return std::make_unique<Gui>(instrument, std::move(environment));
}

Gui::Gui(instrument::Instrument& instrument, GuiEnvironment environment)
    : EditorLink(instrument),
      environment_(std::move(environment)),
      skinFolder_(instrument.pluginDirectory() + kSkinFolderName + platform::kPathSeparator),
      skin_(skinFolder_),
      stepRow_(controls_, this, skin_, instrument, selection_),
      holderStrips_(controls_, this, skin_, instrument, stepRow_, selection_,
                    {skinFolder_, instrument.samplesFolder()}),
      patternBank_(controls_, this, skin_, instrument, stepRow_, selection_),
      transport_(controls_, this, skin_, instrument, stepRow_),
      master_(controls_, this, skin_, instrument) {
  for (Section* section : sections()) section->place(skin_);
  LetterBuiltInKeys(controls_, skin_);
  setScale(persistence::ReadEditorScale(instrument.configurationFilePath()));
  resetView();
  instrument.setResetView([this] { resetView(); });
}

Gui::~Gui() {
  instrument_.setResetView({});
  timer_.reset();
  if (mainMenu_) mainMenu_->forget();
}

std::array<Section*, 5> Gui::sections() { return {&stepRow_, &holderStrips_, &patternBank_, &transport_, &master_}; }

EditorSize Gui::size() {
  if (!mainMenu_) {
    // Before the first opening the bitmaps are unscaled: the size they will have.
    size_.width = static_cast<int32_t>(CBitmapEx::scaledLength(scale(), skin_[skin::kBackground]->getWidth()));
    size_.height = static_cast<int32_t>(CBitmapEx::scaledLength(scale(), skin_[skin::kBackground]->getHeight()));
  }
  return size_;
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
  if (!mainMenu_) {
    const CBitmapEx* background = skin_[skin::kBackground];
    const toolkit::CRect area{0.0, 0.0, background->getWidth(), background->getHeight()};
    mainMenu_ = new MainMenuFrame(
        area, parent, this, [this](float factor) { setGuiScale(factor); }, instrument_,
        [this] { instrument_.resetAll(); });
    frame = mainMenu_;
    holderStrips_.panels().setFrame(mainMenu_);
    for (toolkit::CControl* control : controls_.all()) {
      control->remember();  // the frame's own reference
      mainMenu_->addView(control);
    }
    stepRow_.addStepNumbers(*mainMenu_, skin_);
    mainMenu_->setBackground(skin_[skin::kBackground]);
    mainMenu_->setMouseableArea(area);
    setGuiScale(scale());
    timer_ = std::make_unique<toolkit::CVSTGUITimer>(this, kTimerMilliseconds);
    timer_->start();
  } else {
    mainMenu_->open(parent);
  }
  applyLoadedProject();
  isOpen_ = true;
  // A parent in which no window can be made (no display, no such window) is refused; the
  // frame stays, offscreen, for the next opening.
  if (parent != nullptr && !mainMenu_->hasWindow()) {
    platform::ShowMessage("Error", "The editor window could not be created: " + toolkit::WindowFailureReason());
    isOpen_ = false;
    return false;
  }
  return true;
}

void Gui::close() {
  isOpen_ = false;
  // The host destroys its window next; the frame gives up its own and keeps every view.
  if (mainMenu_) mainMenu_->close();
}

void Gui::idle() {
  if (!mainMenu_ || !isOpen_) return;
  applyLoadedProject();
  mainMenu_->idle();
}

void Gui::applyLoadedProject() {
  // A load under way holds the model; its outcome is taken at a later idle.
  const platform::BoundedLock model(platform::StateMutex(), std::chrono::milliseconds(0));
  if (!model.owned()) return;
  const std::optional<instrument::LoadedProject> loaded = instrument_.takeLoadedProject();
  if (!loaded) return;
  // The loaded swing is the model's already: only the view goes back to its defaults.
  resetView();
  setStartDirectories(loaded->directories);
  showPattern(loaded->pattern);
}

bool Gui::onKeyDown(const toolkit::KeyStroke& key) {
  // A key the host forwards goes the way of a key on the editor's own window: the name field
  // being edited, then onUnusedKey. Not used, it is the host's.
  return mainMenu_ ? mainMenu_->onKeyDown(key) : onUnusedKey(key);
}

bool Gui::onUnusedKey(const toolkit::KeyStroke& key) {
  if (key.key != toolkit::VirtualKey::Up && key.key != toolkit::VirtualKey::Down) return false;
  holderStrips_.panels().step(selection_.holder, key.key == toolkit::VirtualKey::Down);
  return true;
}

void Gui::setGuiScale(float scale) {
  persistence::WriteEditorScale(instrument_.configurationFilePath(), scale);
  if (mainMenu_) mainMenu_->setSizeFromFactor(scale);
  setScale(scale);
  for (CBitmapEx* bitmap : skin_.scaled()) bitmap->restoreToOriginal();
  for (Section* section : sections()) section->place(skin_);
  for (CBitmapEx* bitmap : skin_.scaled()) bitmap->resize(scale);
  scaleControls(scale);

  const CBitmapEx* background = skin_[skin::kBackground];
  size_.width = static_cast<int32_t>(background->getWidth());
  size_.height = static_cast<int32_t>(background->getHeight());
  if (mainMenu_) {
    const toolkit::CRect area{0.0, 0.0, static_cast<double>(size_.width), static_cast<double>(size_.height)};
    mainMenu_->setViewSize(area);
    mainMenu_->setDirty();
  }
  // The host's window follows a size chosen while the editor is open (an opening asks getRect).
  if (isOpen_ && environment_.sizeWindow) environment_.sizeWindow(size_.width, size_.height);
}

void Gui::scaleControls(float scale) {
  for (toolkit::CControl* control : controls_.all()) {
    const toolkit::CRect rect = control->getViewSize().scaled(scale);
    control->setViewSize(rect);
    control->setMouseableArea(rect);
  }
  for (Section* section : sections()) section->followScale(skin_, scale);
}

void Gui::valueChanged(toolkit::CControl* control) {
  const int32_t tag = control->getTag();
  controls_.owner(tag)->valueChanged(*control);
  control->setDirty();
  // The value the rules left (a mute refused while a solo is on stays on).
  if (const auto parameter = ParameterOfControl(tag); parameter && environment_.automate) {
    environment_.automate(*parameter, instrument::ParameterValue(instrument_, *instrument::ParameterAt(*parameter)));
  }
}

void Gui::beginEdit(int32_t tag) {
  if (const auto parameter = ParameterOfControl(tag); parameter && environment_.beginEdit) {
    environment_.beginEdit(*parameter);
  }
}

void Gui::endEdit(int32_t tag) {
  if (const auto parameter = ParameterOfControl(tag); parameter && environment_.endEdit) {
    environment_.endEdit(*parameter);
  }
}

toolkit::CMessageResult Gui::notify(toolkit::CBaseObject* /*sender*/, toolkit::CMessageId message) {
  if (message != toolkit::kMsgTimer) return toolkit::kMessageUnknown;
  if (isOpen_) refreshFromTimer();
  return toolkit::kMessageNotified;
}

void Gui::refreshFromTimer() {
  // While a load holds the model the redraws wait for a later tick.
  const platform::BoundedLock model(platform::StateMutex(), std::chrono::milliseconds(0));
  if (!model.owned()) return;
  const engine::EditorState& state = engine_.editorState();
  const uint32_t position = state.positionChanges;
  const bool hidden = state.positionHidden;
  if (position != drawn_.position || hidden) {
    drawn_.position = position;
    stepRow_.showPosition(hidden);
  }
  // The counts wait while a velocity drag lasts, so that it stays on the step it began on.
  if (stepRow_.stepDragged()) return;
  if (const uint32_t group = state.groupChanges; group != drawn_.group) {
    drawn_.group = group;
    stepRow_.followCurrentStep();
  }
  if (const uint32_t pattern = state.patternChanges; pattern != drawn_.pattern) {
    drawn_.pattern = pattern;
    showPattern(engine_.clock().currentPattern());
  }
  if (const uint32_t parameters = state.parameterChanges; parameters != drawn_.parameters) {
    drawn_.parameters = parameters;
    for (Section* section : sections()) section->showParameters();
  }
}

void Gui::setStartDirectories(const StartDirectories& directories) {
  holderStrips_.panels().setStartDirectories(directories);
}

void Gui::refreshFromModel() {
  for (Section* section : sections()) section->refreshFromModel();
}

void Gui::showPattern(int pattern) { patternBank_.showPattern(pattern); }

void Gui::resetView() {
  // The open panel belonged to the holder selected until now.
  holderStrips_.panels().closeOpenPanel();
  selection_ = {};
  holderStrips_.panels().showSamplesFolder();
  refreshFromModel();
}

}  // namespace editor
