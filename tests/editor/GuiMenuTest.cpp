// The main menu of the editor's frame, and the editor's life from opening to closing.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "GuiFixture.h"
#include "editor/ControlTags.h"
#include "samples/SampleLoader.h"
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
  // A left click in the middle of a view, as the window delivers it.
  void click(const toolkit::CView* view) {
    if (!view) return ADD_FAILURE() << "nothing to click";
    const toolkit::CRect& size = view->getViewSize();
    const toolkit::CPoint middle =
        view->getParentView()->childToFrame({(size.left + size.right) / 2.0, (size.top + size.bottom) / 2.0});
    frame().handleMouseDown(middle, toolkit::kLButton);
    frame().handleMouseUp(middle, toolkit::kLButton);
  }
  // A key the host forwards; true when the editor used it.
  bool key(char32_t character, int virtualKey = 0) {
    return vst().dispatcher(vst::effEditKeyDown, static_cast<int32_t>(character), virtualKey, nullptr, 0.0f) == 1;
  }
  browser::FileButton* fileButton(int holder, const std::string& name) {
    const browser::VstBrowser& panel = *gui().browserView(holder);
    for (size_t index = 0; index < panel.buttonCount(); ++index) {
      if (panel.button(index)->GetName() == name) return panel.button(index);
    }
    ADD_FAILURE() << "no button " << name;
    return nullptr;
  }
  // Only the browse button of that holder is on (-1: none).
  void expectBrowseButtons(int on) {
    for (int holder = 0; holder < 12; ++holder) {
      EXPECT_EQ(value(kBrowseButton + holder), holder == on ? 1.0f : 0.0f) << "holder " << holder;
    }
  }
  std::vector<std::string> fileButtonNames(int holder) {
    std::vector<std::string> names;
    const browser::VstBrowser& panel = *gui().browserView(holder);
    for (size_t index = 0; index < panel.buttonCount(); ++index) names.push_back(panel.button(index)->GetName());
    return names;
  }

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

  patterns().setCell(engine::kSoundingStepCell, 3, 3, 3);
  kit().holder(40).setName("clap");
  change(kOctave3Bank, 1.0f);
  frame().setMenuChooser([](const std::vector<std::string>&, toolkit::CPoint) { return 8; });
  rightClick(20, 20);
  EXPECT_FALSE(patterns().cellSounds(3, 3, 3));
  EXPECT_EQ(kit().holder(40).name(), "");
  EXPECT_EQ(gui().shownPattern(), 0);
  EXPECT_TRUE(messages->messages().empty());
}

