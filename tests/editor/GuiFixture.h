// An effect with its editor in a folder of its own (the configuration file and skin folder are the
// test's), a host callback that records automation and edit gestures, and the user's clicks, keys
// and menu choices.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/ControlTags.h"
#include "editor/Gui.h"
#include "editor/MainMenuFrame.h"
#include "platform/Files.h"
#include "plugin/Vst.h"
#include "support/MessageCapture.h"
#include "support/PanelClicks.h"
#include "support/TempFolder.h"
#include "support/TestHost.h"
#include "toolkit/COptionMenu.h"

namespace guitest {

using namespace editor::tags;

class GuiFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    automations.clear();
    edits.clear();
  }
  // Builds the effect now; vst() builds it at first use, after the test put files into the
  // plug-in directory. Its documents folder, where MIDI exports go, is the test's too.
  void createEffect() {
    effect = std::make_unique<plugin::Vst>(&hostCallback,
                                           plugin::EffectEnvironment{directory.path(), {}, documentsFolder()});
  }
  std::string documentsFolder() const { return directory.path() + "documents/"; }
  // Opens the editor offscreen; its pop-up lists are kept in shownLists and choose menuChoice.
  void openWithChooser(int32_t entry) {
    gui().openOffscreen();
    menuChoice = entry;
    frame().setMenuChooser([this](const std::vector<std::string>& entries, toolkit::CPoint where) {
      shownLists.push_back(entries);
      shownAt.push_back(where);
      return menuChoice;
    });
  }

  plugin::Vst& vst() {
    if (!effect) createEffect();
    return *effect;
  }
  editor::Gui& gui() { return static_cast<editor::Gui&>(vst().editorLink()); }
  editor::MainMenuFrame& frame() { return *gui().mainMenuFrame(); }
  engine::DrumEngine& engine() { return vst().instrument().engine(); }
  engine::PatternStore& patterns() { return engine().patterns(); }
  engine::StepClock& clock() { return engine().clock(); }
  engine::Kit& kit() { return engine().kit(); }
  engine::SampleHolder& holder(int index) { return kit().holder(static_cast<uint8_t>(engine::kFirstNote + index)); }
  toolkit::CControl* control(int32_t tag) { return gui().controls()[tag]; }
  float value(int32_t tag) { return control(tag)->getValue(); }
  // The controls show these values, by tag.
  void expectValues(std::initializer_list<std::pair<int32_t, float>> expected) {
    for (const auto& [tag, shown] : expected) EXPECT_EQ(value(tag), shown) << "tag " << tag;
  }

  // What a user's change of the control does: the value, then the editor hears it.
  void change(int32_t tag, float newValue) {
    control(tag)->setValue(newValue);
    gui().valueChanged(control(tag));
  }
  // A menu entry chosen.
  void choose(int32_t menuTag, int32_t entry) {
    auto* menu = static_cast<toolkit::COptionMenu*>(control(menuTag));
    ASSERT_TRUE(menu->setCurrent(entry));
    gui().valueChanged(menu);
  }
  void rightClick(double x, double y) {
    frame().handleMouseDown({x, y}, toolkit::kRButton);
    frame().handleMouseUp({x, y}, toolkit::kRButton);
  }
  void click(const toolkit::CView* view, int32_t buttons = toolkit::kLButton) {
    testhost::Click(frame(), view, buttons);
  }
  // A key the host forwards; true when the editor used it.
  bool key(char32_t character, int virtualKey = 0) {
    return vst().dispatcher(vst::effEditKeyDown, static_cast<int32_t>(character), virtualKey, nullptr, 0.0f) == 1;
  }
  std::vector<std::string> fileButtonNames(int holderIndex) {
    return testhost::ButtonNames(*gui().browserView(holderIndex));
  }
  browser::FileButton* fileButton(int holderIndex, const std::string& name) {
    return testhost::ButtonNamed(*gui().browserView(holderIndex), name);
  }

  std::string savedProject() {  // as the host saves it (effGetChunk)
    void* data = nullptr;
    const int32_t size = vst().getChunk(&data, false);
    return {static_cast<const char*>(data), static_cast<size_t>(size)};
  }
  void loadProject(std::string text) { vst().setChunk(text.data(), static_cast<int32_t>(text.size()), false); }
  // The pixels of an area (or of a control) as the offscreen frame draws them now, row by row.
  std::vector<uint32_t> renderedPixels(const toolkit::CRect& area) {
    frame().render(area);
    std::vector<uint32_t> pixels;
    for (int y = static_cast<int>(area.top); y < static_cast<int>(area.bottom); ++y) {
      for (int x = static_cast<int>(area.left); x < static_cast<int>(area.right); ++x) {
        pixels.push_back(frame().image().pixel(x, y));
      }
    }
    return pixels;
  }
  std::vector<uint32_t> renderedPixels(int32_t tag) { return renderedPixels(control(tag)->getViewSize()); }

  testhost::MessageCapture messages;
  testhost::TempFolder directory;  // the plug-in directory
  std::unique_ptr<plugin::Vst> effect;
  std::vector<std::vector<std::string>> shownLists;
  std::vector<toolkit::CPoint> shownAt;
  int32_t menuChoice = -1;
  inline static std::vector<testhost::Automation> automations;
  // What the host heard of gestures and changes, in order: opcode and parameter index.
  inline static std::vector<std::pair<int32_t, int32_t>> edits;

 private:
  static intptr_t hostCallback(vst::AEffect*, int32_t opcode, int32_t index, intptr_t, void*, float opt) {
    if (opcode == vst::audioMasterVersion) return 2400;
    if (opcode == vst::audioMasterAutomate) automations.push_back({index, opt});
    if (opcode == vst::audioMasterAutomate || opcode == vst::audioMasterBeginEdit ||
        opcode == vst::audioMasterEndEdit) {
      edits.emplace_back(opcode, index);
    }
    return 0;
  }
};

}  // namespace guitest
