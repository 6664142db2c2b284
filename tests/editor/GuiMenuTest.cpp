// The main menu of the editor's frame, its browsers and keys, and the editor's life from opening
// to closing.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "GuiFixture.h"
#include "editor/ControlTags.h"
#include "instrument/Parameters.h"
#include "persistence/Text.h"
#include "samples/SampleLoader.h"
#include "support/SoundFile.h"
#include "support/TestHost.h"
#include "widgets/BadgeButton.h"

namespace guitest {
namespace {

class GuiMenu : public GuiFixture {
 protected:
  std::string entry(int32_t index) { return frame().menu().getEntry(index); }
  // Mono 16-bit files of a constant level below the plug-in's samples folder, told apart by length.
  std::string writeSamples(const std::vector<std::pair<std::string, size_t>>& files) {
    const std::string samples = directory.path() + "samples/";
    for (const auto& [name, frames] : files) {
      std::filesystem::create_directories(std::filesystem::path(samples + name).parent_path());
      testhost::WriteSoundFile(samples + name, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, std::vector<float>(frames, 0.25f));
    }
    return samples;
  }
  // Only the browse button of that holder is on (-1: none).
  void expectBrowseButtons(int on) {
    for (int index = 0; index < 12; ++index)
      EXPECT_EQ(value(kBrowseButton + index), index == on ? 1.0f : 0.0f) << index;
  }
};

TEST_F(GuiMenu, ARightClickOnTheBackgroundChoosesASizeBelowThePointerAndTheMarkFollows) {
  std::ofstream(directory.path() + "Kestrelhollow.cfg") << "0.7";
  openWithChooser(2);
  EXPECT_EQ(entry(4), "[x] Size of Gui 70%");
  rightClick(40, 60);
  ASSERT_EQ(shownLists.size(), 1u);
  EXPECT_EQ(shownAt[0], (toolkit::CPoint{40, 62}));
  EXPECT_EQ(gui().scale(), 0.8f);
  EXPECT_EQ(platform::ReadTextFile(directory.path() + "Kestrelhollow.cfg"), "0.8");
  EXPECT_EQ(entry(2), "[x] Size of Gui 80%");
  EXPECT_EQ(entry(4), "[ ] Size of Gui 70%");
  // The menu went back out of the frame, with its empty rectangle.
  EXPECT_FALSE(frame().isChild(&frame().menu()));
  EXPECT_TRUE(frame().menu().getViewSize().isEmpty());
  // A size that is none of the seven leaves the mark where it was.
  gui().setGuiScale(0.85f);
  EXPECT_EQ(entry(2), "[x] Size of Gui 80%");

  // A control with a menu of its own shows that menu, not the main menu.
  shownLists.clear();
  menuChoice = -1;
  const toolkit::CRect step = control(kStepButton + 3)->getViewSize();
  rightClick(step.left + 5, step.top + 5);
  const toolkit::CRect pattern = control(kPatternButton)->getViewSize();
  rightClick(pattern.left + 5, pattern.top + 5);
  ASSERT_EQ(shownLists.size(), 2u);
  EXPECT_EQ(shownAt.back(), (toolkit::CPoint{pattern.left + 5, pattern.top + 7}));
  EXPECT_EQ(shownLists[0], (std::vector<std::string>{"127", "100", "70", "40", "Reset to full"}));
  EXPECT_EQ(shownLists[1].back(), "Export as MIDI file");
  EXPECT_EQ(value(kPatternButton), 1.0f);
  EXPECT_EQ(value(kStepButton + 3), 0.0f);
}

TEST_F(GuiMenu, DownmixAndTunedSoundToggleWithMarksThatShowTheModelAndClearAllEmptiesTheInstrument) {
  openWithChooser(8);  // "Tuned sound", undone by choosing it again
  rightClick(20, 20);
  EXPECT_EQ(shownLists.back()[8], "[ ] Tuned sound");
  EXPECT_EQ(vst().instrument().soundMode(), engine::SoundMode::Tuned);
  rightClick(20, 20);
  EXPECT_EQ(shownLists.back()[8], "[x] Tuned sound");
  EXPECT_EQ(vst().instrument().soundMode(), engine::SoundMode::Classic);

  menuChoice = 7;  // "Downmix to stereo"
  rightClick(20, 20);
  EXPECT_TRUE(engine().kitPlayer().downmix());
  EXPECT_EQ(shownLists.back()[7], "[ ] Downmix to stereo");
  const std::string withDownmix = savedProject();
  rightClick(20, 20);
  EXPECT_FALSE(engine().kitPlayer().downmix());
  EXPECT_EQ(shownLists.back()[7], "[x] Downmix to stereo");
  loadProject(withDownmix);
  gui().idle();
  rightClick(20, 20);
  EXPECT_EQ(shownLists.back()[7], "[x] Downmix to stereo");

  // "Clear all now!" empties the instrument; the view shows pattern one in its bank, the panel
  // closed, and the defaults.
  menuChoice = 10;
  patterns().setCell(engine::kSoundingStepCell, 3, 3, 3);
  holder(4).setName("clap");
  change(kOctave3Bank, 1.0f);
  directory.addFolder("samples");  // where the panel opens
  change(kBrowseButton + 6, 1.0f);
  ASSERT_TRUE(frame().isChild(gui().browserView(6)));
  change(kStepGroupButton + 4, 1.0f);
  change(kSwingAmountKnob, 0.9f);
  change(kMidiButton, 1.0f);
  rightClick(20, 20);
  EXPECT_FALSE(patterns().cellSounds(3, 3, 3));
  EXPECT_EQ(holder(4).name(), "");
  EXPECT_EQ(gui().selectedHolder(), 0);
  EXPECT_EQ(gui().shownPattern(), 0);
  EXPECT_EQ(gui().stepGroup(), 0);
  EXPECT_EQ(gui().swingAmount(), 0.5f);
  expectValues({{kOctave2Bank, 1.0f},
                {kOctave3Bank, 0.0f},
                {kPatternButton, 1.0f},
                {kHolderSelect, 1.0f},
                {kHolderSelect + 6, 0.0f},
                {kBrowseButton + 6, 0.0f},
                {kHsyncButton, 1.0f},
                {kMidiButton, 0.0f},
                {kStepGroupButton, 1.0f}});
  EXPECT_FALSE(frame().isChild(gui().browserView(6)));
  change(kOctave3Bank, 1.0f);
  EXPECT_EQ(gui().shownPattern(), 12);
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(GuiMenu, TheHolderMenuChoosesTheChokeGroupWithACheckMarkAndTheStripShowsIt) {
  openWithChooser(15);  // "Choke group 2"
  const auto badge = [this](int holderIndex) {
    return static_cast<widgets::BadgeButton*>(control(kHolderSelect + holderIndex))->badge();
  };
  const std::vector<uint32_t> none = renderedPixels(kHolderSelect + 6);
  click(control(kHolderSelect + 6), toolkit::kRButton);
  EXPECT_EQ(shownLists.back()[13], "[x] No choke group");
  EXPECT_EQ(vst().instrument().chokeGroup(6), 2);
  EXPECT_EQ(badge(6), "C2");
  EXPECT_NE(renderedPixels(kHolderSelect + 6), none);
  menuChoice = 8;  // "Copy this sample to G": the copy's strip shows the group too
  click(control(kHolderSelect + 6), toolkit::kRButton);
  EXPECT_EQ(shownLists.back()[15], "[x] Choke group 2");
  EXPECT_EQ(shownLists.back()[13], "[ ] No choke group");
  EXPECT_EQ(badge(7), "C2");
  menuChoice = 13;
  click(control(kHolderSelect + 6), toolkit::kRButton);
  EXPECT_EQ(vst().instrument().chokeGroup(6), 0);
  EXPECT_EQ(badge(6), "");
  EXPECT_EQ(renderedPixels(kHolderSelect + 6), none);
  EXPECT_EQ(value(kHolderSelect + 6), 0.0f) << "a right click selects nothing";
}

// The pattern menu exports its pattern, the main menu all of them, into the documents folder's
// Kestrelhollow/MIDI/, and a message says where, or why nothing was written.
TEST_F(GuiMenu, TheExportEntriesWriteMidiFilesAndSayWhereOrWhyNot) {
  const std::string documents = documentsFolder();
  std::ofstream(documents.substr(0, documents.size() - 1)) << "a file where the folder would be";
  openWithChooser(9);  // "Export all patterns as MIDI file"
  rightClick(20, 20);
  ASSERT_EQ(messages.count("Error"), 1u);
  EXPECT_NE(messages.messages().back().text.find(documents + "Kestrelhollow"), std::string::npos);
  std::filesystem::remove(documents.substr(0, documents.size() - 1));
  rightClick(20, 20);
  change(kOctave3Bank, 1.0f);
  choose(kPatternMenu + 2, 28);  // "Export as MIDI file": Oct3 D
  ASSERT_EQ(messages.count("Information"), 2u);
  const std::string folder = documents + "Kestrelhollow/MIDI/";
  for (const auto& [index, name] : std::vector<std::pair<size_t, std::string>>{{1, "All patterns "}, {2, "Oct3 D "}}) {
    const std::string& text = messages.messages()[index].text;
    const std::string path = text.substr(text.find(folder));
    EXPECT_EQ(path.substr(folder.size(), name.size()), name);
    EXPECT_EQ(platform::ReadTextFile(path).substr(0, 4), "MThd");
  }
  EXPECT_EQ(messages.messages().size(), 3u);
}

// A click on a parameter's control is one gesture for the host: begin, the value, end.
TEST_F(GuiMenu, AClickIsAGestureOnTheControlsParameter) {
  openWithChooser(-1);
  const int solo = instrument::ParameterIndex(instrument::ParameterKind::Solo, 6);
  click(control(kSoloButton + 6));
  EXPECT_EQ(edits,
            (std::vector<std::pair<int32_t, int32_t>>{
                {vst::audioMasterBeginEdit, solo}, {vst::audioMasterAutomate, solo}, {vst::audioMasterEndEdit, solo}}));
  EXPECT_EQ(automations.back().value, 1.0f);
  edits.clear();
  click(control(kStepButton + 3));
  click(control(kPatternButton + 2));
  EXPECT_TRUE(edits.empty());
  EXPECT_EQ(value(kPatternButton + 2), 1.0f);
}

TEST_F(GuiMenu, EachInstanceKeepsItsOwnFrameAndControlsThroughClosingAndSelectingHandsTheBrowserOver) {
  openWithChooser(-1);
  toolkit::CFrame* first = gui().mainMenuFrame();
  plugin::Vst other(nullptr, plugin::EffectEnvironment{directory.path(), {}});
  auto& otherGui = static_cast<editor::Gui&>(other.editorLink());
  otherGui.openOffscreen();
  ASSERT_NE(otherGui.mainMenuFrame(), nullptr);
  EXPECT_NE(otherGui.mainMenuFrame(), first);
  change(kBrowseButton + 3, 1.0f);
  change(kPanKnob + 2, 0.3f);
  EXPECT_EQ(other.instrument().engine().kit().holder(38).pan(), 0.5f);
  EXPECT_EQ(gui().selectedHolder(), 3);
  vst().dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
  EXPECT_FALSE(gui().isOpen());
  gui().openOffscreen();
  EXPECT_EQ(gui().mainMenuFrame(), first);
  expectValues({{kPanKnob + 2, 0.3f}, {kBrowseButton + 3, 1.0f}, {kHolderSelect + 3, 1.0f}});
  EXPECT_TRUE(first->isChild(gui().browserView(3)));

  gui().browserView(5)->navigateTo(directory.addFile("samples/x.wav"), true);
  change(kHolderSelect + 5, 1.0f);
  EXPECT_FALSE(first->isChild(gui().browserView(3)));
  EXPECT_TRUE(first->isChild(gui().browserView(5)));
  expectBrowseButtons(5);
  // A double click on a file in the browser closes it.
  click(gui().browserView(5)->highlightedButton(), toolkit::kLButton | toolkit::kDoubleClick);
  EXPECT_FALSE(first->isChild(gui().browserView(5)));
  expectBrowseButtons(-1);
}

TEST_F(GuiMenu, AnEditThatIsUnderWayWhenTheEffectGoesIsDropped) {
  openWithChooser(-1);
  click(control(kNameField + 2));
  ASSERT_EQ(frame().getFocusView(), control(kNameField + 2));
  EXPECT_TRUE(frame().onKeyDown({U'x', toolkit::VirtualKey::NoKey}));
  automations.clear();
  // The listeners are going away with the effect: nothing is committed or reported.
  effect.reset();
  EXPECT_TRUE(automations.empty());
}

TEST_F(GuiMenu, UpAndDownStepTheSelectedHoldersBrowserUnlessANameIsBeingEdited) {
  const std::string samples = writeSamples({{"a-kick.wav", 100}, {"b-snare.wav", 200}});
  openWithChooser(-1);
  change(kHolderSelect + 1, 1.0f);
  editor::EditorLink::StartDirectories starts;
  starts.fill(samples);
  starts[1] = samples + "a-kick.wav";
  gui().setStartDirectories(starts);
  EXPECT_TRUE(key(0, vst::VKEY_DOWN));
  EXPECT_EQ(holder(1).path(), samples + "b-snare.wav");
  EXPECT_EQ(holder(1).length(), 200u);
  EXPECT_EQ(gui().controls().nameField(1)->getText(), "b-snare.wav");
  EXPECT_TRUE(key(0, vst::VKEY_UP));
  EXPECT_EQ(holder(1).name(), "a-kick.wav");
  EXPECT_FALSE(key('a')) << "the host's while no name is being edited";

  // The field being edited takes every key and refuses what a project cannot store.
  click(gui().controls().nameField(1));
  for (char32_t typed : {U'K', U'i', U'c', U'k', U';', U'\t', U'1'}) EXPECT_TRUE(key(typed));
  EXPECT_TRUE(key(0, vst::VKEY_DOWN));
  EXPECT_EQ(holder(1).path(), samples + "a-kick.wav");
  EXPECT_TRUE(key(0, vst::VKEY_RETURN));
  EXPECT_EQ(gui().controls().nameField(1)->getText(), "a-kick.wavKick1");
  EXPECT_TRUE(key(0, vst::VKEY_DOWN));
  EXPECT_EQ(holder(1).path(), samples + "b-snare.wav");
  EXPECT_EQ(holder(1).name(), "a-kick.wavKick1") << "a name of the user's own stays";
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(GuiMenu, AFileClickLoadsAndKeepsThePanelOpenAndAProjectLoadListsTheNewFolder) {
  const std::string samples = writeSamples({{"one/a.wav", 100}, {"two/b.wav", 100}, {"two/c;d.wav", 100}});
  openWithChooser(-1);
  samples::LoadSample(kit(), 36, samples + "one/a.wav", false);
  const std::string inFolderOne = savedProject();
  std::string inFolderTwo = inFolderOne;
  // The text stores paths below the samples folder with backslashes.
  inFolderTwo.replace(inFolderTwo.find("one\\a.wav"), 9, "two\\b.wav");
  loadProject(inFolderOne);
  gui().idle();

  change(kBrowseButton, 1.0f);
  ASSERT_EQ(fileButtonNames(0), (std::vector<std::string>{"a.wav"}));
  edits.clear();
  click(fileButton(0, "a.wav"));
  EXPECT_EQ(value(kBrowseButton), 1.0f);
  EXPECT_TRUE(edits.empty()) << "the browser sets no host parameter";
  loadProject(inFolderTwo);
  gui().idle();
  expectBrowseButtons(-1);
  EXPECT_FALSE(frame().isChild(gui().browserView(0)));
  change(kBrowseButton, 1.0f);
  EXPECT_EQ(fileButtonNames(0), (std::vector<std::string>{"b.wav", "c;d.wav"}));
  EXPECT_EQ(gui().browserView(0)->folderLine()->folder(), samples + "two/");

  // A file whose path a project cannot store is refused and renames nothing.
  click(fileButton(0, "c;d.wav"));
  EXPECT_EQ(messages.count("Sample load error"), 1u);
  EXPECT_EQ(holder(0).path(), samples + "two/b.wav");
  EXPECT_EQ(holder(0).name(), "");
  click(fileButton(0, "b.wav"));
  EXPECT_EQ(holder(0).name(), "b.wav");
  click(control(kBrowseButton));
  EXPECT_FALSE(frame().isChild(gui().browserView(0)));
}

// Names and paths handed to the loader, made of every kind of byte: each holder record keeps its
// fields, and the text reads back to the names and paths the model held.
TEST_F(GuiMenu, AnyNameAndPathEitherEntersTheProjectTextIntactOrIsCleanedOrRefusedFirst) {
  const std::string bytes("aZ ;\n\r\t\x01\x7F\xC3\xA9\xFF\\$/.\0aZ", 18);
  std::vector<std::pair<std::string, std::string>> held;
  for (int index = 0; index < 12; ++index) {
    const std::string piece = bytes.substr(static_cast<size_t>(index), 6);
    samples::LoadFile(holder(index), piece, "/nowhere/" + piece.substr(2), false);
    held.emplace_back(holder(index).name(), holder(index).path());
  }
  const std::string saved = savedProject();
  size_t records = 0;
  for (std::string_view line : persistence::Lines(saved)) {
    if (!line.starts_with("smp2;")) continue;
    ++records;
    EXPECT_EQ(std::ranges::count(line, ';'), 10) << line;
  }
  EXPECT_EQ(records, 12u);
  loadProject(saved);
  for (int index = 0; index < 12; ++index) {
    EXPECT_EQ(std::make_pair(holder(index).name(), holder(index).path()), held[static_cast<size_t>(index)]) << index;
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
    const std::vector<std::pair<int32_t, int32_t>> asked{{gui.size().width, gui.size().height}};
    EXPECT_EQ(host.windowSizes, canResize ? asked : decltype(asked){}) << canResize;
    EXPECT_LT(gui.size().width, 1200);
    host.closeEffect();
  }
}

}  // namespace
}  // namespace guitest
