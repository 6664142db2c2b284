#include "editor/BrowserPanels.h"

#include "samples/SampleLoader.h"

namespace editor {

BrowserPanels::BrowserPanels(ControlTable& controls, const SkinBitmaps& skin, engine::Kit& kit, Setting setting)
    : controls_(controls), kit_(kit), setting_(std::move(setting)) {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    auto* panel = new browser::VstBrowser(browser::kBrowserPanelRect, nullptr, controls_[tags::kBrowseButton + holder],
                                          setting_.skinFolder, skin.browserIcons(), this);
    panel->setFilter(browser::kSampleFileTypes);
    views_[static_cast<size_t>(holder)] = panel;
  }
}

BrowserPanels::~BrowserPanels() {
  for (browser::VstBrowser* panel : views_) panel->forget();
}

void BrowserPanels::fileClicked(browser::VstBrowser& panel, bool doubleClick) {
  int holder = 0;
  while (holder < engine::kHolderCount && view(holder) != &panel) ++holder;
  if (holder == engine::kHolderCount) return;
  const int32_t tag = tags::kBrowseButton + holder;
  if (doubleClick) {
    // The first click of the double click loaded the file; the second closes the panel.
    controls_.setValue(tag, 0.0f);
    hide(holder);
  } else {
    // The button shows again that the panel is open.
    controls_.setValue(tag, 1.0f);
    showSamplesFolder();
    const std::string path = panel.getSelectedPath();
    if (!path.empty()) loadSampleFromBrowser(static_cast<uint8_t>(engine::kFirstNote + holder), path);
  }
  controls_[tag]->setDirty();
  redrawFrame();
}

void BrowserPanels::show(int holder) {
  browser::VstBrowser* panel = view(holder);
  if (frame_ && !frame_->isChild(panel)) {
    panel->remember();  // the frame's own reference
    frame_->addView(panel);
  }
  panel->showListing();
}

void BrowserPanels::hide(int holder) {
  browser::VstBrowser* panel = view(holder);
  if (frame_ && frame_->isChild(panel)) frame_->removeView(panel, true);
}

void BrowserPanels::closeOpenPanel() {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    const int32_t button = tags::kBrowseButton + holder;
    if (!controls_.isOn(button)) continue;
    controls_.setValue(button, 0.0f);
    hide(holder);
    redrawFrame();
  }
}

void BrowserPanels::redrawFrame() {
  if (frame_) frame_->setDirty();
}

void BrowserPanels::step(int holder, bool next) {
  browser::VstBrowser* panel = view(holder);
  const std::string path = next ? panel->next() : panel->previous();
  if (!path.empty()) loadSampleFromBrowser(static_cast<uint8_t>(engine::kFirstNote + holder), path);
}

void BrowserPanels::loadSampleFromBrowser(uint8_t note, const std::string& path) {
  if (!engine::IsHolderNote(note)) return;
  const int holder = note - engine::kFirstNote;
  engine::SampleHolder& loaded = kit_.holder(note);
  const bool namedAfterFile = loaded.name().empty() || loaded.name() == engine::CleanHolderName(loaded.fileNamePart());
  // The loader records the name with the path, or neither when it refuses the path.
  samples::LoadFile(loaded, namedAfterFile ? view(holder)->selectedFile() : loaded.name(), path, true);
  controls_.nameField(holder)->setText(loaded.name());
}

void BrowserPanels::setStartDirectories(const EditorLink::StartDirectories& directories) {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    view(holder)->navigateTo(directories[static_cast<size_t>(holder)], true);
  }
}

void BrowserPanels::showSamplesFolder() {
  for (browser::VstBrowser* panel : views_) panel->navigateTo(setting_.samplesFolder, false);
}

void BrowserPanels::setScale(float scale) {
  for (browser::VstBrowser* panel : views_) panel->setScale(scale);
}

}  // namespace editor
