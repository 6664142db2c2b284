// The editor on a real (virtual) display, driven through the dispatcher as a host does.
// gtest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>
// clang-format off
#include "GuiFixture.h"
#include "XvfbDisplay.h"
// clang-format on

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <filesystem>
#include <thread>

#include "editor/ControlTags.h"
#include "support/SoundFile.h"
#include "widgets/CMultiStateButtonWithMenu.h"

namespace guitest {
namespace {

using namespace editor::tags;

class GuiOnX11 : public GuiFixture {
 protected:
  void SetUp() override {
    if (!testx::XvfbDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
    GuiFixture::SetUp();
    xvfb = std::make_unique<testx::XvfbDisplay>();
    ASSERT_TRUE(xvfb->running()) << "Xvfb did not start";
    createEffect();
  }
  void TearDown() override {
    GuiFixture::TearDown();
    xvfb.reset();
  }
  void* hostWindow(int width = 1206, int height = 616) {
    return reinterpret_cast<void*>(testx::CreateHostWindow(xvfb->connection(), width, height));
  }
  Window frameWindow() { return static_cast<Window>(gui().mainMenuFrame()->getNativeWindow()); }
  bool idleUntil(const std::function<bool()>& done) {
    return testx::PumpUntil([this] { vst().dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f); }, done);
  }
  XWindowAttributes frameAttributes() {
    XWindowAttributes attributes{};
    XSync(xvfb->connection(), False);
    XGetWindowAttributes(xvfb->connection(), frameWindow(), &attributes);
    return attributes;
  }

  // What the control shows on the screen now.
  testx::Capture captureControl(int32_t tag) {
    const toolkit::CRect area = control(tag)->getViewSize();
    return testx::CaptureWindow(xvfb->connection(), frameWindow(), static_cast<int>(area.left),
                                static_cast<int>(area.top), static_cast<int>(area.width()),
                                static_cast<int>(area.height()));
  }
  // The capture is image `index` of the skin bitmap's strip, pixel for pixel.
  bool showsImage(const testx::Capture& shown, size_t bitmap, int index) {
    const toolkit::Image& strip = *gui().skinBitmaps()[bitmap]->handle();
    for (int y = 0; y < shown.height; ++y) {
      for (int x = 0; x < shown.width; ++x) {
        if (shown.at(x, y) != (strip.pixel(x, y + index * shown.height) & 0xFFFFFFu)) return false;
      }
    }
    return true;
  }

  std::unique_ptr<testx::XvfbDisplay> xvfb;
};

TEST_F(GuiOnX11, EachStepsPerBarStateShowsItsOwnImage) {
  ASSERT_EQ(vst().dispatcher(vst::effEditOpen, 0, 0, hostWindow(), 0.0f), 1);
  auto* selector = gui().controls().selector(kResolutionSelector);
  const toolkit::CRect area = selector->getViewSize();
  for (int click = 0; click < 4; ++click) {
    const int state = selector->getState();
    const int resolution = 16 << state;
    EXPECT_EQ(patterns().resolution(0), resolution);
    testx::Capture shown;
    EXPECT_TRUE(idleUntil([&] {
      shown = captureControl(kResolutionSelector);
      return showsImage(shown, editor::skin::kResolution, state);
    })) << resolution << " steps per bar";
    testx::SaveScreenshot(shown, "steps-per-bar-" + std::to_string(resolution));
    testx::SendClick(xvfb->connection(), frameWindow(), static_cast<int>(area.left) + 5,
                     static_cast<int>(area.top) + 5, Button1);
    EXPECT_TRUE(idleUntil([&] { return selector->getState() == (state + 1) % 4; }));
  }
  vst().dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
}

TEST_F(GuiOnX11, OpenClickChooseASizeCloseAndReopen) {
  void* parent = hostWindow();
  ASSERT_EQ(vst().dispatcher(vst::effEditOpen, 0, 0, parent, 0.0f), 1);
  ASSERT_NE(frameWindow(), 0u);
  EXPECT_EQ(frameAttributes().width, 1206);

  // The fifth step button of the first group, first holder, pattern 0.
  const toolkit::CRect step = control(kStepButton + 4)->getViewSize();
  testx::SendClick(xvfb->connection(), frameWindow(), static_cast<int>(step.left) + 10, static_cast<int>(step.top) + 10,
                   Button1);
  EXPECT_TRUE(idleUntil([this] { return patterns().getCell(0, 4, 0) == engine::kSoundingStepCell; }));

  // A right click on the background; the user picks "Size of Gui 80%" from the list.
  std::thread user = testx::ChoosePopUpEntry(*xvfb, 2);
  testx::SendButton(xvfb->connection(), frameWindow(), 40, 60, Button3, true);
  testx::SendButton(xvfb->connection(), frameWindow(), 40, 60, Button3, false);
  EXPECT_TRUE(idleUntil([this] { return gui().scale() == 0.8f; }));
  user.join();
  EXPECT_EQ(configurationText(), "0.8");
  EXPECT_TRUE(idleUntil([this] { return frameAttributes().width == 964; }));
  EXPECT_EQ(frameAttributes().height, 492);

  vst().dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(gui().mainMenuFrame()->getNativeWindow(), 0u);
  ASSERT_EQ(vst().dispatcher(vst::effEditOpen, 0, 0, parent, 0.0f), 1);
  EXPECT_NE(frameWindow(), 0u);
  EXPECT_EQ(value(kStepButton + 4), 1.0f);
  EXPECT_EQ(frameAttributes().width, 964);
  vst().dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f);
  vst().dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
}

TEST_F(GuiOnX11, AParentWindowThatDoesNotExistIsRefusedAndTheNextOpeningWorks) {
  EXPECT_EQ(vst().dispatcher(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x1ffffff}), 0.0f), 0);
  EXPECT_FALSE(gui().isOpen());
  EXPECT_EQ(messages->count("Error"), 1u);
  vst().dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f);  // an idle call still finds no window to serve
  ASSERT_EQ(vst().dispatcher(vst::effEditOpen, 0, 0, hostWindow(), 0.0f), 1);
  EXPECT_TRUE(gui().isOpen());
  EXPECT_NE(frameWindow(), 0u);
  vst().dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
}

