// On a real (virtual) X display: a toolkit frame in a host window (drawing, clicks, typing and
// reopening elsewhere), and the plug-in module in a host with its factory samples gone, where a
// plug-in scan goes on while the messages wait for the user and they still show, one at a time.
// gtest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
// clang-format on

#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "XvfbDisplay.h"
#include "platform/DynamicLibrary.h"
#include "support/TempFolder.h"
#include "toolkit/CFrame.h"
#include "toolkit/COnOffButton.h"
#include "toolkit/CTextEdit.h"
#include "vst/VstInterface.h"

namespace toolkit {
namespace {

struct Counter : CControlListener {
  void valueChanged(CControl*) override { ++changes; }
  int changes = 0;
};

CBitmap* TwoColourBitmap(int width, int height, uint32_t off, uint32_t on) {
  Image image(width, 2 * height);
  for (int y = 0; y < 2 * height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, y < height ? off : on);
  return new CBitmap(std::make_shared<const Image>(std::move(image)));
}

class X11Window : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testx::XvfbDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
    xvfb = std::make_unique<testx::XvfbDisplay>();
    ASSERT_TRUE(xvfb->running()) << "Xvfb did not start";
    host = xvfb->connection();
    hostWindow = testx::CreateHostWindow(host, 400, 300);
    frame = new CFrame({0, 0, 320, 200}, reinterpret_cast<void*>(hostWindow), nullptr);
    ASSERT_TRUE(frame->hasWindow());
    frameWindow = static_cast<Window>(frame->getNativeWindow());
  }
  void TearDown() override {
    if (frame) frame->forget();
    xvfb.reset();
  }

  bool pumpUntil(const std::function<bool()>& done) {
    return testx::PumpUntil([this] { frame->idle(); }, done);
  }
  uint32_t screenPixel(int x, int y) {
    XImage* image = XGetImage(host, frameWindow, x, y, 1, 1, AllPlanes, ZPixmap);
    const auto pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFFu;
    XDestroyImage(image);
    return pixel;
  }

  std::unique_ptr<testx::XvfbDisplay> xvfb;
  Display* host = nullptr;
  Window hostWindow = None;
  Window frameWindow = None;
  CFrame* frame = nullptr;
  Counter listener;
};

