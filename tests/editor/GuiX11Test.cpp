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

#include "support/SoundFile.h"

namespace guitest {
namespace {

class GuiOnX11 : public GuiFixture {
 protected:
  void SetUp() override {
    if (!testx::XvfbDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
    GuiFixture::SetUp();
    xvfb = std::make_unique<testx::XvfbDisplay>();
    ASSERT_TRUE(xvfb->running()) << "Xvfb did not start";
  }
  void TearDown() override {
    effect.reset();  // before its display
    xvfb.reset();
  }
  void* hostWindow() { return reinterpret_cast<void*>(testx::CreateHostWindow(xvfb->connection(), 1206, 616)); }
  intptr_t dispatch(int32_t opcode, void* window = nullptr) { return vst().dispatcher(opcode, 0, 0, window, 0.0f); }
  Window frameWindow() { return static_cast<Window>(frame().getNativeWindow()); }
  bool idleUntil(const std::function<bool()>& done) {
    return testx::PumpUntil([this] { dispatch(vst::effEditIdle); }, done);
  }
  int frameWidth() {
    XWindowAttributes attributes{};
    XSync(xvfb->connection(), False);
    XGetWindowAttributes(xvfb->connection(), frameWindow(), &attributes);
    return attributes.width;
  }
  void clickControl(int32_t tag) {
    const toolkit::CRect area = control(tag)->getViewSize();
    testx::SendClick(xvfb->connection(), frameWindow(), static_cast<int>(area.left) + 5, static_cast<int>(area.top) + 5,
                     Button1);
  }

  std::unique_ptr<testx::XvfbDisplay> xvfb;
};

TEST_F(GuiOnX11, OpenClickChooseASizeCloseAndReopenAfterARefusedParent) {
  // A parent window that does not exist is refused with a message; the next opening works.
  EXPECT_EQ(dispatch(vst::effEditOpen, reinterpret_cast<void*>(uintptr_t{0x1ffffff})), 0);
  EXPECT_FALSE(gui().isOpen());
  EXPECT_EQ(messages.count("Error"), 1u);
  dispatch(vst::effEditIdle);
  void* parent = hostWindow();
  ASSERT_EQ(dispatch(vst::effEditOpen, parent), 1);
  ASSERT_NE(frameWindow(), 0u);
  EXPECT_EQ(frameWidth(), 1206);

  clickControl(kStepButton + 4);
  EXPECT_TRUE(idleUntil([this] { return patterns().cellSounds(0, 4, 0); }));
  // A right click on the background; the user picks "Size of Gui 80%" from the list.
  int listTop = -1;
  std::thread user = testx::ChoosePopUpEntry(*xvfb, 2, &listTop);
  testx::SendButton(xvfb->connection(), frameWindow(), 40, 60, Button3, true);
  testx::SendButton(xvfb->connection(), frameWindow(), 40, 60, Button3, false);
  EXPECT_TRUE(idleUntil([this] { return gui().scale() == 0.8f; }));
  user.join();
  // The list opened 2 pixels below the pointer (the host window sits at 20, 20 on the screen).
  EXPECT_EQ(listTop, 20 + 60 + 2);
  EXPECT_TRUE(idleUntil([this] { return frameWidth() == 964; }));

  dispatch(vst::effEditClose);
  EXPECT_EQ(frame().getNativeWindow(), 0u);
  ASSERT_EQ(dispatch(vst::effEditOpen, parent), 1);
  EXPECT_NE(frameWindow(), 0u);
  EXPECT_EQ(value(kStepButton + 4), 1.0f);
  EXPECT_EQ(frameWidth(), 964);
  dispatch(vst::effEditIdle);
  dispatch(vst::effEditClose);
}

TEST_F(GuiOnX11, KeysOnTheEditorsWindowStepTheOpenBrowserAndTheOthersReachTheHost) {
  const std::string folder = directory.path() + "kit/";
  std::filesystem::create_directories(folder);
  for (const char* name : {"a-kick.wav", "b-snare.wav", "c-hat.wav"}) {
    testhost::WriteSoundFile(folder + name, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, std::vector<float>(100, 0.25f));
  }
  Display* host = xvfb->connection();
  const auto parent = reinterpret_cast<Window>(hostWindow());
  XSelectInput(host, parent, KeyPressMask);
  ASSERT_EQ(dispatch(vst::effEditOpen, reinterpret_cast<void*>(parent)), 1);
  editor::EditorLink::StartDirectories starts;
  starts.fill(folder);
  starts[0] = folder + "a-kick.wav";
  gui().setStartDirectories(starts);
  change(kBrowseButton, 1.0f);
  const toolkit::CRect panel = gui().browserView(0)->getViewSize();
  XWarpPointer(host, None, frameWindow(), 0, 0, 0, 0, static_cast<int>(panel.left) + 200,
               static_cast<int>(panel.top) + 60);

  testx::SendKey(host, frameWindow(), XK_Down);
  EXPECT_TRUE(idleUntil([&] { return holder(0).path() == folder + "b-snare.wav"; })) << holder(0).path();
  testx::SendKey(host, frameWindow(), XK_Up);
  EXPECT_TRUE(idleUntil([&] { return holder(0).path() == folder + "a-kick.wav"; })) << holder(0).path();
  // A key the editor has no use for is the host's.
  testx::SendKey(host, frameWindow(), XK_x);
  XEvent event{};
  EXPECT_TRUE(idleUntil([&] { return XCheckTypedWindowEvent(host, parent, KeyPress, &event) == True; }));
  EXPECT_EQ(XLookupKeysym(&event.xkey, 0), static_cast<KeySym>(XK_x));
  dispatch(vst::effEditClose);
}

}  // namespace
}  // namespace guitest
