// The editor's control table, its layout from the skin bitmaps, and its looks at each scale.
#include <filesystem>
#include <fstream>

#include "GuiFixture.h"
#include "support/BmpFile.h"
#include "toolkit/CKickButton.h"

namespace guitest {
namespace {

using toolkit::CRect;

class GuiLayout : public GuiFixture {
 protected:
  void writeSkinFile(const std::string& name, int width, int height, testhost::Rgb colour = {0x80, 0x80, 0x80}) {
    std::filesystem::create_directories(directory.path() + "DrumSkins");
    testhost::WriteBmp(directory.path() + "DrumSkins/" + name, width, height, colour);
  }
};

TEST_F(GuiLayout, EveryTagFindsItsControlInsideTheBackgroundAndOnlyKnobsWithEntriesHaveMenus) {
  gui().openOffscreen();
  const CRect background{0, 0, 1206, 616};
  for (int32_t tag = 0; tag < kControlCount; ++tag) {
    ASSERT_NE(control(tag), nullptr) << tag;
    EXPECT_EQ(control(tag)->getTag(), tag);
    EXPECT_EQ(control(tag)->getListener(), &gui()) << tag;
    EXPECT_EQ(control(tag)->getViewSize().united(background), background) << tag;
    EXPECT_EQ(control(tag)->getMouseableArea(), control(tag)->getViewSize()) << tag;
  }
  const editor::ControlTable& table = gui().controls();
  for (int index = 0; index < engine::kHolderCount; ++index) {
    EXPECT_EQ(table.knob(kPanKnob + index)->getMenu(), table.menu(kPanMenu + index));
    EXPECT_EQ(table.knob(kPitchKnob + index)->getMenu(), table.menu(kPitchMenu + index));
    EXPECT_EQ(table.knob(kVolumeKnob + index)->getMenu(), nullptr);
    EXPECT_EQ(table.knob(kLengthKnob + index)->getMenu(), nullptr);
  }
  EXPECT_EQ(table.knob(kSwingAmountKnob)->getMenu(), nullptr);
  EXPECT_FALSE(control(kSequencerModeSelector)->isVisible());
}

TEST_F(GuiLayout, ASkinWithAWiderMuteButtonSpreadsOnlyTheMuteButtons) {
  writeSkinFile("btnMute.bmp", 40, 42);
  writeSkinFile("btnSeqGroupNrs-1-16.bmp", 36, 40);
  for (int index = 0; index < engine::kHolderCount; ++index) {
    EXPECT_EQ(control(kMuteButton + index)->getViewSize(), (CRect{104.0 + 77 * index, 132, 144.0 + 77 * index, 153}));
    EXPECT_EQ(control(kSoloButton + index)->getViewSize().left, 131 + 63 * index);
  }
  // All step group buttons take the size and pitch of the taller first one.
  EXPECT_EQ(control(kStepGroupButton + 7)->getViewSize(), (CRect{1117, 430 + 7 * 21, 1153, 430 + 7 * 21 + 20}));
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(GuiLayout, BuiltInKeysAndStepNumbersAreLetteredByTheEditorAndSkinFilesKeepTheirOwnArt) {
  writeSkinFile("btnSeqGroupNrs-17-32.bmp", 36, 26, {40, 90, 160});
  gui().openOffscreen();
  // The built-in keys are alike; what tells them apart is the lettering the editor draws.
  EXPECT_EQ(gui().skinBitmaps()[editor::skin::kStepGroupFirst]->handle()->pixel(18, 6),
            gui().skinBitmaps()[editor::skin::kStepGroupFirst + 2]->handle()->pixel(18, 6));
  for (float scale : {1.0f, 0.6f}) {
    gui().setGuiScale(scale);
    EXPECT_NE(renderedPixels(kStepGroupButton + 2), renderedPixels(kStepGroupButton + 3)) << scale;
    EXPECT_NE(renderedPixels(kHolderSelect + 1), renderedPixels(kHolderSelect + 2)) << scale;
  }
  gui().setGuiScale(1.0f);
  for (uint32_t pixel : renderedPixels(kStepGroupButton + 1)) EXPECT_EQ(pixel, toolkit::Image::opaque(40, 90, 160));
  // The numbers under the step buttons follow the step group.
  const CRect numbers{control(kStepButton)->getViewSize().left, 514, control(kStepButton + 15)->getViewSize().right,
                      532};
  const std::vector<uint32_t> firstGroup = renderedPixels(numbers);
  change(kStepGroupButton + 1, 1.0f);
  EXPECT_NE(renderedPixels(numbers), firstGroup);
  change(kStepGroupButton, 1.0f);
  EXPECT_EQ(renderedPixels(numbers), firstGroup);
}

// A holder muted by a solo looks unlike one the user muted: shaded, or a skin's own image.
TEST_F(GuiLayout, AHolderMutedBySoloLooksUnlikeOneTheUserMuted) {
  for (const bool skinFile : {false, true}) {
    if (skinFile) writeSkinFile("btnMuteBySolo.bmp", 26, 42, {200, 40, 200});
    createEffect();
    gui().openOffscreen();
    change(kSoloButton, 1.0f);
    change(kMuteButton + 2, 1.0f);
    for (float scale : {0.6f, 1.0f}) {
      gui().setGuiScale(scale);
      EXPECT_NE(renderedPixels(kMuteButton + 1), renderedPixels(kMuteButton + 2)) << scale;
      EXPECT_NE(renderedPixels(kMuteButton + 1), renderedPixels(kMuteButton)) << scale;
      if (!skinFile) continue;
      // Inside the key; scaling may darken the colour by one level.
      const CRect key = control(kMuteButton + 1)->getViewSize();
      frame().render(key);
      const uint32_t pixel = frame().image().pixel(static_cast<int>(key.left) + 2, static_cast<int>(key.top) + 2);
      EXPECT_NEAR(toolkit::Image::red(pixel), 200, 1) << scale;
      EXPECT_NEAR(toolkit::Image::green(pixel), 40, 1) << scale;
    }
    change(kSoloButton, 0.0f);
    EXPECT_EQ(renderedPixels(kMuteButton + 1), renderedPixels(kMuteButton + 3));
  }
}

TEST_F(GuiLayout, ScalingResizesControlsFontsAndTheWindowAndTheHostLearnsTheStoredSize) {
  std::ofstream(directory.path() + "Kestrelhollow.cfg") << "0.7";
  vst::ERect* rect = nullptr;
  ASSERT_EQ(vst().dispatcher(vst::effEditGetRect, 0, 0, &rect, 0.0f), 1);
  EXPECT_EQ(rect->right, 844);
  EXPECT_EQ(rect->bottom, 431);
  gui().openOffscreen();
  // The holder names shrink with the editor but never outgrow their field, whose height at
  // full size (12) holds the 11-pixel letters: taller letters would be cut off.
  double previous = 11.0;
  for (float scale : {1.0f, 0.9f, 0.8f, 0.75f, 0.7f, 0.65f}) {
    gui().setGuiScale(scale);
    const toolkit::CTextEdit* field = gui().controls().nameField(0);
    EXPECT_LE(field->getFont().size, field->getViewSize().height() * 11.0 / 12.0 + 1e-6) << scale;
    EXPECT_LE(field->getFont().size, previous) << scale;
    previous = field->getFont().size;
  }
  gui().setGuiScale(0.6f);
  const double s = 0.6f;
  EXPECT_EQ(control(kStepButton + 15)->getMouseableArea(), (CRect{1049 * s, 455 * s, 1101 * s, 495 * s}));
  // Knob strips and selectors show whole images of the scaled bitmaps.
  EXPECT_EQ(gui().controls().knob(kPitchKnob)->getHeightOfOneImage(), 2286.0 / 127);
  EXPECT_EQ(gui().controls().selector(kResolutionSelector)->getHeightOfOneImage(),
            gui().skinBitmaps()[editor::skin::kResolution]->getHeight() / 4);
  EXPECT_EQ(static_cast<toolkit::CKickButton*>(control(kNextFile + 4))->getHeightOfOneImage(),
            gui().skinBitmaps()[editor::skin::kNextSample]->getHeight() / 2);
  EXPECT_EQ(gui().size(), (editor::EditorSize{723, 369}));
  EXPECT_EQ(frame().image().width(), 723);
  gui().setGuiScale(1.0f);
  EXPECT_EQ(control(kStepButton + 15)->getViewSize(), (CRect{1049, 455, 1101, 495}));
}

}  // namespace
}  // namespace guitest
