#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/CFrame.h"
#include "widgets/CAnimKnobExWithMenu.h"
#include "widgets/CMultiStateButtonWithMenu.h"
#include "widgets/OnOffBtnWithMenu.h"
#include "widgets/SkinnedKickBtn.h"
#include "widgets/SkinnedOnOffButton.h"
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
    frame->setMenuChooser([this](const std::vector<std::string>& entries, CPoint where) {
      shownMenus.push_back({entries, where});
      return menuChoice;
    });
  }
  void TearDown() override { frame->forget(); }

  void press(CPoint where, int32_t buttons) {
    frame->handleMouseDown(where, buttons);
    frame->handleMouseUp(where, buttons);
  }

  struct ShownMenu {
    std::vector<std::string> entries;
    CPoint where;
  };
  CFrame* frame = nullptr;
  Recorder listener;
  std::vector<ShownMenu> shownMenus;
  int32_t menuChoice = -1;
};

TEST_F(ControlsInFrame, SkinnedButtonsTakeTheirSizeFromHalfTheBitmapAndAKickReportsPressAndRelease) {
  CBitmap* bitmap = GreyStrip(40, 50, 2);
  auto* onOff = new SkinnedOnOffButton(10, 20, &listener, 1, bitmap);
  EXPECT_EQ(onOff->getViewSize(), (CRect{10, 20, 50, 70}));
  EXPECT_EQ(onOff->getMouseableArea(), onOff->getViewSize());
  auto* kick = new SkinnedKickBtn(3, 4, &listener, 7, bitmap);
  EXPECT_EQ(kick->getViewSize(), (CRect{3, 4, 43, 54}));
  EXPECT_EQ(kick->getHeightOfOneImage(), 50);
  EXPECT_EQ(bitmap->getNbReference(), 3) << "each button keeps the bitmap alive";
  onOff->forget();
  frame->addView(kick);
  press({5, 5}, kLButton);
  EXPECT_EQ(listener.events,
            (std::vector<std::string>{"begin 7", "changed 7 1.000000", "changed 7 0.000000", "end 7"}));
  bitmap->forget();
}

TEST_F(ControlsInFrame, OnOffButtonWithMenuTogglesOnLeftAndOnlyShowsTheMenuOnRight) {
  CBitmap* bitmap = GreyStrip(20, 10, 2);
  Recorder menuListener;
  auto* menu = new COptionMenu({}, &menuListener, 60, nullptr, nullptr, kNoDrawStyle);
  for (const char* entry : {"Clear", "Copy"}) menu->addEntry(entry);
  auto* button = new OnOffBtnWithMenu(30, 40, &listener, 48, bitmap, menu);
  frame->addView(button);

  press({35, 45}, kLButton);
  EXPECT_EQ(button->getValue(), 1.0f);
  EXPECT_EQ(listener.events.size(), 3u);

  menuChoice = 1;
  press({36, 47}, kRButton);
  EXPECT_EQ(button->getValue(), 1.0f);
  EXPECT_EQ(listener.events.size(), 3u);
  ASSERT_EQ(shownMenus.size(), 1u);
  EXPECT_EQ(shownMenus[0].entries, (std::vector<std::string>{"Clear", "Copy"}));
  EXPECT_EQ(shownMenus[0].where, (CPoint{36, 49}));
  EXPECT_EQ(menu->getCurrentIndex(), 1);
  EXPECT_EQ(menuListener.events, (std::vector<std::string>{"begin 60", "changed 60 1.000000", "end 60"}));
  EXPECT_FALSE(frame->isChild(menu)) << "the menu is back out of the frame, and still alive";
  EXPECT_EQ(menu->getNbReference(), 1);
  menu->forget();
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
  EXPECT_EQ(shownMenus.size(), 1u);
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
  EXPECT_TRUE(shownMenus.empty());

  selector->setState(2);
  EXPECT_EQ(selector->getValue(), 0.85f);
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
  entry->setSelectedLook();
  const CColor selected = entry->getFontColor();
  entry->setNormalLook();
  EXPECT_NE(entry->getFontColor(), selected);
}

}  // namespace
}  // namespace widgets
