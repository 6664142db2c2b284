// The main menu of the editor's frame, and the editor's life from opening to closing.
#include <filesystem>
#include <fstream>

#include "GuiFixture.h"
#include "editor/ControlTags.h"
#include "support/SoundFile.h"
#include "support/TestHost.h"

namespace guitest {
namespace {

using namespace editor::tags;

class GuiMenu : public GuiFixture {
 protected:
  // Opens the editor offscreen; right clicks choose `entry` from whatever list pops up.
  void openWithChooser(int32_t entry) {
    if (!effect) createEffect();
    gui().openOffscreen();
    frame().setMenuChooser([this, entry](const std::vector<std::string>& entries, toolkit::CPoint where) {
      shownLists.push_back(entries);
      shownAt.push_back(where);
      return entry;
    });
  }
  editor::MainMenuFrame& frame() { return *gui().mainMenuFrame(); }
  void rightClick(double x, double y) {
    frame().handleMouseDown({x, y}, toolkit::kRButton);
    frame().handleMouseUp({x, y}, toolkit::kRButton);
  }
  std::string entry(int32_t index) { return frame().menu().getEntry(index); }

  std::vector<std::vector<std::string>> shownLists;
  std::vector<toolkit::CPoint> shownAt;
};

TEST_F(GuiMenu, ARightClickOnTheBackgroundChoosesASizeBelowThePointer) {
  openWithChooser(2);
  rightClick(40, 60);
  ASSERT_EQ(shownLists.size(), 1u);
  EXPECT_EQ(shownLists[0].size(), 9u);
  EXPECT_EQ(shownAt[0], (toolkit::CPoint{40, 62}));
  EXPECT_EQ(gui().scale(), 0.8f);
  EXPECT_EQ(configurationText(), "0.8");
  // The menu went back out of the frame, with its empty rectangle.
  EXPECT_FALSE(frame().isChild(&frame().menu()));
  EXPECT_TRUE(frame().menu().getViewSize().isEmpty());
}

TEST_F(GuiMenu, ARightClickOnAControlWithItsOwnMenuDoesNotOpenTheMainMenu) {
  openWithChooser(-1);
  const toolkit::CRect step = control(kStepButton + 3)->getViewSize();
  rightClick(step.left + 5, step.top + 5);  // an empty step menu: nothing pops up
  EXPECT_TRUE(shownLists.empty());
  const toolkit::CRect pattern = control(kPatternButton)->getViewSize();
  rightClick(pattern.left + 5, pattern.top + 5);
  ASSERT_EQ(shownLists.size(), 1u);
  EXPECT_EQ(shownLists[0].size(), 28u);
  EXPECT_EQ(value(kPatternButton), 1.0f);
}

TEST_F(GuiMenu, SizeMarksFollowTheChoiceAndTheStoredSize) {
  std::ofstream(directory->path() + "Kestrelhollow.cfg") << "0.7";
  openWithChooser(1);
  EXPECT_EQ(entry(4), "[x] Size of Gui 70%");
  EXPECT_EQ(entry(0), "[ ] Size of Gui 100%");
  rightClick(20, 20);
  rightClick(20, 20);
  EXPECT_EQ(entry(1), "[x] Size of Gui 90%");
  EXPECT_EQ(entry(4), "[ ] Size of Gui 70%");
  EXPECT_EQ(gui().mainMenuFrame()->sizeEntry(), 1);
  // A size that is none of the seven leaves the mark where it was.
  gui().setGuiScale(0.85f);
  EXPECT_EQ(entry(1), "[x] Size of Gui 90%");
}

TEST_F(GuiMenu, DownmixTogglesAndClearAllEmptiesTheInstrument) {
  openWithChooser(7);
  EXPECT_EQ(entry(7), "[ ] Downmix to stereo");
  rightClick(20, 20);
  EXPECT_TRUE(engine().kitPlayer().downmix());
  EXPECT_EQ(entry(7), "[x] Downmix to stereo");
  rightClick(20, 20);
  EXPECT_FALSE(engine().kitPlayer().downmix());
  EXPECT_EQ(entry(7), "[ ] Downmix to stereo");

  sequencer().setCell(0x00017F01, 3, 3, 3);
  kit().holder(40).setName("clap");
  change(kOctave3Bank, 1.0f);
  frame().setMenuChooser([](const std::vector<std::string>&, toolkit::CPoint) { return 8; });
  rightClick(20, 20);
  EXPECT_FALSE(sequencer().cellSounds(3, 3, 3));
  EXPECT_EQ(kit().holder(40).name(), "");
  EXPECT_EQ(gui().shownPattern(), 0);
  EXPECT_TRUE(messages->messages().empty());
}

TEST_F(GuiMenu, ClosingAndReopeningKeepsTheFrameAndEveryControl) {
  openWithChooser(-1);
  toolkit::CFrame* first = gui().mainMenuFrame();
  change(kBrowseButton + 3, 1.0f);
  change(kPanKnob + 2, 0.3f);
  EXPECT_TRUE(first->isChild(gui().browserView(3)));
  EXPECT_EQ(gui().selectedHolder(), 3);
  EXPECT_EQ(value(kHolderSelect + 3), 1.0f);
  vst().dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
  EXPECT_FALSE(gui().isOpen());
  gui().openOffscreen();
  EXPECT_EQ(gui().mainMenuFrame(), first);
  EXPECT_EQ(value(kPanKnob + 2), 0.3f);
  EXPECT_EQ(value(kBrowseButton + 3), 1.0f);
  EXPECT_TRUE(first->isChild(gui().browserView(3)));

  // Selecting another holder hands the open browser over to it.
  gui().browserView(5)->NavigateTo(directory->addFile("samples/x.wav"), true);
  change(kHolderSelect + 5, 1.0f);
  EXPECT_FALSE(first->isChild(gui().browserView(3)));
  EXPECT_TRUE(first->isChild(gui().browserView(5)));
  EXPECT_EQ(value(kBrowseButton + 5), 1.0f);
  EXPECT_EQ(value(kBrowseButton + 3), 0.0f);
  // A double click on a file in the browser closes it.
  browser::VstBrowser& panel = *gui().browserView(5);
  ASSERT_NE(panel.highlightedButton(), nullptr);
  const toolkit::CRect& file = panel.highlightedButton()->getViewSize();
  const toolkit::CPoint middle =
      panel.highlightedButton()->getParentView()->childToFrame({(file.left + file.right) / 2.0, file.top + 5.0});
  frame().handleMouseDown(middle, toolkit::kLButton | toolkit::kDoubleClick);
  EXPECT_FALSE(first->isChild(gui().browserView(5)));
  EXPECT_EQ(value(kBrowseButton + 5), 0.0f);
}

TEST_F(GuiMenu, AnEditThatIsUnderWayWhenTheEffectGoesIsDropped) {
  openWithChooser(-1);
  const toolkit::CRect field = control(kNameField + 2)->getViewSize();
  frame().handleMouseDown({field.left + 5, field.top + 5}, toolkit::kLButton);
  ASSERT_EQ(frame().getFocusView(), control(kNameField + 2));
  toolkit::KeyStroke key;
  key.character = U'x';
  EXPECT_TRUE(frame().onKeyDown(key));
  automations.clear();
  // The listeners are going away with the effect: nothing is committed or reported.
  effect.reset();
  EXPECT_TRUE(automations.empty());
}

TEST_F(GuiMenu, TwoInstancesHaveTheirOwnFrames) {
  openWithChooser(-1);
  GuiFixture::automations.clear();
  plugin::Vst other(nullptr, plugin::EffectEnvironment{directory->path(), {}});
  auto& otherGui = static_cast<editor::Gui&>(other.editorLink());
  EXPECT_EQ(otherGui.mainMenuFrame(), nullptr);
  otherGui.openOffscreen();
  ASSERT_NE(otherGui.mainMenuFrame(), nullptr);
  EXPECT_NE(otherGui.mainMenuFrame(), gui().mainMenuFrame());
  change(kPanKnob, 0.1f);
  EXPECT_EQ(other.engine().kit().holder(36).pan(), 0.5f);
}

TEST_F(GuiMenu, UpAndDownStepTheSelectedHoldersBrowserAndLoadTheFile) {
  std::filesystem::create_directories(directory->path() + "samples");
  // Mono 16-bit files of a constant level; their lengths tell them apart.
  constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  constexpr float kLevel = 8000.0f / 32768.0f;
  testhost::WriteSoundFile(directory->path() + "samples/a-kick.wav", kWav16, 1, std::vector<float>(100, kLevel), 44100);
  testhost::WriteSoundFile(directory->path() + "samples/b-snare.wav", kWav16, 1, std::vector<float>(200, kLevel),
                           44100);
  createEffect();
  gui().openOffscreen();
  change(kHolderSelect + 1, 1.0f);
  editor::EditorLink::StartDirectories starts;
  starts.fill(directory->path() + "samples/");
  starts[1] = directory->path() + "samples/a-kick.wav";
  gui().setStartDirectories(starts);
  EXPECT_EQ(vst().dispatcher(vst::effEditKeyDown, 0, vst::VKEY_DOWN, nullptr, 0.0f), 1);
  const engine::SampleHolder& holder = kit().holder(37);
  EXPECT_EQ(holder.path(), directory->path() + "samples/b-snare.wav");
  EXPECT_EQ(holder.name(), "b-snare.wav");
  EXPECT_EQ(gui().controls().nameField(1)->getText(), "b-snare.wav");
  ASSERT_NE(holder.sample(), nullptr);
  EXPECT_EQ(holder.length(), 200u);
  vst().dispatcher(vst::effEditKeyDown, 0, vst::VKEY_UP, nullptr, 0.0f);
  EXPECT_EQ(holder.path(), directory->path() + "samples/a-kick.wav");
  EXPECT_EQ(holder.name(), "a-kick.wav");
  // Other keys are not the editor's while no name field is being edited.
  EXPECT_EQ(vst().dispatcher(vst::effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
  EXPECT_TRUE(messages->messages().empty());
}

TEST(GuiWindowSize, AChosenSizeAsksTheHostForThatWindowSizeWhenTheHostCanResize) {
  const testhost::TempFolder folder;
  for (const bool canResize : {false, true}) {
    testhost::TestHost host;
    if (canResize) host.answers.canDo["sizeWindow"] = 1;
    ASSERT_TRUE(host.createInFolder(folder.path()));
    auto& gui = static_cast<editor::Gui&>(host.object<plugin::Vst>().editorLink());
    gui.openOffscreen();
    EXPECT_TRUE(host.windowSizes.empty()) << "an opening asks getRect";
    gui.mainMenuFrame()->setMenuChooser([](const std::vector<std::string>&, toolkit::CPoint) { return 2; });
    gui.mainMenuFrame()->handleMouseDown({20, 20}, toolkit::kRButton);
    vst::ERect* rect = nullptr;
    gui.getRect(&rect);
    const std::vector<std::pair<int32_t, int32_t>> asked{{rect->right, rect->bottom}};
    EXPECT_EQ(host.windowSizes, canResize ? asked : decltype(asked){}) << canResize;
    EXPECT_LT(rect->right, 1200);
    host.closeEffect();
  }
}

}  // namespace
}  // namespace guitest
