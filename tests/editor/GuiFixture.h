// An effect with its editor in a folder of its own (so the configuration file and skin folder are
// the test's), driven through a host callback that records automation reports.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/Gui.h"
#include "editor/MainMenuFrame.h"
#include "plugin/Vst.h"
#include "support/MessageCapture.h"
#include "support/TempFolder.h"

namespace guitest {

struct Automation {
  int32_t index;
  float value;
};

class GuiFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Builds the effect now (after a test put files into the plug-in directory).
  void createEffect();

  plugin::Vst& vst() { return *effect; }
  editor::Gui& gui() { return static_cast<editor::Gui&>(vst().editorLink()); }
  engine::DrumEngine& engine() { return vst().instrument().engine(); }
  engine::PatternStore& patterns() { return engine().patterns(); }
  engine::StepClock& clock() { return engine().clock(); }
  engine::Kit& kit() { return engine().kit(); }
  toolkit::CControl* control(int32_t tag) { return gui().controls()[tag]; }
  float value(int32_t tag) { return control(tag)->getValue(); }
  // What a user's change of the control does: the value, then the editor hears it.
  void change(int32_t tag, float newValue);
  // A menu entry chosen.
  void choose(int32_t menuTag, int32_t entry);
  std::string configurationText() const;
  // The project as the host saves it (effGetChunk), and loading it back (effSetChunk).
  std::string savedProject();
  void loadProject(std::string text);
  // The control's pixels as the (offscreen) frame draws them now, row by row.
  std::vector<uint32_t> renderedPixels(int32_t tag);

  // The plug-in directory.
  std::unique_ptr<testhost::TempFolder> directory;
  std::unique_ptr<plugin::Vst> effect;
  std::unique_ptr<testhost::MessageCapture> messages;
  static std::vector<Automation> automations;

 private:
  static intptr_t hostCallback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                               float opt);
};

}  // namespace guitest
