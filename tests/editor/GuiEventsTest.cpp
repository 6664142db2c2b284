// What the editor's controls do to the model and to each other.
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "GuiFixture.h"
#include "editor/ControlTags.h"
#include "editor/PitchKnob.h"

namespace guitest {
namespace {

using namespace editor::tags;
using engine::SyncMode;

class GuiEvents : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    createEffect();
  }
  uint32_t muteState(int holder) { return kit().holder(static_cast<uint8_t>(36 + holder)).muteState(); }
  // The controls show these values, by tag.
  void expectValues(std::initializer_list<std::pair<int32_t, float>> expected) {
    for (const auto& [tag, shown] : expected) EXPECT_EQ(value(tag), shown) << "tag " << tag;
  }
};

TEST_F(GuiEvents, AStepButtonWritesTheCellOfTheShownGroupHolderAndPattern) {
  change(kHolderSelect + 4, 1.0f);
  change(kStepGroupButton + 3, 1.0f);
  patterns().setCell(0xABCDEF00, 0, 52, 4);
  change(kStepButton + 4, 1.0f);
  EXPECT_EQ(patterns().getCell(0, 52, 4), engine::kSoundingStepCell);
  EXPECT_EQ(patterns().getCell(0, 52, 0), 0u);
  change(kStepButton + 4, 0.0f);
  EXPECT_EQ(patterns().getCell(0, 52, 4), 0x00017F00u);
  // Every change reaches the host as automation of the control's tag.
  ASSERT_FALSE(automations.empty());
  EXPECT_EQ(automations.back().index, kStepButton + 4);
  EXPECT_EQ(automations.back().value, 0.0f);
}

TEST_F(GuiEvents, TheStepRowFollowsHolderGroupAndPattern) {
  patterns().setCell(engine::kSoundingStepCell, 12, 17, 2);
  change(kOctave3Bank, 1.0f);
  EXPECT_EQ(gui().shownPattern(), 12);
  EXPECT_EQ(value(kOctave3Bank), 1.0f);
  EXPECT_EQ(value(kOctave2Bank), 0.0f);
  change(kHolderSelect + 2, 1.0f);
  EXPECT_EQ(value(kHolderSelect), 0.0f);
  EXPECT_EQ(value(kStepButton + 1), 0.0f);
  change(kStepGroupButton + 1, 1.0f);
  EXPECT_EQ(value(kStepButton + 1), 1.0f);
  EXPECT_EQ(value(kStepGroupButton), 0.0f);
  // The lit select button stays lit when clicked again.
  change(kHolderSelect + 2, 0.0f);
  EXPECT_EQ(value(kHolderSelect + 2), 1.0f);
  EXPECT_EQ(gui().selectedHolder(), 2);
  // A pattern button shows its pattern in the lit bank, and so does the other bank.
  change(kOctave2Bank, 1.0f);
  change(kPatternButton + 5, 1.0f);
  EXPECT_EQ(gui().shownPattern(), 5);
  EXPECT_EQ(clock().currentPattern(), 5);
  EXPECT_EQ(value(kPatternButton), 0.0f);
  change(kPatternButton + 5, 0.0f);
  EXPECT_EQ(value(kPatternButton + 5), 1.0f);
  change(kOctave3Bank, 1.0f);
  EXPECT_EQ(gui().shownPattern(), 17);
  change(kOctave3Bank, 0.0f);
  EXPECT_EQ(value(kOctave3Bank), 1.0f);
}

TEST_F(GuiEvents, MuteAndSoloButtonsShowTheRuleOfTheInstrument) {
  change(kSoloButton + 1, 1.0f);
  change(kMuteButton + 7, 0.0f);  // refused while a solo is on: the button stays lit
  EXPECT_EQ(value(kMuteButton + 7), 1.0f);
  change(kSoloButton + 1, 0.0f);
  expectValues({{kMuteButton + 7, 1.0f}, {kMuteButton + 3, 0.0f}, {kSoloButton + 1, 0.0f}});
}