TEST_F(GuiMenu, TheDownmixMarkShowsTheModelWheneverTheMenuOpens) {
  openWithChooser(7);
  rightClick(20, 20);
  ASSERT_TRUE(engine().kitPlayer().downmix());
  const std::string withDownmix = savedProject();
  frame().setMenuChooser([this](const std::vector<std::string>& entries, toolkit::CPoint) {
    shownLists.push_back(entries);
    return -1;
  });
  vst().instrument().resetAll();  // what "Clear all now!" does
  rightClick(20, 20);
  EXPECT_EQ(shownLists.back()[7], "[ ] Downmix to stereo");
  loadProject(withDownmix);
  gui().idle();
  rightClick(20, 20);
  EXPECT_EQ(shownLists.back()[7], "[x] Downmix to stereo");
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
  EXPECT_EQ(other.instrument().engine().kit().holder(36).pan(), 0.5f);
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

TEST_F(GuiMenu, AFileClickKeepsTheBrowseButtonOnAndAProjectLoadListsTheNewFolder) {
  const std::string samples = directory->path() + "samples/";
  std::filesystem::create_directories(samples + "one");
  std::filesystem::create_directories(samples + "two");
  constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  for (const char* file : {"one/a.wav", "two/b.wav", "two/c;d.wav"}) {
    testhost::WriteSoundFile(samples + file, kWav16, 1, std::vector<float>(100, 0.25f), 44100);
  }
  openWithChooser(-1);
  const engine::SampleHolder& holder = kit().holder(36);
  samples::LoadSample(kit(), 36, samples + "one/a.wav", false);
  const std::string inFolderOne = savedProject();
  std::string inFolderTwo = inFolderOne;
  // The text stores paths below the samples folder with backslashes.
  inFolderTwo.replace(inFolderTwo.find("one\\a.wav"), 9, "two\\b.wav");
  loadProject(inFolderOne);
  gui().idle();

  // One click on a file: the panel stays open and its button says so; one click closes it.
  change(kBrowseButton, 1.0f);
  ASSERT_EQ(fileButtonNames(0), (std::vector<std::string>{"a.wav"}));
  click(fileButton(0, "a.wav"));
  EXPECT_EQ(value(kBrowseButton), 1.0f);
  EXPECT_EQ(automations.back().value, 0.5f);  // the host heard the click
  click(control(kBrowseButton));
  EXPECT_EQ(value(kBrowseButton), 0.0f);
  EXPECT_FALSE(frame().isChild(gui().browserView(0)));

  // A project load closes the open panel; the listed panel shows the new folder and its files.
  change(kBrowseButton, 1.0f);
  click(fileButton(0, "a.wav"));
  loadProject(inFolderTwo);
  gui().idle();
  EXPECT_EQ(value(kBrowseButton), 0.0f);
  EXPECT_FALSE(frame().isChild(gui().browserView(0)));
  change(kBrowseButton, 1.0f);
  EXPECT_EQ(fileButtonNames(0), (std::vector<std::string>{"b.wav", "c;d.wav"}));
  EXPECT_EQ(gui().browserView(0)->folderLine()->folder(), samples + "two/");

  // A file whose path a project cannot store is refused and renames nothing.
  click(fileButton(0, "c;d.wav"));
  EXPECT_EQ(messages->count("Sample load error"), 1u);
  EXPECT_NE(messages->messages().back().text.find("cannot store"), std::string::npos);
  EXPECT_EQ(holder.path(), samples + "two/b.wav");
  EXPECT_EQ(holder.name(), "");

  // Selecting another holder hands the open panel over; "Clear all now!" closes it.
  click(fileButton(0, "b.wav"));
  EXPECT_EQ(holder.name(), "b.wav");
  change(kHolderSelect + 1, 1.0f);
  EXPECT_TRUE(frame().isChild(gui().browserView(1)));
  EXPECT_FALSE(frame().isChild(gui().browserView(0)));
  expectBrowseButtons(1);
  click(fileButton(1, "two"));
  click(fileButton(1, "b.wav"));
  EXPECT_EQ(kit().holder(37).path(), samples + "two/b.wav");
  expectBrowseButtons(1);
  vst().instrument().resetAll();
  EXPECT_FALSE(frame().isChild(gui().browserView(1)));
  expectBrowseButtons(-1);
}

TEST_F(GuiMenu, ANameFieldBeingEditedKeepsItsKeysAndRefusesWhatAProjectCannotStore) {
  std::filesystem::create_directories(directory->path() + "samples");
  constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  for (const char* file : {"a.wav", "b.wav"}) {
    testhost::WriteSoundFile(directory->path() + "samples/" + file, kWav16, 1, std::vector<float>(100, 0.25f), 44100);
  }
  openWithChooser(-1);
  editor::EditorLink::StartDirectories starts;
  starts.fill(directory->path() + "samples/a.wav");
  gui().setStartDirectories(starts);
  click(gui().controls().nameField(0));
  for (char32_t typed : {U'K', U'i', U'c', U'k', U';', U'\t', U'1'}) EXPECT_TRUE(key(typed));
  EXPECT_TRUE(key(0, vst::VKEY_DOWN));  // the field's, not the browser's
  EXPECT_EQ(kit().holder(36).path(), "");
  EXPECT_TRUE(key(0, vst::VKEY_RETURN));
  EXPECT_EQ(kit().holder(36).name(), "Kick1");
  EXPECT_EQ(gui().controls().nameField(0)->getText(), "Kick1");
  // Once the edit is over the keys step the browser again.
  EXPECT_TRUE(key(0, vst::VKEY_DOWN));
  EXPECT_EQ(kit().holder(36).path(), directory->path() + "samples/b.wav");
}

// Names typed into the name fields or handed to the loader, and paths handed to the loader, made
// of every kind of byte: each holder record keeps its fields, and the text reads back to the
// names and paths the model held.
TEST_F(GuiMenu, AnyNameAndPathEitherEntersTheProjectTextIntactOrIsCleanedOrRefusedFirst) {
  openWithChooser(-1);
  std::mt19937 random(22);
  const std::u32string typedLetters = U"aZ ;\t\x7F\xE9\x20AC\\$/.";
  const std::string bytes("aZ ;\n\r\t\x01\x7F\xC3\xA9\xFF\\$/.\0", 16);
  const auto pick = [&](size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(random); };
  const auto randomBytes = [&] {
    std::string text;
    for (size_t length = pick(8); length > 0; --length) text += bytes[pick(bytes.size())];
    return text;
  };
  for (int round = 0; round < 12; ++round) {
    for (int holder = 0; holder < 12; ++holder) {
      const auto note = static_cast<uint8_t>(36 + holder);
      if ((holder + round) % 2 == 0) {
        click(gui().controls().nameField(holder));
        for (size_t length = pick(8); length > 0; --length) key(typedLetters[pick(typedLetters.size())]);
        key(0, vst::VKEY_RETURN);
      } else {
        samples::LoadFile(kit().holder(note), randomBytes(), "/nowhere/" + randomBytes(), false);
      }
    }
    const std::string saved = savedProject();
    std::vector<std::pair<std::string, std::string>> held;
    size_t records = 0;
    for (size_t start = 0; start < saved.size();) {
      const size_t end = std::min(saved.find('\n', start), saved.size());
      const std::string line = saved.substr(start, end - start);
      start = end + 1;
      if (!line.starts_with("smp2;")) continue;
      std::vector<std::string> fields;
      for (size_t from = 0, to; (to = line.find(';', from)) != std::string::npos; from = to + 1) {
        fields.push_back(line.substr(from, to - from));
      }
      ASSERT_EQ(fields.size(), 10u) << line;
      ASSERT_TRUE(line.ends_with("no_swing;")) << line;
      const engine::SampleHolder& written = kit().holder(static_cast<uint8_t>(36 + records++));
      EXPECT_EQ(fields[2], written.name());
      EXPECT_EQ(fields[3], written.path());
      held.emplace_back(written.name(), written.path());
    }
    ASSERT_EQ(records, 12u);
    loadProject(saved);
    for (int holder = 0; holder < 12; ++holder) {
      const engine::SampleHolder& read = kit().holder(static_cast<uint8_t>(36 + holder));
      EXPECT_EQ(std::make_pair(read.name(), read.path()), held[static_cast<size_t>(holder)]) << "holder " << holder;
    }
    gui().idle();
  }
}

TEST(GuiWindowSize, AChosenSizeAsksTheHostForThatWindowSizeWhenTheHostCanResize) {
  const testhost::TempFolder folder;
  for (const bool canResize : {false, true}) {
    testhost::TestHost host;
    if (canResize) host.answers.canDo["sizeWindow"] = 1;
    ASSERT_TRUE(host.createInFolder(folder.path()));
    auto& gui = static_cast<editor::Gui&>(host.object<plugin::Vst>().editorLink());
    gui.openOffscreen();
    EXPECT_TRUE(host.windowSizes.empty()) << "an opening asks the size";
    gui.mainMenuFrame()->setMenuChooser([](const std::vector<std::string>&, toolkit::CPoint) { return 2; });
    gui.mainMenuFrame()->handleMouseDown({20, 20}, toolkit::kRButton);
    const editor::EditorSize size = gui.size();
    const std::vector<std::pair<int32_t, int32_t>> asked{{size.width, size.height}};
    EXPECT_EQ(host.windowSizes, canResize ? asked : decltype(asked){}) << canResize;
    EXPECT_LT(size.width, 1200);
    host.closeEffect();
  }
}

}  // namespace
}  // namespace guitest
