// gtest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>
// clang-format off
#include "XvfbDisplay.h"
#include <X11/Xutil.h>
// clang-format on

#include <memory>
#include <thread>

#include "toolkit/CFrame.h"
#include "widgets/OnOffBtnWithMenu.h"
#include "widgets/TextButton.h"

namespace widgets {
namespace {

using namespace toolkit;

struct Counter : CControlListener {
  void valueChanged(CControl* control) override { changed.push_back(control->getTag()); }
  std::vector<int32_t> changed;
};

TEST(ControlsOnX11, ARightClickOnAButtonChoosesFromItsMenuAndLeavesTheButton) {
  if (!testx::XvfbDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
  testx::XvfbDisplay xvfb;
  ASSERT_TRUE(xvfb.running()) << "Xvfb did not start";
  Display* host = xvfb.connection();
  const Window hostWindow = testx::CreateHostWindow(host, 400, 300);
  auto* frame = new CFrame({0, 0, 300, 200}, reinterpret_cast<void*>(hostWindow), nullptr);
  const auto frameWindow = static_cast<Window>(frame->getNativeWindow());

  Counter listener;
  Image image(52, 38);
  auto* bitmap = new CBitmap(std::make_shared<const Image>(std::move(image)));
  auto* menu = new COptionMenu({}, &listener, 60, nullptr, nullptr, kNoDrawStyle);
  for (const char* entry : {"Clear the content of this sample holder", "Copy this sample to C", "Copy this sample to C#"})
    menu->addEntry(entry);
  auto* button = new OnOffBtnWithMenu(20, 30, &listener, 48, bitmap, menu);
  frame->addView(button);
  bitmap->forget();
  frame->idle();

  int listTop = -1;
  std::thread user = testx::ChoosePopUpEntry(xvfb, 1, &listTop);
  testx::SendButton(host, frameWindow, 30, 40, Button3, true);
  testx::SendButton(host, frameWindow, 30, 40, Button3, false);
  EXPECT_TRUE(testx::PumpUntil([&] { frame->idle(); }, [&] { return !listener.changed.empty(); }));
  user.join();

  EXPECT_EQ(listener.changed, (std::vector<int32_t>{60}));
  EXPECT_EQ(menu->getCurrentIndex(), 1);
  EXPECT_EQ(button->getValue(), 0.0f);
  // The list opened 2 pixels below the pointer (the host window sits at 20, 20 on the screen).
  EXPECT_EQ(listTop, 20 + 40 + 2);
  frame->forget();
  menu->forget();
}

TEST(ControlsOnX11, TwoQuickClicksOnAListEntryReportADoubleClick) {
  if (!testx::XvfbDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
  testx::XvfbDisplay xvfb;
  ASSERT_TRUE(xvfb.running()) << "Xvfb did not start";
  Display* host = xvfb.connection();
  auto* frame = new CFrame({0, 0, 300, 200}, reinterpret_cast<void*>(testx::CreateHostWindow(host, 300, 200)), nullptr);
  const auto frameWindow = static_cast<Window>(frame->getNativeWindow());
  std::vector<bool> doubleClicks;
  struct DoubleClickRecorder : CControlListener {
    explicit DoubleClickRecorder(std::vector<bool>& into) : seen(into) {}
    void valueChanged(CControl* control) override { seen.push_back(static_cast<TextButton*>(control)->isDoubleClick()); }
    std::vector<bool>& seen;
  } recorder(doubleClicks);
  frame->addView(new TextButton({5, 5, 149, 20}, &recorder, 1, "        kick.wav"));

  testx::SendClick(host, frameWindow, 30, 10, Button1);
  testx::SendClick(host, frameWindow, 31, 11, Button1);
  EXPECT_TRUE(testx::PumpUntil([&] { frame->idle(); }, [&] { return doubleClicks.size() == 2; }));
  EXPECT_EQ(doubleClicks, (std::vector<bool>{false, true}));
  frame->forget();
}

}  // namespace
}  // namespace widgets