TEST_F(GuiEvents, PitchKnobBandsAndShownValues) {
  const struct {
    float knob;
    int pitch;
  } bands[] = {{0.0f, -12}, {0.03f, -12}, {0.47f, -1}, {0.5f, 0}, {0.53f, 1}, {0.99f, 12}, {1.0f, 12}};
  for (const auto& band : bands) {
    change(kPitchKnob + 3, band.knob);
    EXPECT_EQ(kit().holder(39).pitch(), band.pitch) << band.knob;
  }
  for (float outside : {-0.1f, 1.5f}) EXPECT_FALSE(editor::PitchFromKnob(outside)) << outside;
  EXPECT_FALSE(editor::PitchKnobValue(13));
  // Every pitch is shown at a value that sets it again: touching the knob changes nothing.
  for (int pitch = -12; pitch <= 12; ++pitch) {
    kit().holder(39).setPitch(static_cast<int8_t>(pitch));
    gui().refreshFromModel();
    gui().valueChanged(control(kPitchKnob + 3));
    EXPECT_EQ(kit().holder(39).pitch(), pitch);
  }
  choose(kPitchMenu + 3, 0);
  EXPECT_EQ(kit().holder(39).pitch(), 0);
  EXPECT_EQ(value(kPitchKnob + 3), 0.5f);
}

TEST_F(GuiEvents, ResetEntriesAndSelectorsReachTheRightHolderAndPattern) {
  change(kPanKnob + 1, 0.2f);
  change(kMasterLevelKnob, 0.1f);
  EXPECT_EQ(kit().holder(37).pan(), 0.2f);
  choose(kPanMenu + 1, 0);
  choose(kMasterMenu, 0);
  EXPECT_EQ(kit().holder(37).pan(), 0.5f);
  EXPECT_EQ(value(kPanKnob + 1), 0.5f);
  EXPECT_EQ(engine().kitPlayer().masterLevel(), 0.75f);
  EXPECT_EQ(value(kMasterLevelKnob), 0.75f);
  change(kOctave3Bank, 1.0f);
  static_cast<widgets::CMultiStateButtonWithMenu*>(control(kResolutionSelector))->setState(2);
  gui().valueChanged(control(kResolutionSelector));
  EXPECT_EQ(patterns().resolution(12), 64);
  EXPECT_EQ(patterns().resolution(0), 16);
}

TEST_F(GuiEvents, PatternMenuActsOnTheShownBankAndUnfinishedEntriesOnlySaySo) {
  change(kOctave3Bank, 1.0f);
  patterns().setCell(engine::kSoundingStepCell, 16, 3, 0);
  choose(kPatternMenu + 4, 1);  // "Copy this pattern to Oct2 C"
  EXPECT_EQ(patterns().getCell(0, 3, 0), engine::kSoundingStepCell);
  choose(kPatternMenu + 4, 0);  // "Clear this pattern"
  EXPECT_FALSE(patterns().cellSounds(16, 3, 0));
  EXPECT_EQ(patterns().getCell(0, 3, 0), engine::kSoundingStepCell);
  EXPECT_EQ(messages->count("Message"), 0u);
  // A copy onto the shown pattern (Oct3 C) shows up in the step row at once.
  patterns().setCell(engine::kSoundingStepCell, 16, 3, 0);
  choose(kPatternMenu + 4, 13);
  EXPECT_EQ(value(kStepButton + 3), 1.0f);
  for (int entry : {25, 26, 27}) choose(kPatternMenu + 4, entry);
  EXPECT_EQ(messages->count("Message"), 3u);
  EXPECT_EQ(messages->messages().back().text, "Not implemented yet");
  EXPECT_EQ(patterns().getCell(0, 3, 0), engine::kSoundingStepCell);
}

TEST_F(GuiEvents, ClearingTheShownPatternDarkensItsStepButtonsOnTheScreen) {
  gui().openOffscreen();
  const std::vector<uint32_t> unlit = renderedPixels(kStepButton + 3);
  change(kStepButton + 3, 1.0f);
  ASSERT_TRUE(patterns().cellSounds(0, 3, 0));
  ASSERT_NE(renderedPixels(kStepButton + 3), unlit);
  choose(kPatternMenu, 0);  // "Clear this pattern" on the shown pattern
  EXPECT_FALSE(patterns().cellSounds(0, 3, 0));
  EXPECT_EQ(renderedPixels(kStepButton + 3), unlit);
}

