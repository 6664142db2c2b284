// The editor's control table, its layout from the skin bitmaps, and its size at each scale.
#include <filesystem>
#include <fstream>

#include "GuiFixture.h"
#include "editor/ControlTags.h"
#include "support/BmpFile.h"
#include "toolkit/CKickButton.h"

namespace guitest {
namespace {

using namespace editor::tags;
using toolkit::CRect;

class GuiLayout : public GuiFixture {};

TEST_F(GuiLayout, EveryTagFindsItsControlAndOnlyKnobsWithEntriesHaveMenus) {
  createEffect();
  for (int32_t tag = 0; tag < kControlCount; ++tag) {
    ASSERT_NE(control(tag), nullptr) << tag;
    EXPECT_EQ(control(tag)->getTag(), tag);
    EXPECT_EQ(control(tag)->getListener(), &gui()) << tag;
  }
  const editor::ControlTable& table = gui().controls();
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    EXPECT_EQ(table.knob(kPanKnob + holder)->getMenu(), table.menu(kPanMenu + holder));
    EXPECT_EQ(table.knob(kPitchKnob + holder)->getMenu(), table.menu(kPitchMenu + holder));
    // A right click on these must offer nothing to choose.
    EXPECT_EQ(table.knob(kVolumeKnob + holder)->getMenu(), nullptr);
    EXPECT_EQ(table.knob(kLengthKnob + holder)->getMenu(), nullptr);
  }
  EXPECT_EQ(table.knob(kSwingAmountKnob)->getMenu(), nullptr);
  EXPECT_FALSE(control(kSequencerModeSelector)->isVisible());
}

TEST_F(GuiLayout, BuiltInSkinPlacesTheControlsInsideTheBackground) {
  createEffect();
  gui().openOffscreen();
  const CRect background{0, 0, 1206, 616};
  for (toolkit::CControl* each : gui().controls().all()) {
    const CRect& rect = each->getViewSize();
    EXPECT_EQ(rect.united(background), background) << each->getTag();
    EXPECT_EQ(each->getMouseableArea(), rect) << each->getTag();
  }
}

TEST_F(GuiLayout, ASkinWithAWiderMuteButtonSpreadsOnlyTheMuteButtons) {
  std::filesystem::create_directories(directory->path() + "DrumSkins");
  testhost::WriteBmp(directory->path() + "DrumSkins/btnMute.bmp", 40, 42);
  testhost::WriteBmp(directory->path() + "DrumSkins/btnSeqGroupNrs-1-16.bmp", 36, 40);
  createEffect();
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    EXPECT_EQ(control(kMuteButton + holder)->getViewSize(),
              (CRect{104.0 + 77 * holder, 132, 144.0 + 77 * holder, 153}));
    EXPECT_EQ(control(kSoloButton + holder)->getViewSize().left, 131 + 63 * holder);
  }
  // All step group buttons take the size and pitch of the taller first one.
  EXPECT_EQ(control(kStepGroupButton + 1)->getViewSize().top, 430 + 21);
  EXPECT_EQ(control(kStepGroupButton + 7)->getViewSize(), (CRect{1117, 430 + 7 * 21, 1153, 430 + 7 * 21 + 20}));
  EXPECT_EQ(messages->messages().size(), 0u);
}

TEST_F(GuiLayout, BuiltInKeysAreLetteredByTheEditorAndSkinFilesKeepTheirOwnArt) {
  std::filesystem::create_directories(directory->path() + "DrumSkins");
  testhost::WriteBmp(directory->path() + "DrumSkins/btnSeqGroupNrs-17-32.bmp", 36, 26, {40, 90, 160});
  createEffect();
  gui().openOffscreen();
  // The built-in keys are alike; what tells them apart is the lettering the editor draws.
  EXPECT_EQ(gui().skinBitmaps()[editor::skin::kStepGroupFirst]->handle()->pixel(18, 6),
            gui().skinBitmaps()[editor::skin::kStepGroupFirst + 2]->handle()->pixel(18, 6));
  for (float scale : {1.0f, 0.6f}) {
    gui().setGuiScale(scale);
    EXPECT_NE(renderedPixels(kStepGroupButton + 2), renderedPixels(kStepGroupButton + 3)) << scale;
    EXPECT_NE(renderedPixels(kHolderSelect + 1), renderedPixels(kHolderSelect + 2)) << scale;
  }
  // The skin's own key shows its own pixels only (a single colour here).
  gui().setGuiScale(1.0f);
  for (uint32_t pixel : renderedPixels(kStepGroupButton + 1)) EXPECT_EQ(pixel, toolkit::Image::opaque(40, 90, 160));
}

