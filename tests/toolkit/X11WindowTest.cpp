// A toolkit frame in a host window on a real (virtual) X display: drawing, clicks, typing and
// reopening elsewhere.
// gtest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
// clang-format on

#include <memory>
#include <vector>

#include "XvfbDisplay.h"
#include "toolkit/CFrame.h"
#include "toolkit/COnOffButton.h"
#include "toolkit/CTextEdit.h"

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

TEST_F(X11Window, FrameInTheHostWindowShowsWhatItDrawsAClickTogglesAButtonAndItReopensElsewhere) {
  Window root = None;
  Window parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  ASSERT_TRUE(XQueryTree(host, frameWindow, &root, &parent, &children, &count));
  if (children) XFree(children);
  EXPECT_EQ(parent, hostWindow);

  CBitmap* bitmap = TwoColourBitmap(40, 20, Image::opaque(200, 0, 0), Image::opaque(0, 0, 200));
  auto* button = new COnOffButton({10, 10, 50, 30}, &listener, 5, bitmap);
  frame->addView(button);
  bitmap->forget();
  EXPECT_TRUE(pumpUntil([&] { return screenPixel(20, 20) == 0xC80000u; }));
  testx::SendClick(host, frameWindow, 20, 20, Button1);
  ASSERT_TRUE(pumpUntil([&] { return listener.changes == 1; }));
  EXPECT_EQ(button->getValue(), 1.0f);
  EXPECT_TRUE(pumpUntil([&] { return screenPixel(20, 20) == 0x0000C8u; }));

  // Closed and opened in another host window, the frame keeps its views and shows them.
  frame->close();
  EXPECT_FALSE(frame->hasWindow());
  XDestroyWindow(host, hostWindow);
  ASSERT_TRUE(frame->open(reinterpret_cast<void*>(testx::CreateHostWindow(host, 400, 300))));
  frameWindow = static_cast<Window>(frame->getNativeWindow());
  EXPECT_EQ(frame->getNbViews(), 1);
  EXPECT_TRUE(pumpUntil([&] { return screenPixel(20, 20) == 0x0000C8u; }));
}

TEST_F(X11Window, TwoQuickClicksAreADoubleClick) {
  struct ClickRecorder : CView {
    using CView::CView;
    CMouseEventResult onMouseDown(CPoint&, const CButtonState& buttons) override {
      doubleClicks.push_back(buttons.isDoubleClick());
      return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    std::vector<bool> doubleClicks;
  };
  auto* recorder = new ClickRecorder({5, 5, 149, 20});
  frame->addView(recorder);
  testx::SendClick(host, frameWindow, 30, 10, Button1);
  testx::SendClick(host, frameWindow, 31, 11, Button1);
  EXPECT_TRUE(pumpUntil([&] { return recorder->doubleClicks.size() == 2; }));
  EXPECT_EQ(recorder->doubleClicks, (std::vector<bool>{false, true}));
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

}  // namespace
}  // namespace toolkit