TEST_F(GuiEvents, TheWheelOverTheStepsPerBarSelectorStepsTheResolutionThatPlaysAndItsImage) {
  gui().openOffscreen();
  auto* selector = static_cast<widgets::CMultiStateButtonWithMenu*>(control(kResolutionSelector));
  std::vector<std::vector<uint32_t>> images;
  for (int state : {0, 1, 2, 3, 0}) {
    selector->setState(state);
    images.push_back(renderedPixels(kResolutionSelector));
  }
  const toolkit::CRect size = selector->getViewSize();
  const toolkit::CPoint middle{(size.left + size.right) / 2.0, (size.top + size.bottom) / 2.0};
  for (const auto& [distance, resolution, image] : std::vector<std::tuple<float, int, size_t>>{
           {1.0f, 32, 1}, {1.0f, 64, 2}, {1.0f, 128, 3}, {1.0f, 128, 3}, {-1.0f, 64, 2}, {-3.0f, 32, 1}}) {
    gui().mainMenuFrame()->handleWheel(middle, distance);
    EXPECT_EQ(patterns().resolution(0), resolution);
    EXPECT_EQ(renderedPixels(kResolutionSelector), images[image]) << resolution;
  }
  EXPECT_NE(savedProject().find("seq1;0;36;32;"), std::string::npos);
}

TEST_F(GuiEvents, CopyingAHolderToItselfChangesNothingAndToAnotherCopiesTheName) {
  kit().holder(38).setName("snare");
  gui().refreshNames();
  kit().holder(38).setPan(0.25f);
  choose(kHolderMenu + 2, 3);  // "Copy this sample to D", its own note
  EXPECT_EQ(kit().holder(38).name(), "snare");
  EXPECT_EQ(kit().holder(38).pan(), 0.25f);
  EXPECT_EQ(gui().controls().nameField(2)->getText(), "snare");
  choose(kHolderMenu + 2, 6);  // to F
  EXPECT_EQ(kit().holder(41).name(), "snare");
  EXPECT_EQ(gui().controls().nameField(5)->getText(), "snare");
  choose(kHolderMenu + 2, 0);  // clear
  EXPECT_EQ(kit().holder(38).name(), "");
  EXPECT_EQ(gui().controls().nameField(2)->getText(), "--------");
  // A name typed into the field names the holder.
  gui().controls().nameField(2)->setText("tom");
  gui().valueChanged(control(kNameField + 2));
  EXPECT_EQ(kit().holder(38).name(), "tom");
}

TEST_F(GuiEvents, ClearingOrCopyingOverAHolderShowsItsNewState) {
  change(kMuteButton + 2, 1.0f);
  change(kPanKnob + 2, 0.2f);
  change(kPitchKnob + 2, 1.0f);
  choose(kHolderMenu + 2, 0);  // clear: the holder is unmuted and centred
  EXPECT_EQ(kit().holder(38).muteState(), engine::kNotMuted);
  expectValues({{kMuteButton + 2, 0.0f}, {kPanKnob + 2, 0.5f}, {kPitchKnob + 2, 0.5f}});

  change(kMuteButton + 5, 1.0f);
  change(kVolumeKnob + 5, 0.3f);
  change(kSwingButton + 5, 1.0f);
  change(kVolumeKnob + 1, 0.7f);
  choose(kHolderMenu + 1, 6);  // copy to F: the target starts afresh with the sample only
  expectValues({{kMuteButton + 5, 0.0f}, {kVolumeKnob + 5, kit().holder(41).volume()}, {kSwingButton + 5, 0.0f},
                {kVolumeKnob + 1, 0.7f}});
}

TEST_F(GuiEvents, ClickingTheLitStopButtonAfterRunShowsTheFirstStepGroup) {
  change(kRunButton, 1.0f);
  EXPECT_EQ(value(kHsyncButton), 0.0f);
  change(kStepGroupButton + 2, 1.0f);
  change(kStopButton, 1.0f);
  EXPECT_EQ(value(kRunButton), 0.0f);
  engine().setLastMode(SyncMode::Run);
  change(kStopButton, 0.0f);
  EXPECT_EQ(gui().stepGroup(), 0);
  expectValues({{kStepGroupButton, 1.0f}, {kStopButton, 1.0f}});
  // In any other situation the lit button only stays lit.
  change(kStepGroupButton + 2, 1.0f);
  engine().setLastMode(SyncMode::Hsync);
  change(kStopButton, 0.0f);
  EXPECT_EQ(gui().stepGroup(), 2);
  EXPECT_EQ(value(kStopButton), 1.0f);
}

