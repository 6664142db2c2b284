// What the editor's controls do: each reaches its rule of the instrument, and the view follows.
#include <string>
#include <tuple>
#include <vector>

#include "GuiFixture.h"
#include "editor/ControlTags.h"
#include "instrument/Parameters.h"

namespace guitest {
namespace {

using engine::SyncMode;
using GuiEvents = GuiFixture;

TEST_F(GuiEvents, TheStepRowWritesAndShowsTheCellsOfTheShownHolderGroupAndPattern) {
  change(kOctave3Bank, 1.0f);
  change(kHolderSelect + 4, 1.0f);
  change(kStepGroupButton + 3, 1.0f);
  change(kStepButton + 4, 1.0f);
  EXPECT_TRUE(patterns().cellSounds(12, 52, 4));
  // Another holder or group shows its own steps; a lit select, group or pattern button stays lit.
  change(kHolderSelect + 2, 1.0f);
  expectValues({{kStepButton + 4, 0.0f}, {kHolderSelect + 4, 0.0f}});
  change(kHolderSelect + 4, 1.0f);
  change(kHolderSelect + 4, 0.0f);
  expectValues({{kStepButton + 4, 1.0f}, {kHolderSelect + 4, 1.0f}});
  change(kStepGroupButton, 1.0f);
  expectValues({{kStepButton + 4, 0.0f}, {kStepGroupButton + 3, 0.0f}});
  change(kOctave2Bank, 1.0f);
  change(kPatternButton + 5, 1.0f);
  change(kPatternButton + 5, 0.0f);
  EXPECT_EQ(clock().currentPattern(), 5);
  expectValues({{kPatternButton + 5, 1.0f}, {kPatternButton, 0.0f}});
  change(kOctave3Bank, 1.0f);
  change(kOctave3Bank, 0.0f);
  EXPECT_EQ(gui().shownPattern(), 17);
  expectValues({{kOctave3Bank, 1.0f}, {kOctave2Bank, 0.0f}});
}

// A lit step shows its velocity; a vertical drag on it sets the velocity (up louder, clamped to
// 1..127) and shows the number meanwhile, a click without a drag still toggles, and the step menu
// sets a velocity, lighting a dark step.
TEST_F(GuiEvents, StepVelocitiesFollowDragsAndTheStepMenuAndShowOnTheSteps) {
  gui().openOffscreen();
  const instrument::Instrument& instrument = vst().instrument();
  const auto velocity = [&](int step) { return instrument.stepVelocity(0, step, 0); };
  const std::vector<uint32_t> unlit = renderedPixels(kStepButton + 3);
  change(kStepButton + 3, 1.0f);
  const std::vector<uint32_t> full = renderedPixels(kStepButton + 3);
  const toolkit::CRect size = control(kStepButton + 3)->getViewSize();
  const toolkit::CPoint press{(size.left + size.right) / 2.0, (size.top + size.bottom) / 2.0};
  frame().handleMouseDown(press, toolkit::kLButton);
  std::vector<uint32_t> whileDragging;
  for (const auto& [up, expected] : std::vector<std::pair<double, int>>{
           {-2.0, 127}, {-30.0, 97}, {50.0, 127}, {-200.0, 1}, {-87.0, 40}, {-87.0, 40}}) {
    frame().handleMouseMoved({press.x, press.y - up}, toolkit::kLButton);
    EXPECT_EQ(velocity(3), expected) << up;
    EXPECT_FLOAT_EQ(value(kStepButton + 3), expected / 127.0f) << up;
    whileDragging = renderedPixels(kStepButton + 3);
  }
  // The sequencer's change of pattern shows after the drag, which stays on its step.
  vst().instrument().setStep(14, 2, 0, true);
  vst().instrument().setStepVelocity(14, 2, 0, 70);
  clock().selectPattern(14);
  engine().editorState().patternChanges.increment();
  gui().notify(nullptr, toolkit::kMsgTimer);
  EXPECT_EQ(gui().shownPattern(), 0);
  frame().handleMouseMoved({press.x, press.y + 97.0}, toolkit::kLButton);
  EXPECT_EQ(velocity(3), 30);
  frame().handleMouseMoved({press.x, press.y + 87.0}, toolkit::kLButton);
  frame().handleMouseUp({press.x, press.y + 87.0}, toolkit::kLButton);
  const std::vector<uint32_t> at40 = renderedPixels(kStepButton + 3);
  EXPECT_TRUE(patterns().cellSounds(0, 3, 0));
  EXPECT_NE(whileDragging, at40) << "the number shows only while dragging";
  for (const auto& other : {unlit, full}) EXPECT_NE(at40, other);
  click(control(kStepButton + 3));
  EXPECT_FALSE(patterns().cellSounds(0, 3, 0));
  EXPECT_EQ(renderedPixels(kStepButton + 3), unlit);
  click(control(kStepButton + 3));
  EXPECT_EQ(velocity(3), 127);
  EXPECT_EQ(renderedPixels(kStepButton + 3), full);

  for (const auto& [entry, expected] :
       std::vector<std::pair<int32_t, int>>{{2, 70}, {4, 127}, {3, 40}, {0, 127}, {1, 100}}) {
    choose(kStepMenu + 3, entry);
    EXPECT_EQ(velocity(3), expected) << entry;
    EXPECT_FLOAT_EQ(value(kStepButton + 3), expected / 127.0f) << entry;
  }
  choose(kStepMenu + 5, 3);  // "40" on a dark step
  EXPECT_TRUE(patterns().cellSounds(0, 5, 0));
  EXPECT_FLOAT_EQ(value(kStepButton + 5), 40 / 127.0f);

  gui().notify(nullptr, toolkit::kMsgTimer);
  EXPECT_EQ(gui().shownPattern(), 14);
  EXPECT_FLOAT_EQ(value(kStepButton + 2), 70 / 127.0f);
}

// The host hears the parameter a control sets, by the parameter's index, with the value the
// rules left; controls that set no parameter report nothing.
TEST_F(GuiEvents, ControlsReportTheirParametersOnly) {
  using instrument::ParameterIndex;
  using instrument::ParameterKind;
  const struct {
    int32_t tag;
    float value;
    int index;  // -1: nothing reported
    float reported;
  } cases[] = {
      {kVolumeKnob + 2, 0.25f, ParameterIndex(ParameterKind::Volume, 2), 0.25f},
      {kPanKnob + 11, 0.7f, ParameterIndex(ParameterKind::Pan, 11), 0.7f},
      {kPitchKnob, 0.53f, ParameterIndex(ParameterKind::Pitch, 0), 0.52f},
      {kLengthKnob + 5, 0.1f, ParameterIndex(ParameterKind::Length, 5), 0.1f},
      {kSwingButton + 1, 1.0f, ParameterIndex(ParameterKind::Swing, 1), 1.0f},
      {kSoloButton + 3, 1.0f, ParameterIndex(ParameterKind::Solo, 3), 1.0f},
      {kMuteButton + 4, 0.0f, ParameterIndex(ParameterKind::Mute, 4), 1.0f},  // refused while a solo is on
      {kMasterLevelKnob, 0.5f, ParameterIndex(ParameterKind::MasterLevel), 0.5f},
      {kSwingAmountKnob, 0.9f, ParameterIndex(ParameterKind::SwingAmount), 0.9f},
      {kStepButton + 4, 1.0f, -1, 0.0f},
      {kStepGroupButton + 2, 1.0f, -1, 0.0f},
      {kPatternButton + 3, 1.0f, -1, 0.0f},
      {kHolderSelect + 2, 1.0f, -1, 0.0f},
      {kRunButton, 1.0f, -1, 0.0f},
      {kBrowseButton + 1, 0.0f, -1, 0.0f},
      {kResolutionSelector, 2.0f, -1, 0.0f},
  };
  for (const auto& c : cases) {
    automations.clear();
    change(c.tag, c.value);
    if (c.index < 0) {
      EXPECT_TRUE(automations.empty()) << "tag " << c.tag;
      continue;
    }
    ASSERT_EQ(automations.size(), 1u) << "tag " << c.tag;
    EXPECT_EQ(automations[0].index, c.index) << "tag " << c.tag;
    EXPECT_FLOAT_EQ(automations[0].value, c.reported) << "tag " << c.tag;
  }
  // The buttons show the rule: the solo mutes the others, and the refused unmute stays muted.
  expectValues({{kMuteButton, 1.0f}, {kMuteButton + 3, 0.0f}, {kMuteButton + 4, 1.0f}});
  automations.clear();
  choose(kPanMenu + 2, 0);
  choose(kPatternMenu, 0);
  EXPECT_TRUE(automations.empty()) << "menus set no parameter of their own";
}

TEST(PitchKnob, EachBandOfTheKnobIsAPitchAndEveryPitchIsShownInsideItsBand) {
  for (const auto& [knob, pitch] : std::vector<std::pair<float, int>>{
           {0.0f, -12}, {0.03f, -12}, {0.44f, -1}, {0.47f, -1}, {0.5f, 0}, {0.53f, 1}, {0.99f, 12}, {1.0f, 12}}) {
    EXPECT_EQ(instrument::PitchFromValue(knob), pitch) << knob;
  }
  for (float outside : {-0.1f, 1.5f}) EXPECT_FALSE(instrument::PitchFromValue(outside)) << outside;
  EXPECT_FALSE(instrument::PitchValue(13));  // every pitch's own value: HostProperties' round trip
}

TEST_F(GuiEvents, MenuEntriesReachTheirHolderOrPatternAndTheViewFollows) {
  gui().openOffscreen();
  change(kPanKnob + 1, 0.2f);
  change(kPitchKnob + 1, 1.0f);
  change(kMasterLevelKnob, 0.1f);
  EXPECT_EQ(holder(1).pitch(), 12);
  for (int32_t menu : {kPanMenu + 1, kPitchMenu + 1, kMasterMenu}) choose(menu, 0);
  expectValues({{kPanKnob + 1, 0.5f}, {kPitchKnob + 1, 0.5f}, {kMasterLevelKnob, 0.75f}});
  EXPECT_EQ(holder(1).pan(), 0.5f);

  // A holder copied over or cleared shows its new state.
  holder(2).setName("snare");
  gui().refreshNames();
  change(kMuteButton + 5, 1.0f);
  change(kSwingButton + 5, 1.0f);
  choose(kHolderMenu + 2, 6);  // "Copy this sample to F"
  EXPECT_EQ(gui().controls().nameField(5)->getText(), "snare");
  expectValues({{kMuteButton + 5, 0.0f}, {kSwingButton + 5, 0.0f}});
  change(kMuteButton + 2, 1.0f);
  change(kPanKnob + 2, 0.2f);
  choose(kHolderMenu + 2, 0);  // clear
  EXPECT_EQ(gui().controls().nameField(2)->getText(), "--------");
  expectValues({{kMuteButton + 2, 0.0f}, {kPanKnob + 2, 0.5f}});
  gui().controls().nameField(2)->setText("tom");
  gui().valueChanged(control(kNameField + 2));
  EXPECT_EQ(holder(2).name(), "tom");

  // The pattern menus act on the shown bank; a change of the shown pattern shows on the screen.
  const std::vector<uint32_t> unlit = renderedPixels(kStepButton + 3);
  change(kOctave3Bank, 1.0f);
  patterns().setCell(engine::kSoundingStepCell, 16, 3, 0);
  choose(kPatternMenu + 4, 13);  // "Copy this pattern to Oct3 C", the shown one
  EXPECT_EQ(value(kStepButton + 3), 1.0f);
  EXPECT_NE(renderedPixels(kStepButton + 3), unlit);
  choose(kPatternMenu, 0);  // "Clear this pattern"
  EXPECT_FALSE(patterns().cellSounds(12, 3, 0));
  EXPECT_TRUE(patterns().cellSounds(16, 3, 0));
  EXPECT_EQ(renderedPixels(kStepButton + 3), unlit);
  EXPECT_EQ(messages.count("Message"), 0u);
  for (int entry : {25, 26, 27}) choose(kPatternMenu + 4, entry);
  EXPECT_EQ(messages.count("Message"), 3u);
  EXPECT_EQ(messages.messages().back().text, "Not implemented yet");
  EXPECT_TRUE(patterns().cellSounds(16, 3, 0));
}

TEST_F(GuiEvents, TheWheelOverTheStepsPerBarSelectorStepsTheResolutionThatPlaysAndItsImage) {
  gui().openOffscreen();
  auto* selector = gui().controls().selector(kResolutionSelector);
  std::vector<std::vector<uint32_t>> images;
  for (int state : {0, 1, 2, 3, 0}) {
    selector->setState(state);
    images.push_back(renderedPixels(kResolutionSelector));
  }
  const toolkit::CRect size = selector->getViewSize();
  const toolkit::CPoint middle{(size.left + size.right) / 2.0, (size.top + size.bottom) / 2.0};
  for (const auto& [distance, state] :
       std::vector<std::pair<float, int>>{{1.0f, 1}, {1.0f, 2}, {1.0f, 3}, {1.0f, 3}, {-1.0f, 2}, {-3.0f, 1}}) {
    frame().handleWheel(middle, distance);
    EXPECT_EQ(patterns().resolution(0), 16 << state);
    EXPECT_EQ(renderedPixels(kResolutionSelector), images[static_cast<size_t>(state)]) << state;
  }
  EXPECT_NE(savedProject().find("seq1;0;36;32;"), std::string::npos);
}

TEST_F(GuiEvents, TheLitStopButtonClickedRightAfterRunShowsTheFirstStepGroup) {
  change(kRunButton, 1.0f);
  EXPECT_EQ(value(kHsyncButton), 0.0f);
  change(kStepGroupButton + 2, 1.0f);
  change(kStopButton, 1.0f);
  EXPECT_EQ(value(kRunButton), 0.0f);
  engine().setLastMode(SyncMode::Run);
  change(kStopButton, 0.0f);
  EXPECT_EQ(gui().stepGroup(), 0);
  expectValues({{kStepGroupButton, 1.0f}, {kStepGroupButton + 2, 0.0f}, {kStopButton, 1.0f}});
}

TEST_F(GuiEvents, AProjectLoadedWhileTheEditorIsOpenShowsAtItsNextIdle) {
  gui().openOffscreen();
  change(kSwingAmountKnob, 0.8f);
  change(kMuteButton + 4, 1.0f);
  holder(2).setPitch(-1);
  const std::string saved = savedProject();
  change(kSwingAmountKnob, 0.2f);
  change(kMuteButton + 4, 0.0f);
  change(kPitchKnob + 2, 0.5f);
  change(kBrowseButton + 3, 1.0f);
  loadProject(saved);
  // The host's loading thread leaves the editor alone; the model has the project already.
  EXPECT_EQ(value(kMuteButton + 4), 0.0f);
  EXPECT_EQ(holder(4).muteState(), engine::kMuted);
  gui().idle();
  EXPECT_EQ(gui().swingAmount(), 0.8f);
  EXPECT_EQ(gui().selectedHolder(), 0);
  expectValues({{kSwingAmountKnob, 0.8f},
                {kMuteButton + 4, 1.0f},
                {kPitchKnob + 2, 0.44f},
                {kBrowseButton + 3, 0.0f},
                {kOctave2Bank, 1.0f}});
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
  // A host's parameter (automation, from any thread) shows at the next tick.
  using instrument::ParameterKind;
  vst().setParameter(instrument::ParameterIndex(ParameterKind::Volume, 2), 0.25f);
  vst().setParameter(instrument::ParameterIndex(ParameterKind::Solo, 5), 1.0f);
  vst().setParameter(instrument::ParameterIndex(ParameterKind::SwingAmount), 0.75f);
  gui().notify(nullptr, toolkit::kMsgTimer);
  expectValues({{kVolumeKnob + 2, 0.25f}, {kSoloButton + 5, 1.0f}, {kMuteButton + 4, 1.0f}, {kSwingAmountKnob, 0.75f}});
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
