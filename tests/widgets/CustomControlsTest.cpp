#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/CFrame.h"
#include "widgets/CAnimKnobExWithMenu.h"
#include "widgets/CMultiStateButtonWithMenu.h"
#include "widgets/SkinnedKickBtn.h"
#include "widgets/TextButton.h"

namespace widgets {
namespace {

using namespace toolkit;

// Hears controls and records what happened, in order.
struct Recorder : CControlListener {
  void valueChanged(CControl* control) override {
    events.push_back("changed " + std::to_string(control->getTag()) + " " + std::to_string(control->getValue()));
  }
  void controlBeginEdit(CControl* control) override { events.push_back("begin " + std::to_string(control->getTag())); }
  void controlEndEdit(CControl* control) override { events.push_back("end " + std::to_string(control->getTag())); }
  std::vector<std::string> events;
};

// A vertical strip of frames, each filled with its own grey level.
CBitmap* GreyStrip(int width, int frameHeight, int frames) {
  Image image(width, frameHeight * frames);
  for (int y = 0; y < image.height(); ++y) {
    const auto level = static_cast<uint8_t>(frames > 1 ? (y / frameHeight) * 255 / (frames - 1) : 0);
    for (int x = 0; x < width; ++x) image.setPixel(x, y, Image::opaque(level, level, level));
  }
  return new CBitmap(std::make_shared<const Image>(std::move(image)));
}

class ControlsInFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new CFrame({0, 0, 200, 120}, nullptr, nullptr);
    frame->setMenuChooser([this](const std::vector<std::string>&, CPoint) {
      ++shownMenus;
      return -1;
    });
  }
  void TearDown() override { frame->forget(); }

  void press(CPoint where, int32_t buttons) {
    frame->handleMouseDown(where, buttons);
    frame->handleMouseUp(where, buttons);
  }

  CFrame* frame = nullptr;
  Recorder listener;
  int shownMenus = 0;
};

// The editor's on/off buttons are sized in its layout test.
TEST_F(ControlsInFrame, AKickTakesItsSizeFromHalfTheBitmapAndReportsPressAndRelease) {
  CBitmap* bitmap = GreyStrip(40, 50, 2);
  auto* kick = new SkinnedKickBtn(3, 4, &listener, 7, bitmap);
  EXPECT_EQ(kick->getViewSize(), (CRect{3, 4, 43, 54}));
  EXPECT_EQ(kick->getHeightOfOneImage(), 50);
  EXPECT_EQ(bitmap->getNbReference(), 2) << "the button keeps the bitmap alive";
  frame->addView(kick);
  press({5, 5}, kLButton);
  EXPECT_EQ(listener.events,
            (std::vector<std::string>{"begin 7", "changed 7 1.000000", "changed 7 0.000000", "end 7"}));
  bitmap->forget();
}

TEST_F(ControlsInFrame, AKnobTurnsOnlyWithALeftDragAndARightClickOpensItsMenuIfItHasEntries) {
  CBitmap* knobStrip = GreyStrip(30, 30, 127);
  auto* menu = new COptionMenu({}, &listener, 132, nullptr, nullptr, kNoDrawStyle);
  menu->addEntry("Reset to default value");
  auto* empty = new COptionMenu({}, &listener, 144, nullptr, nullptr, kNoDrawStyle);
  auto* knob = new CAnimKnobExWithMenu({10, 10, 40, 40}, &listener, 120, 127, 30, knobStrip, {}, menu);
  auto* withEmptyMenu = new CAnimKnobExWithMenu({50, 10, 80, 40}, &listener, 121, 127, 30, knobStrip, {}, empty);
  knob->setValue(0.5f);
  frame->addView(knob);
  frame->addView(withEmptyMenu);
  for (const double x : {20.0, 60.0}) {
    frame->handleMouseDown({x, 20}, kRButton);
    frame->handleMouseMoved({x, 0}, kRButton);
    frame->handleMouseUp({x, 0}, kRButton);
  }
  EXPECT_EQ(knob->getValue(), 0.5f);
  EXPECT_EQ(shownMenus, 1);
  EXPECT_TRUE(listener.events.empty());

  frame->handleMouseDown({20, 60}, kLButton);
  frame->handleMouseDown({20, 20}, kLButton);
  frame->handleMouseMoved({20, 0}, kLButton);
  frame->handleMouseUp({20, 0}, kLButton);
  EXPECT_FLOAT_EQ(knob->getValue(), 0.5f + 20.0f / static_cast<float>(CAnimKnob::kDragRange));
  EXPECT_EQ(listener.events.front(), "begin 120");
  EXPECT_EQ(listener.events.back(), "end 120");
  menu->forget();
  empty->forget();
  knobStrip->forget();
}

TEST_F(ControlsInFrame, MultiStateButtonStepsThroughItsFourStates) {
  CBitmap* states = GreyStrip(52, 19, 4);
  auto* unused = new COptionMenu({}, &listener, 281, nullptr, nullptr, kNoDrawStyle);
  unused->addEntry("never shown");
  auto* selector = new CMultiStateButtonWithMenu({0, 0, 52, 19}, &listener, 281, 4, 19, states, {}, unused);
  frame->addView(selector);
  std::vector<float> values;
  for (int click = 0; click < 4; ++click) {
    press({10, 10}, click == 2 ? kRButton : kLButton);
    values.push_back(selector->getValue());
  }
  EXPECT_EQ(values, (std::vector<float>{0.5f, 0.85f, 1.0f, 0.0f}));
  EXPECT_EQ(selector->getState(), 0);
  EXPECT_EQ(listener.events.size(), 12u);
  EXPECT_EQ(listener.events[1], "changed 281 0.500000");
  EXPECT_EQ(shownMenus, 0);
  // States outside the four are ignored.
  selector->setState(2);
  selector->setState(4);
  selector->setState(-1);
  EXPECT_EQ(selector->getState(), 2);
  EXPECT_EQ(selector->getValue(), 0.85f);
  unused->forget();
  states->forget();
}

TEST_F(ControlsInFrame, TextButtonAnswersTheLeftButtonOnlyAndRemembersDoubleClicks) {
  auto* entry = new TextButton({0, 0, 100, 15}, &listener, 1, "kick.wav");
  frame->addView(entry);
  CPoint where{5, 5};
  EXPECT_EQ(entry->onMouseDown(where, kRButton), kMouseEventNotHandled);
  press({5, 5}, kLButton | kDoubleClick);
  EXPECT_TRUE(entry->isDoubleClick());
  press({5, 5}, kLButton);
  EXPECT_FALSE(entry->isDoubleClick());
  EXPECT_EQ(listener.events.size(), 2u);
  EXPECT_FALSE(entry->isEditing()) << "a click on a list entry never edits its text";
}

}  // namespace
}  // namespace widgets