TEST_F(GuiOnX11, TwoInstancesOpenTheirOwnWindows) {
  plugin::Vst other(nullptr, plugin::EffectEnvironment{directory->path(), {}});
  ASSERT_EQ(vst().dispatcher(vst::effEditOpen, 0, 0, hostWindow(), 0.0f), 1);
  ASSERT_EQ(other.dispatcher(vst::effEditOpen, 0, 0, hostWindow(), 0.0f), 1);
  auto& otherGui = static_cast<editor::Gui&>(other.editorLink());
  EXPECT_NE(otherGui.mainMenuFrame()->getNativeWindow(), 0u);
  EXPECT_NE(otherGui.mainMenuFrame()->getNativeWindow(), frameWindow());
  for (int round = 0; round < 3; ++round) {
    vst().dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f);
    other.dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f);
  }
  other.dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
  vst().dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
}

TEST_F(GuiOnX11, KeysOnTheEditorsWindowStepTheOpenBrowserAndTheOthersReachTheHost) {
  const std::string folder = directory->path() + "kit/";
  std::filesystem::create_directories(folder);
  for (const char* name : {"a-kick.wav", "b-snare.wav", "c-hat.wav"}) {
    testhost::WriteSoundFile(folder + name, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, std::vector<float>(100, 0.25f));
  }
  Display* host = xvfb->connection();
  const auto parent = reinterpret_cast<Window>(hostWindow());
  XSelectInput(host, parent, KeyPressMask);
  ASSERT_EQ(vst().dispatcher(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(parent), 0.0f), 1);
  editor::EditorLink::StartDirectories starts;
  starts.fill(folder);
  starts[0] = folder + "a-kick.wav";
  gui().setStartDirectories(starts);
  change(kBrowseButton, 1.0f);
  const toolkit::CRect panel = gui().browserView(0)->getViewSize();
  XWarpPointer(host, None, frameWindow(), 0, 0, 0, 0, static_cast<int>(panel.left) + 200,
               static_cast<int>(panel.top) + 60);

  const engine::SampleHolder& holder = kit().holder(36);
  testx::SendKey(host, frameWindow(), XK_Down);
  EXPECT_TRUE(idleUntil([&] { return holder.path() == folder + "b-snare.wav"; })) << holder.path();
  testx::SaveScreenshot(testx::CaptureWindow(host, frameWindow(), static_cast<int>(panel.left),
                                             static_cast<int>(panel.top), static_cast<int>(panel.width()), 60),
                        "browser-after-down");
  testx::SendKey(host, frameWindow(), XK_Up);
  EXPECT_TRUE(idleUntil([&] { return holder.path() == folder + "a-kick.wav"; })) << holder.path();

  // A key the editor has no use for is the host's.
  testx::SendKey(host, frameWindow(), XK_x);
  XEvent event{};
  EXPECT_TRUE(idleUntil([&] { return XCheckTypedWindowEvent(host, parent, KeyPress, &event) == True; }));
  EXPECT_EQ(XLookupKeysym(&event.xkey, 0), static_cast<KeySym>(XK_x));
  vst().dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
}

