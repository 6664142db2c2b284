#include "browser/VstBrowser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <tuple>
#include <utility>

#include "platform/Folders.h"
#include "support/BmpFile.h"
#include "support/MessageCapture.h"
#include "support/NativePath.h"
#include "support/PanelClicks.h"
#include "support/TempFolder.h"
#include "toolkit/MouseEvents.h"
#include "toolkit/TextCharacters.h"

namespace {

using browser::FileButton;
using testhost::NativePath;
using toolkit::CRect;
using Names = std::vector<std::string>;

constexpr toolkit::CColor kSelectedFontColor{0, 127, 255, 255};

// Stands in for the editor: records the holder's browse button's value at each file click.
struct RecordingListener : browser::BrowserListener {
  explicit RecordingListener(const toolkit::CControl& button) : browseButton(button) {}
  void fileClicked(browser::VstBrowser&, bool) override { values.push_back(browseButton.getValue()); }
  const toolkit::CControl& browseButton;
  std::vector<float> values;
};

toolkit::CBitmap* MakeIcon() { return new toolkit::CBitmap(std::make_shared<toolkit::Image>(23, 15)); }

class VstBrowserTest : public ::testing::Test {
 protected:
  VstBrowserTest() {
    testhost::WriteBmp(skin.path() + "brwUpDirBg.bmp", 20, 40);
    testhost::WriteBmp(skin.path() + "BrowserToolbarBg.bmp", 752, 20);
    panel = new browser::VstBrowser(browser::kBrowserPanelRect, frame, &browseButton, skin.path(), icons, &editor);
    panel->setFilter(browser::kSampleFileTypes);
    frame->addView(panel);
  }
  ~VstBrowserTest() override {
    frame->forget();
    for (toolkit::CBitmap* icon : {icons.drive, icons.directory, icons.file}) icon->forget();
  }

  void click(const toolkit::CView* view, int32_t buttons = toolkit::kLButton) {
    testhost::Click(*frame, view, buttons);
  }
  Names buttonNames() const { return testhost::ButtonNames(*panel); }
  FileButton* buttonNamed(const std::string& name) const { return testhost::ButtonNamed(*panel, name); }
  // Shows the folder as the editor does for a holder whose sample lies there.
  void showFolder(const std::string& path) {
    panel->navigateTo(path, false);
    panel->showListing();
  }