TEST_F(GuiLayout, ASkinMayDrawTheMuteKeyOfAHolderMutedBySolo) {
  std::filesystem::create_directories(directory->path() + "DrumSkins");
  testhost::WriteBmp(directory->path() + "DrumSkins/btnMuteBySolo.bmp", 26, 42, {200, 40, 200});
  createEffect();
  gui().openOffscreen();
  change(kSoloButton, 1.0f);
  change(kMuteButton + 2, 1.0f);
  for (float scale : {0.6f, 1.0f}) {
    gui().setGuiScale(scale);
    const CRect key = control(kMuteButton + 1)->getViewSize();
    // Inside the key; scaling may darken the colour by one level.
    gui().mainMenuFrame()->render(key);
    const uint32_t pixel =
        gui().mainMenuFrame()->image().pixel(static_cast<int>(key.left) + 2, static_cast<int>(key.top) + 2);
    EXPECT_NEAR(toolkit::Image::red(pixel), 200, 1) << scale;
    EXPECT_NEAR(toolkit::Image::green(pixel), 40, 1) << scale;
    EXPECT_NE(renderedPixels(kMuteButton + 1), renderedPixels(kMuteButton + 2)) << scale;
  }
  change(kSoloButton, 0.0f);
  EXPECT_EQ(renderedPixels(kMuteButton + 1), renderedPixels(kMuteButton + 3));
}

TEST_F(GuiLayout, TheHostLearnsTheStoredSizeBeforeTheFirstOpening) {
  std::ofstream(directory->path() + "Kestrelhollow.cfg") << "0.7";
  createEffect();
  vst::ERect* rect = nullptr;
  ASSERT_EQ(vst().dispatcher(vst::effEditGetRect, 0, 0, &rect, 0.0f), 1);
  EXPECT_EQ(rect->right, 844);
  EXPECT_EQ(rect->bottom, 431);
  EXPECT_NE(vst().getAeffect()->flags & vst::effFlagsHasEditor, 0);
}

TEST_F(GuiLayout, ScalingResizesControlsFontsAndTheWindowAndStoresTheFactor) {
  createEffect();
  gui().openOffscreen();
  // The holder names shrink with the editor but never outgrow their field, whose height at
  // full size (12) holds the 11-pixel letters: taller letters would be cut off.
  const struct {
    float scale;
    const char* stored;
  } cases[] = {{1.0f, "1"}, {0.9f, "0.9"}, {0.8f, "0.8"}, {0.75f, "0.75"}, {0.7f, "0.7"}, {0.65f, "0.65"}};
  double previous = 11.0;
  for (const auto& each : cases) {
    gui().setGuiScale(each.scale);
    for (int holder = 0; holder < engine::kHolderCount; ++holder) {
      const toolkit::CTextEdit* field = gui().controls().nameField(holder);
      EXPECT_LE(field->getFont().size, field->getViewSize().height() * 11.0 / 12.0 + 1e-6) << each.scale;
      EXPECT_LE(field->getFont().size, previous) << each.scale;
    }
    previous = gui().controls().nameField(0)->getFont().size;
    EXPECT_EQ(configurationText(), each.stored);
  }
  gui().setGuiScale(0.6f);
  const double s = 0.6f;
  EXPECT_EQ(control(kStepButton + 15)->getViewSize(), (CRect{1049 * s, 455 * s, 1101 * s, 495 * s}));
  EXPECT_EQ(control(kStepButton + 15)->getMouseableArea(), control(kStepButton + 15)->getViewSize());
  // Knob strips and selectors show whole images of the scaled bitmaps.
  EXPECT_EQ(gui().controls().knob(kPitchKnob)->getHeightOfOneImage(), 2286.0 / 127);
  EXPECT_EQ(gui().controls().selector(kResolutionSelector)->getHeightOfOneImage(),
            gui().skinBitmaps()[editor::skin::kResolution]->getHeight() / 4);
  EXPECT_EQ(static_cast<toolkit::CKickButton*>(control(kNextFile + 4))->getHeightOfOneImage(),
            gui().skinBitmaps()[editor::skin::kNextSample]->getHeight() / 2);
  EXPECT_EQ(gui().size(), (editor::EditorSize{723, 369}));
  EXPECT_EQ(gui().mainMenuFrame()->getViewSize(), (CRect{0, 0, 723, 369}));
  EXPECT_EQ(gui().mainMenuFrame()->image().width(), 723);
  // Back to full size, every control is where it started.
  gui().setGuiScale(1.0f);
  EXPECT_EQ(control(kStepButton + 15)->getViewSize(), (CRect{1049, 455, 1101, 495}));
}

}  // namespace
}  // namespace guitest
