// The platform-free toolkit, drawn into an offscreen frame: dirty areas, mouse routing,
// view ownership, the controls' own behaviour, scrolling and the timer.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "toolkit/CAnimKnob.h"
#include "toolkit/CFrame.h"
#include "toolkit/CScrollView.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/CVSTGUITimer.h"
#include "toolkit/PopupListChoice.h"

namespace toolkit {
namespace {

struct Counter : CControlListener {
  void valueChanged(CControl* control) override { values.push_back(control->getValue()); }
  std::vector<float> values;
};

// A view that counts how often it is drawn and what it was pressed with.
struct Probe : CView {
  using CView::CView;
  void draw(CDrawContext& context) override {
    ++draws;
    context.fillRect(getViewSize(), {0, 200, 0, 255});
    CView::draw(context);
  }
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState&) override {
    presses.push_back(where);
    return kMouseEventHandled;
  }
  CMouseEventResult onMouseMoved(CPoint&, const CButtonState&) override {
    ++moves;
    return kMouseEventHandled;
  }
  CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override {
    ++releases;
    return kMouseEventHandled;
  }
  int draws = 0;
  int moves = 0;
  int releases = 0;
  std::vector<CPoint> presses;
};

class Offscreen : public ::testing::Test {
 protected:
  void SetUp() override { frame = new CFrame({0, 0, 300, 200}, nullptr, nullptr); }
  void TearDown() override { frame->forget(); }
  CFrame* frame = nullptr;
  Counter listener;
};

TEST_F(Offscreen, DirtyRectanglesMergeAndOnlyDirtyViewsAreDrawnAgainInTheirOwnCoordinates) {
  auto* left = new Probe({10, 10, 30, 30});
  auto* overlapping = new Probe({25, 25, 50, 50});
  auto* far = new Probe({200, 150, 220, 170});
  for (CView* view : {left, overlapping, far}) frame->addView(view);
  frame->updateDirty();
  const int drawsBefore = far->draws;

  left->setDirty();
  overlapping->setDirty();
  ASSERT_EQ(frame->dirtyRects().size(), 1u);
  EXPECT_EQ(frame->dirtyRects()[0], (CRect{10, 10, 50, 50}));
  frame->updateDirty();
  EXPECT_EQ(far->draws, drawsBefore);
  EXPECT_TRUE(frame->dirtyRects().empty());
  EXPECT_EQ(Image::green(frame->image().pixel(40, 40)), 200);
  EXPECT_EQ(Image::green(frame->image().pixel(100, 100)), 0);

  // A nested container gives its views their own coordinates, for drawing and for the mouse.
  auto* panel = new CViewContainer({100, 50, 300, 200});
  auto* probe = new Probe({10, 20, 50, 60});
  panel->addView(probe);
  frame->addView(panel);
  frame->handleMouseDown({115, 75}, kLButton);
  ASSERT_EQ(probe->presses.size(), 1u);
  EXPECT_EQ(probe->presses[0], (CPoint{15, 25}));
  frame->updateDirty();
  EXPECT_EQ(Image::green(frame->image().pixel(112, 72)), 200);
}

TEST_F(Offscreen, TheTopmostVisibleViewGetsThePressAndKeepsTheMouseUntilRelease) {
  auto* below = new Probe({0, 0, 100, 100});
  auto* above = new Probe({50, 50, 150, 150});
  frame->addView(below);
  frame->addView(above);
  frame->handleMouseDown({60, 60}, kLButton);
  frame->handleMouseMoved({250, 190}, kLButton);
  frame->handleMouseUp({250, 190}, kLButton);
  EXPECT_TRUE(below->presses.empty());
  ASSERT_EQ(above->presses.size(), 1u);
  EXPECT_EQ(above->moves, 1);
  EXPECT_EQ(above->releases, 1);

  above->setVisible(false);
  frame->handleMouseDown({60, 60}, kLButton);
  below->setMouseEnabled(false);
  frame->handleMouseDown({60, 60}, kLButton);
  EXPECT_EQ(below->presses.size(), 1u);
  // The mouse area, not the view's size, decides where it is hit.
  below->setMouseEnabled(true);
  below->setMouseableArea({0, 0, 10, 10});
  frame->handleMouseDown({60, 60}, kLButton);
  frame->handleMouseDown({5, 5}, kLButton);
  EXPECT_EQ(below->presses.size(), 2u);
}

TEST_F(Offscreen, AViewLivesUntilItsHandlerReturnsAndIsReleasedWhenRemoved) {
  // Takes itself out of its container when released, then still counts the release.
  struct Leaver : Probe {
    Leaver(int& released) : Probe({10, 10, 40, 40}), released_(released) {}
    CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override {
      getParentView()->removeView(this, true);
      ++released_;
      return kMouseEventHandled;
    }
    int& released_;
  };
  int released = 0;
  frame->addView(new Leaver(released));
  frame->handleMouseDown({20, 20}, kLButton);
  frame->handleMouseUp({20, 20}, kLButton);
  EXPECT_EQ(released, 1);
  EXPECT_EQ(frame->getNbViews(), 0);

  // Removing a view releases it unless asked not to; a view is added once.
  auto* kept = new Probe({0, 0, 10, 10});
  kept->remember();
  frame->addView(kept);
  EXPECT_FALSE(frame->addView(kept));
  frame->removeView(kept, false);
  EXPECT_EQ(kept->getNbReference(), 2);
  frame->addView(kept);
  frame->removeView(kept);
  EXPECT_EQ(kept->getNbReference(), 1);
  kept->forget();
}

TEST_F(Offscreen, KnobShowsTheImageOfItsValueAndASelectorEachImageFromTheValueThatStartsIt) {
  auto* knob = new CAnimKnob({0, 0, 30, 30}, &listener, 1, 127, 30, nullptr);
  auto* selector = new CAnimKnob({0, 40, 30, 70}, &listener, 2, 4, 30, nullptr);
  frame->addView(knob);
  frame->addView(selector);
  using Row = std::tuple<CAnimKnob*, float, int>;
  for (const auto& [control, value, image] :
       {Row{knob, 1.0f, 126}, Row{knob, 0.5f, 63}, Row{knob, -3.0f, 0}, Row{selector, 0.0f, 0}, Row{selector, 0.5f, 1},
        Row{selector, 0.85f, 2}, Row{selector, 1.0f, 3}}) {
    control->setValue(value);
    EXPECT_EQ(control->currentImage(), image) << control->getTag() << " at " << value;
  }
}

TEST_F(Offscreen, TextFieldEditsWithTheFocusUntilItGoesAndEscapeKeepsTheOldText) {
  auto* field = new CTextEdit({0, 0, 100, 12}, &listener, 72, "Snare");
  frame->addView(field);
  frame->handleMouseDown({5, 5}, kLButton);
  ASSERT_TRUE(field->isEditing());
  EXPECT_EQ(frame->getFocusView(), field);
  frame->onKeyDown({U'X', VirtualKey::NoKey});
  frame->onKeyDown({0, VirtualKey::Escape});
  EXPECT_EQ(field->getText(), "Snare");
  EXPECT_TRUE(listener.values.empty());

  // Back takes away a whole character, however many bytes it has.
  frame->handleMouseDown({5, 5}, kLButton);
  for (const KeyStroke& key : {KeyStroke{0, VirtualKey::Back}, KeyStroke{U'\u00e9', VirtualKey::NoKey},
                               KeyStroke{U'\u20ac', VirtualKey::NoKey}, KeyStroke{0, VirtualKey::Back}}) {
    frame->onKeyDown(key);
  }
  // A press elsewhere ends the editing and keeps the text.
  frame->handleMouseDown({250, 150}, kLButton);
  EXPECT_FALSE(field->isEditing());
  EXPECT_EQ(field->getText(), "Snar\xC3\xA9");
  EXPECT_EQ(listener.values.size(), 1u);
  EXPECT_EQ(frame->getFocusView(), nullptr);

  // Removing the container of the field being edited ends the editing; keys then reach nobody.
  auto* panel = new CViewContainer({0, 50, 200, 100});
  auto* other = new CTextEdit({0, 0, 100, 12}, &listener, 73, "Tom");
  panel->addView(other);
  frame->addView(panel);
  frame->handleMouseDown({5, 55}, kLButton);
  ASSERT_EQ(frame->getFocusView(), other);
  frame->removeView(panel);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_FALSE(frame->onKeyDown({U'x', VirtualKey::NoKey}));
}

TEST_F(Offscreen, ScrollViewShowsAndHitsItsContentAtTheScrolledPosition) {
  auto* scroll = new CScrollView({0, 20, 200, 120}, {0, 0, 200, 100}, frame, CScrollView::kVerticalScrollbar, 16);
  frame->addView(scroll);
  auto* row = new Probe({0, 250, 100, 265});
  scroll->addView(row);
  scroll->setContainerSize({0, 0, 1000, 400});
  EXPECT_DOUBLE_EQ(scroll->visibleFraction(), 0.25);

  frame->handleMouseDown({10, 20 + 50}, kLButton);
  EXPECT_TRUE(row->presses.empty());
  scroll->getVerticalScrollbar()->setValue(250.0f / 300.0f);
  EXPECT_NEAR(scroll->scrollOffset(), 250.0, 1e-3);
  frame->handleMouseDown({10, 20 + 5}, kLButton);
  ASSERT_EQ(row->presses.size(), 1u);
  EXPECT_NEAR(row->presses[0].y, 255.0, 1e-3);
  frame->updateDirty();
  EXPECT_EQ(Image::green(frame->image().pixel(10, 25)), 200);
  // The bar itself is not scrolled content.
  frame->handleMouseDown({195, 20 + 5}, kLButton);
  EXPECT_EQ(row->presses.size(), 1u);

  scroll->removeAll();
  EXPECT_EQ(scroll->getNbViews(), 0);
  scroll->onWheel({10, 30}, 1.0f);
  EXPECT_LT(scroll->getVerticalScrollbar()->getValue(), 250.0f / 300.0f);
}

struct TickCounter : CBaseObject {
  CMessageResult notify(CBaseObject*, CMessageId message) override {
    if (message == kMsgTimer) ++ticks;
    return kMessageNotified;
  }
  int ticks = 0;
};

TEST(Timer, CatchesUpOnElapsedTimeWithABound) {
  TickCounter target;
  CVSTGUITimer timer(&target, 1);
  const auto start = CVSTGUITimer::Clock::now();
  timer.start();
  timer.poll(start + std::chrono::milliseconds(30));
  // One tick per elapsed millisecond since the start (which lies a moment after `start`).
  EXPECT_GE(target.ticks, 25);
  EXPECT_LE(target.ticks, 30);
  target.ticks = 0;
  timer.poll(start + std::chrono::seconds(10));
  EXPECT_EQ(target.ticks, CVSTGUITimer::kMaxCatchUpTicks);
  timer.poll(start + std::chrono::seconds(10));
  EXPECT_EQ(target.ticks, CVSTGUITimer::kMaxCatchUpTicks) << "the time beyond the bound is dropped";
  timer.stop();
  timer.poll(start + std::chrono::seconds(20));
  EXPECT_EQ(target.ticks, CVSTGUITimer::kMaxCatchUpTicks) << "a stopped timer does not tick";
}

// What the pointer and the keys do to an open pop-up list of three entries: "o1" the pointer
// over entry 1 (-1: none), "p1" a press inside the list and "p0" outside it, "r2" a release over
// entry 2; the keys Down, Up, Return, Escape and Tab by their first letter. An input that asks
// for the list to be drawn again counts a redraw.
TEST(PopupListChoice, PointerAndKeysMoveTheHighlightAndCloseTheList) {
  const struct {
    const char *what, *inputs;
    bool open;
    int32_t chosen;
    int highlighted, redraws;
  } cases[] = {
      {"the pointer highlights the entry under it", "o1 o1 o-1", true, -1, -1, 2},
      {"a release over an entry chooses it", "o2 r2", false, 2, 2, 1},
      {"the release of the opening click beside the list chooses nothing", "r-1", true, -1, -1, 0},
      {"a press inside leaves the choice to the release", "p1", true, -1, -1, 0},
      {"a press outside dismisses the list", "o1 p0", false, -1, 1, 1},
      {"Escape dismisses the list", "o1 E", false, -1, 1, 1},
      {"Return without a highlight does nothing", "R", true, -1, -1, 0},
      {"Return chooses the highlighted entry", "D R", false, 0, 0, 1},
      {"Down starts at the first entry and goes round", "D D D D", true, -1, 0, 4},
      {"Up starts at the last entry and goes round", "U U U U", true, -1, 2, 4},
      {"the keys go on from the entry under the pointer", "o1 U", true, -1, 0, 2},
      {"other keys do nothing", "T", true, -1, -1, 0},
  };
  using enum VirtualKey;
  const std::map<char, VirtualKey> keys{{'D', Down}, {'U', Up}, {'R', Return}, {'E', Escape}, {'T', Tab}};
  for (const auto& c : cases) {
    PopupListChoice list(3);
    int redraws = 0;
    std::istringstream inputs(c.inputs);
    for (std::string input; inputs >> input;) {
      const int entry = input.size() > 1 ? std::stoi(input.substr(1)) : 0;
      if (input[0] == 'o') {
        redraws += list.pointerOver(entry);
      } else if (input[0] == 'p') {
        list.press(entry == 1);
      } else if (input[0] == 'r') {
        list.release(entry);
      } else {
        redraws += list.key(keys.at(input[0]));
      }
    }
    EXPECT_EQ(list.open(), c.open) << c.what;
    EXPECT_EQ(list.chosen(), c.chosen) << c.what;
    EXPECT_EQ(list.highlighted(), c.highlighted) << c.what;
    EXPECT_EQ(redraws, c.redraws) << c.what;
  }
}

}  // namespace
}  // namespace toolkit
