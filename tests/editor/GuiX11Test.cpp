// The editor on a real (virtual) display, driven through the dispatcher as a host does.
// gtest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>
// clang-format off
#include "GuiFixture.h"
#include "XvfbDisplay.h"
// clang-format on

#include <thread>

#include "editor/ControlTags.h"

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

  std::unique_ptr<testx::XvfbDisplay> xvfb;
};

TEST_F(GuiOnX11, OpenClickChooseASizeCloseAndReopen) {
  void* parent = hostWindow();
  ASSERT_EQ(vst().dispatcher(vst::effEditOpen, 0, 0, parent, 0.0f), 1);
  ASSERT_NE(frameWindow(), 0u);
  EXPECT_EQ(frameAttributes().width, 1206);

  // The fifth step button of the first group, first holder, pattern 0.
  const toolkit::CRect step = control(kStepButton + 4)->getViewSize();
  testx::SendClick(xvfb->connection(), frameWindow(), static_cast<int>(step.left) + 10, static_cast<int>(step.top) + 10,
                   Button1);
  EXPECT_TRUE(idleUntil([this] { return sequencer().getCell(0, 4, 0) == 0x00017F01; }));

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

}  // namespace
}  // namespace guitest