TEST_F(GuiOnX11, TheNumbersUnderTheStepButtonsFollowTheStepGroup) {
  ASSERT_EQ(vst().dispatcher(vst::effEditOpen, 0, 0, hostWindow(), 0.0f), 1);
  const toolkit::CRect first = control(kStepButton)->getViewSize();
  const toolkit::CRect last = control(kStepButton + 15)->getViewSize();
  const auto numberRow = [&] {
    return testx::CaptureWindow(xvfb->connection(), frameWindow(), static_cast<int>(first.left), 514,
                                static_cast<int>(last.right - first.left), 18);
  };
  vst().dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f);
  const testx::Capture firstGroup = numberRow();
  testx::SaveScreenshot(firstGroup, "step-numbers-1-16");

  const toolkit::CRect groupButton = control(kStepGroupButton + 1)->getViewSize();
  testx::SendClick(xvfb->connection(), frameWindow(), static_cast<int>(groupButton.left) + 5,
                   static_cast<int>(groupButton.top) + 5, Button1);
  testx::Capture secondGroup;
  EXPECT_TRUE(idleUntil([&] {
    secondGroup = numberRow();
    return gui().stepGroup() == 1 && secondGroup.pixels != firstGroup.pixels;
  }));
  testx::SaveScreenshot(secondGroup, "step-numbers-17-32");
  testx::SaveScreenshot(testx::CaptureWindow(xvfb->connection(), frameWindow(), 0, 400, 1206, 216),
                        "step-sequencer-17-32");

  change(kStepGroupButton, 1.0f);
  EXPECT_TRUE(idleUntil([&] { return numberRow().pixels == firstGroup.pixels; }));

  // The smallest size, for a look at the lettering drawn at that size.
  gui().setGuiScale(0.6f);
  EXPECT_TRUE(idleUntil([&] { return frameAttributes().width == 723; }));
  vst().dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f);
  testx::SaveScreenshot(testx::CaptureWindow(xvfb->connection(), frameWindow(), 0, 0, 723, 369), "editor-at-60-percent");
  vst().dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
}

TEST_F(GuiOnX11, AHolderMutedBySoloLooksUnlikeOneTheUserMuted) {
  ASSERT_EQ(vst().dispatcher(vst::effEditOpen, 0, 0, hostWindow(), 0.0f), 1);
  change(kSoloButton, 1.0f);
  change(kMuteButton + 2, 1.0f);
  ASSERT_EQ(kit().holder(37).muteState(), engine::kMutedBySolo);
  ASSERT_EQ(kit().holder(38).muteState(), engine::kMuted);
  vst().dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f);
  const testx::Capture soloed = captureControl(kMuteButton);
  const testx::Capture bySolo = captureControl(kMuteButton + 1);
  const testx::Capture muted = captureControl(kMuteButton + 2);
  EXPECT_NE(bySolo.pixels, muted.pixels);
  EXPECT_NE(bySolo.pixels, soloed.pixels);
  const toolkit::CRect from = control(kMuteButton)->getViewSize();
  const toolkit::CRect to = control(kSoloButton + 3)->getViewSize();
  testx::SaveScreenshot(testx::CaptureWindow(xvfb->connection(), frameWindow(), static_cast<int>(from.left) - 4,
                                             static_cast<int>(from.top) - 4, static_cast<int>(to.right - from.left) + 8,
                                             static_cast<int>(to.bottom - from.top) + 8),
                        "solo-states");

  // Once the solo is off, nothing looks muted by it any more.
  change(kSoloButton, 0.0f);
  vst().dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(captureControl(kMuteButton + 1).pixels, captureControl(kMuteButton + 3).pixels);
  vst().dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
}

}  // namespace
}  // namespace guitest