  testhost::TempFolder folder;
  testhost::TempFolder skin;
  testhost::MessageCapture messages;
  toolkit::CControl browseButton{{0.0, 0.0, 20.0, 20.0}, nullptr, 204};
  RecordingListener editor{browseButton};
  toolkit::CFrame* frame = new toolkit::CFrame({0.0, 0.0, 1206.0, 616.0}, nullptr, nullptr);
  browser::EntryBitmaps icons{MakeIcon(), MakeIcon(), MakeIcon()};
  browser::VstBrowser* panel = nullptr;
};

TEST_F(VstBrowserTest, ThePanelScalesWhileTheGridButtonsKeepTheirSizeInFewerColumns) {
  for (int index = 0; index < 12; ++index) folder.addFile("s" + std::to_string(index + 10) + ".wav");
  showFolder(folder.path());
  // 0.7 as a single-precision factor is 69 percent.
  for (const auto& [factor, percent, columns] :
       std::vector<std::tuple<float, int, size_t>>{{0.8f, 80, 4}, {0.7f, 69, 3}, {1.0f, 100, 5}}) {
    panel->setScale(factor);
    EXPECT_EQ(panel->scalePercent(), percent);
    ASSERT_EQ(panel->buttonCount(), 12u);
    EXPECT_EQ(panel->button(columns)->getViewSize(), browser::ButtonRect(0, 1)) << factor;
    EXPECT_EQ(panel->button(columns - 1)->getViewSize().top, 5.0) << factor;
    EXPECT_EQ(panel->getNbViews(), 2);  // the toolbar and one scroll view
  }
  panel->setScale(0.5f);
  EXPECT_EQ(panel->getViewSize(), (CRect{51, 88, 427, 184.5}));
  EXPECT_EQ(panel->scrollView()->getViewSize(), (CRect{0, 10, 376, 96.5}));
  EXPECT_EQ(panel->upButton()->getMouseableArea(), (CRect{0, 0, 10, 10}));
  panel->setScale(1.0f);
  EXPECT_EQ(panel->getViewSize(), browser::kBrowserPanelRect);
  EXPECT_EQ(panel->upButton()->getMouseableArea(), (CRect{0, 0, 20, 20}));
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(VstBrowserTest, AFolderClickEntersItAndTheUpButtonGoesBackUpToTheDrives) {
  folder.addFile("Loops/loop.wav");
  folder.addFile("a.wav");
  showFolder(folder.path());
  ASSERT_EQ(buttonNames(), (Names{"Loops", "a.wav"}));
  click(buttonNamed("Loops"));
  EXPECT_EQ(buttonNames(), (Names{"loop.wav"}));
  EXPECT_EQ(panel->folderLine()->folder(), folder.path() + NativePath("Loops/"));
  EXPECT_TRUE(panel->isTouched());
  click(panel->upButton());
  EXPECT_EQ(buttonNames(), (Names{"Loops", "a.wav"}));
  EXPECT_TRUE(editor.values.empty());

  const std::string root = platform::TopLevelFolders().front();
  panel->navigateTo(root, true);
  click(panel->upButton());
  // The line names the top level as a user knows it; a drive's button enters it.
#ifdef _WIN32
  EXPECT_EQ(panel->folderLine()->folder(), "Computer");
#else
  EXPECT_EQ(panel->folderLine()->folder(), "/");
#endif
  click(panel->button(0));
  EXPECT_EQ(panel->directory(), root);
}

TEST_F(VstBrowserTest, ALongFolderLineKeepsItsEndCutBeforeAWholeCharacter) {
  // One unit per byte: the end of the path that fits, led by the mark of the cut, which falls
  // only before a whole character: of UTF-8 (Linux) or of a double-byte code page (Windows).
  const auto bytes = [](std::string_view text) { return static_cast<double>(text.size()); };
  const auto utf8 = [](std::string_view text) { return std::max<size_t>(toolkit::Utf8CharacterLength(text), 1); };
  const auto shiftJis = [](std::string_view text) {
    return toolkit::CodePageCharacterLength(
        text, [](unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); });
  };
  for (const auto& [text, width, fitted] : std::vector<std::tuple<std::string, double, std::string>>{
           {"/samples/kick/", 14.0, "/samples/kick/"},
           {"/samples/kick/", 10.0, "...s/kick/"},
           {"/samples/kick/", 2.0, "..."},
           {"/ab/\xC3\xA9/", 5.0, ".../"},  // "é": two bytes in UTF-8
           {"/ab/\xC3\xA9/", 6.0, "...\xC3\xA9/"},
           {"/ab/\xFF\xC3/", 5.0, "...\xC3/"}}) {  // bytes that are no UTF-8 count one each
    EXPECT_EQ(browser::FolderLine::fitFromTheLeft(text, width, bytes, utf8), fitted) << text << " in " << width;
  }
  // "あい" in Shift-JIS, a lead byte then a trail byte each; 0xA2 alone would be another letter.
  EXPECT_EQ(browser::FolderLine::fitFromTheLeft("/\x82\xA0\x82\xA2/", 5.0, bytes, shiftJis), ".../");
}

TEST_F(VstBrowserTest, FileClicksReachTheNotificationControlAndANoFileSelectionIsReported) {
  EXPECT_EQ(panel->getSelectedPath(), "");
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text, "No file has been selected in this directory");
  messages.clear();
#ifdef _WIN32
  const std::string second = "b c.wav";  // Windows allows no bar in a file name
#else
  const std::string second = "b|c.wav";  // an ordinary character of a file name here
#endif
  folder.addFile("a.wav");
  folder.addFile(second);
  showFolder(folder.path());
  click(buttonNamed("a.wav"));
  EXPECT_EQ(editor.values, (std::vector<float>{0.5f}));
  EXPECT_EQ(panel->getSelectedPath(), folder.path() + "a.wav");
  EXPECT_EQ(buttonNamed("a.wav")->getFontColor(), kSelectedFontColor);
  click(buttonNamed(second), toolkit::kLButton | toolkit::kDoubleClick);
  EXPECT_EQ(editor.values, (std::vector<float>{0.5f, 0.51f}));
  EXPECT_EQ(panel->getSelectedPath(), folder.path() + second);
  EXPECT_EQ(buttonNamed("a.wav")->getFontColor(), toolkit::kWhiteCColor);
  EXPECT_EQ(panel->highlightedButton(), buttonNamed(second));
  click(buttonNamed("a.wav"), toolkit::kRButton);
  EXPECT_EQ(editor.values.size(), 2u);
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(VstBrowserTest, UnforcedMovesFollowOnlyUntilTheUserClicksAndAListedPanelListsTheNewFolder) {
  folder.addFile("one/a.wav");
  folder.addFile("two/b.wav");
  folder.addFile("two/c.wav");
  panel->navigateTo(folder.path() + NativePath("one/a.wav"), false);
  EXPECT_EQ(panel->selectedPath(), folder.path() + NativePath("one/a.wav"));
  EXPECT_FALSE(panel->isTouched());
  panel->showListing();
  click(buttonNamed("a.wav"));
  panel->navigateTo(folder.path() + NativePath("two/c.wav"), false);
  EXPECT_EQ(panel->selectedPath(), folder.path() + NativePath("one/a.wav"));
  panel->navigateTo(folder.path() + NativePath("two/c.wav"), true);
  // The grid and the folder line name the same folder, and a click loads from it.
  EXPECT_EQ(buttonNames(), (Names{"b.wav", "c.wav"}));
  EXPECT_EQ(panel->folderLine()->folder(), folder.path() + NativePath("two/"));
  EXPECT_EQ(panel->highlightedButton(), buttonNamed("c.wav"));
  click(buttonNamed("b.wav"));
  EXPECT_EQ(panel->getSelectedPath(), folder.path() + NativePath("two/b.wav"));
  // A forced move touches the panel; one never listed opens on its new folder.
  auto& other = *new browser::VstBrowser(browser::kBrowserPanelRect, frame, nullptr, skin.path(), icons, nullptr);
  other.setFilter(browser::kSampleFileTypes);
  other.navigateTo(folder.path() + NativePath("two/b.wav"), true);
  EXPECT_TRUE(other.isTouched());
  other.navigateTo(folder.path(), false);
  other.showListing();
  EXPECT_EQ(other.highlightedButton(), other.button(0));
  other.forget();
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(VstBrowserTest, NextAndPreviousMoveTheHighlightWhichScrollsToTheButtonsShareOfTheListing) {
  for (int index = 0; index < 100; ++index) folder.addFile("s" + std::to_string(index + 100) + ".wav");
  EXPECT_EQ(panel->next(), "");
  showFolder(folder.path() + "s150.wav");
  EXPECT_FLOAT_EQ(panel->scrollView()->getVerticalScrollbar()->getValue(), 0.5f);
  EXPECT_EQ(panel->next(), folder.path() + "s151.wav");
  EXPECT_EQ(panel->highlightedButton(), buttonNamed("s151.wav"));
  EXPECT_EQ(panel->previous(), folder.path() + "s150.wav");
  EXPECT_EQ(buttonNamed("s151.wav")->getFontColor(), toolkit::kWhiteCColor);
  EXPECT_FALSE(panel->isTouched());
  panel->highlight("missing.wav");
  EXPECT_EQ(panel->highlightedButton(), nullptr);
  EXPECT_FLOAT_EQ(panel->scrollView()->getVerticalScrollbar()->getValue(), 0.0f);
}

TEST_F(VstBrowserTest, AFolderDeletedBeforeItsClickOrAnUnknownEntryIsReportedAndUpStillWorks) {
  folder.addFile("Gone/x.wav");
  folder.addFile("keep.wav");
  showFolder(folder.path());
  std::filesystem::remove_all(folder.path() + "Gone");
  click(buttonNamed("Gone"));
  EXPECT_EQ(panel->buttonCount(), 0u);
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text,
            "Unable to locate the directory " + folder.path() + NativePath("Gone/") + "\n");
  click(panel->upButton());
  EXPECT_EQ(buttonNames(), (Names{"keep.wav"}));

  FileButton* unknown = new FileButton({}, panel, 1, "zz|%s%n", icons);
  EXPECT_LT(unknown->getType(), 0);
  EXPECT_EQ(messages.messages().back().text,
            "Internal error FileButton::FileButton(): FileButton has no type: zz|%s%n");
  panel->valueChanged(unknown);
  EXPECT_EQ(buttonNames(), (Names{"keep.wav"}));
  EXPECT_TRUE(editor.values.empty());
  unknown->forget();
}

TEST_F(VstBrowserTest, MoreEntriesThanButtonsAreCutAtTheLimitWithAWarning) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || defined(_WIN32)
  // 65 536 views cost the toolkit's containers quadratic time, which the sanitizers multiply;
  // NTFS takes at most 1023 links to a file.
  GTEST_SKIP() << "too slow under the sanitizers and Wine";
#endif
  // Hard links to two files are far quicker to make than as many files.
  const std::string many = folder.addFolder("many");
  const std::string originals[] = {folder.addFile("many/0.wav"), folder.addFile("many/1.wav")};
  for (size_t index = 2; index <= browser::kMaxButtons; ++index) {
    std::filesystem::create_hard_link(originals[index % 2], many + std::to_string(index) + ".wav");
  }
  showFolder(many);
  EXPECT_EQ(panel->entries().size(), browser::kMaxButtons + 1);
  EXPECT_EQ(panel->buttonCount(), browser::kMaxButtons);
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text, "This folder holds 65537 entries; the browser shows the first 65536.");
}

}  // namespace