// That the frame's window is the host window's child, the editor's pop-up list shows: it opens
// below the pointer at the host window's place on the screen (GuiOnX11).
TEST_F(X11Window, FrameInTheHostWindowShowsWhatItDrawsClicksAndDoubleClicksReachItAndItReopensElsewhere) {
  CBitmap* bitmap = TwoColourBitmap(40, 20, Image::opaque(200, 0, 0), Image::opaque(0, 0, 200));
  auto* button = new COnOffButton({10, 10, 50, 30}, &listener, 5, bitmap);
  frame->addView(button);
  bitmap->forget();
  EXPECT_TRUE(pumpUntil([&] { return screenPixel(20, 20) == 0xC80000u; }));
  testx::SendClick(host, frameWindow, 20, 20, Button1);
  ASSERT_TRUE(pumpUntil([&] { return listener.changes == 1; }));
  EXPECT_EQ(button->getValue(), 1.0f);
  EXPECT_TRUE(pumpUntil([&] { return screenPixel(20, 20) == 0x0000C8u; }));

  struct ClickRecorder : CView {
    using CView::CView;
    CMouseEventResult onMouseDown(CPoint&, const CButtonState& buttons) override {
      doubleClicks.push_back(buttons.isDoubleClick());
      return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    std::vector<bool> doubleClicks;
  };
  auto* recorder = new ClickRecorder({60, 5, 149, 20});
  frame->addView(recorder);
  testx::SendClick(host, frameWindow, 70, 10, Button1);
  testx::SendClick(host, frameWindow, 71, 11, Button1);
  EXPECT_TRUE(pumpUntil([&] { return recorder->doubleClicks.size() == 2; }));
  EXPECT_EQ(recorder->doubleClicks, (std::vector<bool>{false, true})) << "two quick clicks are a double click";

  // Closed and opened in another host window, the frame keeps its views and shows them.
  frame->close();
  EXPECT_FALSE(frame->hasWindow());
  XDestroyWindow(host, hostWindow);
  ASSERT_TRUE(frame->open(reinterpret_cast<void*>(testx::CreateHostWindow(host, 400, 300))));
  frameWindow = static_cast<Window>(frame->getNativeWindow());
  EXPECT_EQ(frame->getNbViews(), 2);
  EXPECT_TRUE(pumpUntil([&] { return screenPixel(20, 20) == 0x0000C8u; }));
}

TEST_F(X11Window, TextTypedIntoAFieldIsKeptOnReturnAndTheKeyboardGoesBack) {
  auto* field = new CTextEdit({10, 100, 200, 120}, &listener, 72, "old");
  frame->addView(field);
  frame->idle();
  testx::SendClick(host, frameWindow, 50, 110, Button1);
  ASSERT_TRUE(pumpUntil([&] { return field->isEditing(); }));
  Window focus = None;
  int revert = 0;
  XGetInputFocus(host, &focus, &revert);
  EXPECT_EQ(focus, frameWindow);

  for (KeySym key : {XK_BackSpace, XK_BackSpace, XK_BackSpace}) testx::SendKey(host, frameWindow, key);
  testx::SendKey(host, frameWindow, XK_k, ShiftMask);
  for (KeySym key : {XK_i, XK_c, XK_k, XK_space, XK_2, XK_Return}) testx::SendKey(host, frameWindow, key);
  ASSERT_TRUE(pumpUntil([&] { return listener.changes == 1; }));
  EXPECT_EQ(field->getText(), "Kick 2");
  EXPECT_FALSE(field->isEditing());
  XGetInputFocus(host, &focus, &revert);
  EXPECT_NE(focus, frameWindow);
}

using Entry = vst::AEffect* (*)(vst::HostCallback);

// A host that tells its VST version and nothing else.
intptr_t AnswerVersion(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == vst::audioMasterVersion ? vst::kVstVersion : 0;
}

TEST(PluginMessages, AScanGoesOnWhileTheMessagesOfMissingSamplesWaitAndTheModuleMayBeUnloaded) {
  if (!testx::XvfbDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
  testx::XvfbDisplay xvfb;
  ASSERT_TRUE(xvfb.running()) << "Xvfb did not start";
  // The bundle without its samples folder.
  testhost::TempFolder folder;
  const std::filesystem::path bundle = folder.path() + "Kestrelhollow";
  std::filesystem::copy(KH_BUNDLE_DIR, bundle, std::filesystem::copy_options::recursive);
  std::filesystem::remove_all(bundle / "samples");
  const std::string modulePath = (bundle / std::filesystem::path(KH_PLUGIN_PATH).filename()).string();

  platform::LibraryHandle module = platform::OpenLibrary(modulePath);
  ASSERT_NE(module, nullptr) << platform::LibraryError();
  const auto entry = reinterpret_cast<Entry>(platform::FindSymbol(module, "VSTPluginMain"));
  ASSERT_NE(entry, nullptr);
  // The scan: create, open and close the effect, on a thread of the test's.
  auto scan = std::async(std::launch::async, [entry] {
    vst::AEffect* effect = entry(&AnswerVersion);
    if (effect == nullptr) return false;
    effect->dispatcher(effect, vst::effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
    return true;
  });
  const auto isSampleMessage = [](const std::string& title) { return title == "Sample load error"; };
  Display* user = xvfb.connection();
  const Window first = testx::WaitForTopWindow(
      user, [&](Window window, const XWindowAttributes&) { return isSampleMessage(testx::WindowTitle(user, window)); },
      30000);
  ASSERT_NE(first, None);
  const bool scanEnded = scan.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  EXPECT_TRUE(scanEnded) << "the scan waits for the user";
  if (scanEnded) {
    EXPECT_TRUE(scan.get());
    // The host unloads the plug-in while its messages still show.
    platform::CloseLibrary(module);
  }

  size_t mostAtOnce = 0;
  const auto answered = testx::AnswerMessageWindows(user, isSampleMessage, mostAtOnce);
  // Twelve files are missing: three are named, one more message counts the other nine.
  EXPECT_EQ(answered.size(), 4u);
  EXPECT_EQ(mostAtOnce, 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

}  // namespace
}  // namespace toolkit