TEST_F(GuiEvents, EditorResetShowsPatternOneInItsBankAndClosesTheOpenPanel) {
  gui().openOffscreen();
  change(kOctave3Bank, 1.0f);
  change(kBrowseButton + 6, 1.0f);
  ASSERT_TRUE(gui().mainMenuFrame()->isChild(gui().browserView(6)));
  change(kStepGroupButton + 4, 1.0f);
  change(kSwingAmountKnob, 0.9f);
  vst().instrument().resetAll();
  EXPECT_EQ(gui().selectedHolder(), 0);
  EXPECT_EQ(gui().shownPattern(), 0);
  EXPECT_EQ(gui().stepGroup(), 0);
  EXPECT_EQ(gui().swingAmount(), 0.5f);
  expectValues({{kOctave2Bank, 1.0f}, {kOctave3Bank, 0.0f}, {kPatternButton, 1.0f}, {kHolderSelect, 1.0f},
                {kHolderSelect + 6, 0.0f}, {kBrowseButton + 6, 0.0f}, {kHsyncButton, 1.0f}, {kStepGroupButton, 1.0f}});
  EXPECT_FALSE(gui().mainMenuFrame()->isChild(gui().browserView(6)));
  change(kOctave2Bank, 1.0f);
  EXPECT_EQ(gui().shownPattern(), 0);
  change(kOctave3Bank, 1.0f);
  EXPECT_EQ(gui().shownPattern(), 12);
}

TEST_F(GuiEvents, AProjectLoadedWhileTheEditorIsOpenShowsAtItsNextIdleWithItsSwing) {
  gui().openOffscreen();
  change(kSwingAmountKnob, 0.8f);
  change(kMuteButton + 4, 1.0f);
  const std::string saved = savedProject();

  change(kSwingAmountKnob, 0.2f);
  change(kMuteButton + 4, 0.0f);
  change(kBrowseButton + 3, 1.0f);
  loadProject(saved);
  // The host's loading thread leaves the editor alone; the model has the project already.
  EXPECT_EQ(value(kMuteButton + 4), 0.0f);
  EXPECT_EQ(kit().holder(40).muteState(), engine::kMuted);
  EXPECT_EQ(gui().swingAmount(), 0.8f);
  gui().idle();
  EXPECT_EQ(gui().swingAmount(), 0.8f);
  EXPECT_EQ(gui().selectedHolder(), 0);
  expectValues({{kSwingAmountKnob, 0.8f}, {kMuteButton + 4, 1.0f}, {kBrowseButton + 3, 0.0f}, {kOctave2Bank, 1.0f}});
}

TEST_F(GuiEvents, RefreshFromModelShowsMutesSolosAndKnobs) {
  vst().instrument().setMute(1, true);
  vst().instrument().setSolo(2, true);
  kit().holder(38).setPitch(-1);
  kit().holder(38).setVolume(0.25f);
  engine().setSyncMode(SyncMode::Midi);
  gui().refreshFromModel();
  // Holder 2 shows a solo: unmuted while another is muted by solo.
  expectValues({{kMuteButton, 1.0f}, {kSoloButton, 0.0f}, {kMuteButton + 1, 1.0f}, {kSoloButton + 2, 1.0f},
                {kPitchKnob + 2, 0.44f}, {kVolumeKnob + 2, 0.25f}, {kMidiButton, 1.0f}, {kHsyncButton, 0.0f}});
}

TEST_F(GuiEvents, TheTimerRedrawsPositionGroupAndPatternAsTheEngineCountsThem) {
  gui().openOffscreen();
  engine::EditorState& state = engine().editorState();
  clock().selectPattern(14);
  state.patternChanges.increment();
  state.positionChanges.increment();
  gui().notify(nullptr, toolkit::kMsgTimer);
  EXPECT_EQ(gui().shownPattern(), 14);
  EXPECT_EQ(value(kOctave3Bank), 1.0f);
  EXPECT_EQ(value(kPositionLed + clock().currentStep() % 16), 1.0f);
  // A count drawn once is not drawn again.
  clock().selectPattern(5);
  gui().notify(nullptr, toolkit::kMsgTimer);
  EXPECT_EQ(gui().shownPattern(), 14);
  state.positionHidden = true;
  gui().notify(nullptr, toolkit::kMsgTimer);
  for (int led = 0; led < 16; ++led) EXPECT_EQ(value(kPositionLed + led), 0.0f);
  // A closed editor leaves the counts for later.
  gui().close();
  state.patternChanges.increment();
  EXPECT_EQ(gui().notify(nullptr, toolkit::kMsgTimer), toolkit::kMessageNotified);
  EXPECT_EQ(gui().shownPattern(), 14);
  EXPECT_EQ(gui().notify(nullptr, "other"), toolkit::kMessageUnknown);
}

}  // namespace
}  // namespace guitest
