// A host that loads projects on its own thread while the open editor idles on the
// user-interface thread: the editor takes each load's outcome in its idle, so the two threads
// never share a widget or the frame's dirty rectangles; and the audio thread's requests for
// redraws reach the editor's timer (the thread-sanitizer build checks).
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "GuiFixture.h"
#include "engine/Limits.h"
#include "support/TestHost.h"

namespace guitest {
namespace {

using GuiLoadConcurrency = GuiFixture;

// The audio thread asks for redraws (pattern notes, the clock) while the editor's timer draws
// them and a host thread loads projects: the counts have one writer each, the audio thread,
// the last load shows with its open panel closed, and the last pattern switched to is the one
// shown.
TEST_F(GuiLoadConcurrency, TheEditorIdlesAndDrawsWhatTheAudioThreadAsksForWhileProjectsLoad) {
  std::filesystem::create_directories(directory.path() + "samples");
  gui().openOffscreen();
  change(kSwingAmountKnob, 0.7f);
  change(kMuteButton + 2, 1.0f);
  const std::string saved = savedProject();
  change(kMuteButton + 2, 0.0f);
  change(kBrowseButton + 5, 1.0f);
  constexpr int32_t kFrames = 64;
  testhost::Block block(engine::kOutputCount, kFrames);
  auto renderSwitchingTo = [&](int pattern) {
    testhost::MidiBatch notes({{0, 0x90, static_cast<uint8_t>(engine::kFirstPatternNote + pattern), 100}});
    vst().processEvents(notes.list());
    vst().processReplacing(nullptr, block.pointers.data(), kFrames);
  };

  std::atomic<bool> running{true};
  std::thread audio([&] {
    for (int b = 0; running; ++b) renderSwitchingTo(b % engine::kPatternCount);
  });
  std::thread host([&] {
    for (int load = 0; load < 30; ++load) loadProject(saved);
    running = false;
  });
  while (running) {
    gui().notify(nullptr, toolkit::kMsgTimer);
    gui().idle();
    std::this_thread::yield();
  }
  host.join();
  audio.join();

  gui().idle();  // the last load's view
  EXPECT_EQ(value(kSwingAmountKnob), 0.7f);
  EXPECT_EQ(value(kMuteButton + 2), 1.0f);
  EXPECT_EQ(value(kBrowseButton + 5), 0.0f);
  EXPECT_FALSE(frame().isChild(gui().browserView(5)));
  for (const auto& shown : messages.messages()) ADD_FAILURE() << shown.caption << ": " << shown.text;
  renderSwitchingTo(7);
  gui().notify(nullptr, toolkit::kMsgTimer);
  EXPECT_EQ(gui().shownPattern(), 7);
}

}  // namespace
}  // namespace guitest
