// A host that loads projects on its own thread while the open editor idles on the
// user-interface thread: the editor takes each load's outcome in its idle, so the two threads
// never share a widget or the frame's dirty rectangles (the thread-sanitizer build checks).
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "GuiFixture.h"
#include "editor/ControlTags.h"

namespace guitest {
namespace {

using namespace editor::tags;

class GuiLoadConcurrency : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    std::filesystem::create_directories(directory->path() + "samples");
    createEffect();
  }
};

TEST_F(GuiLoadConcurrency, ProjectsLoadOnOneThreadWhileTheOpenEditorIdlesOnAnother) {
  gui().openOffscreen();
  change(kSwingAmountKnob, 0.7f);
  change(kMuteButton + 2, 1.0f);
  const std::string saved = savedProject();
  change(kMuteButton + 2, 0.0f);
  change(kBrowseButton + 5, 1.0f);

  std::atomic<bool> loading{true};
  std::thread host([&] {
    for (int load = 0; load < 30; ++load) loadProject(saved);
    loading = false;
  });
  while (loading) {
    gui().idle();
    std::this_thread::yield();
  }
  host.join();
  gui().idle();

  EXPECT_EQ(value(kSwingAmountKnob), 0.7f);
  EXPECT_EQ(value(kMuteButton + 2), 1.0f);
  EXPECT_EQ(value(kBrowseButton + 5), 0.0f);
  EXPECT_FALSE(gui().mainMenuFrame()->isChild(gui().browserView(5)));
  for (const auto& shown : messages->messages()) ADD_FAILURE() << shown.caption << ": " << shown.text;
}

}  // namespace
}  // namespace guitest
