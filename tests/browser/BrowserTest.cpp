#include "browser/Browser.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>

#include "platform/Folders.h"
#include "support/MessageCapture.h"
#include "support/NativePath.h"
#include "support/TempFolder.h"

namespace {

using Codes = std::vector<std::string>;
using testhost::NativePath;

class BrowserTest : public ::testing::Test {
 protected:
  BrowserTest() { browser.setFilter(browser::kSampleFileTypes); }
#ifndef _WIN32
  ~BrowserTest() override { ::setenv("HOME", home.c_str(), 1); }
#endif

  // From the top level into the folder, as if it were a drive.
  const Codes& enter(const std::string& path) {
    browser.enterDirectory(path);
    return browser.entries();
  }

#ifndef _WIN32
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "/";
#endif
  testhost::TempFolder folder;
  testhost::MessageCapture messages;
  browser::Browser browser;
};

TEST_F(BrowserTest, ListsFoldersFirstThenTheFilesTheFilterAcceptsInByteOrder) {
  for (const char* name : {"b.wav", "A.WAV", "c.txt", "noext", "kick.WaV", "kick.wave", "x.WAV.txt", "trailing.",
                           "_u.aiff", "\xC3\xA9t.ogg", "upper.AIFF"}) {
    folder.addFile(name);
  }
  folder.addFolder("Loops");
  folder.addFolder("folder.txt");
  const auto before = std::filesystem::current_path();
  EXPECT_EQ(enter(folder.path()), (Codes{"di|Loops", "di|folder.txt", "fi|A.WAV", "fi|_u.aiff", "fi|b.wav",
                                         "fi|kick.WaV", "fi|upper.AIFF", "fi|\xC3\xA9t.ogg"}));
  EXPECT_EQ(std::filesystem::current_path(), before);
  // The filter is the pieces between semicolons, each matched exactly; an empty one matches none.
  browser::Browser filtered;
  filtered.setFilter("wav;;AIFF;");
  EXPECT_EQ(filtered.filter(), (Codes{"wav", "", "AIFF", ""}));
  filtered.enterDirectory(folder.path());
  EXPECT_EQ(filtered.entries(), (Codes{"di|Loops", "di|folder.txt", "fi|_u.aiff", "fi|upper.AIFF"}));
  EXPECT_TRUE(messages.messages().empty());
}

#ifndef _WIN32
// Links, pipes and the home folder of POSIX systems.
TEST_F(BrowserTest, ListsHiddenFoldersAndLinkTargetsButNoHiddenOrSpecialFiles) {
  const std::string sample = folder.addFile("a.wav");
  const std::string loops = folder.addFolder(".Loops");
  folder.addFile(".hidden.wav");
  ASSERT_EQ(::symlink(sample.c_str(), (folder.path() + "link.wav").c_str()), 0);
  ASSERT_EQ(::symlink(loops.c_str(), (folder.path() + "linked").c_str()), 0);
  ASSERT_EQ(::symlink("missing.wav", (folder.path() + "dangling.wav").c_str()), 0);
  // A pipe named like a sample would block the loader forever.
  ASSERT_EQ(::mkfifo((folder.path() + "pipe.wav").c_str(), 0600), 0);
  EXPECT_EQ(enter(folder.path()), (Codes{"di|.Loops", "di|linked", "fi|a.wav", "fi|link.wav"}));
}

TEST_F(BrowserTest, TopLevelListsTheRootAndAnEnterableHomeFolder) {
  const std::string homeFolder = folder.addFolder("home");
  ::setenv("HOME", homeFolder.substr(0, homeFolder.size() - 1).c_str(), 1);
  EXPECT_EQ(browser.getEntries(), (Codes{"dr|/", "dr|" + homeFolder}));
  for (const std::string& unusable : {std::string("/"), folder.path() + "missing"}) {
    ::setenv("HOME", unusable.c_str(), 1);
    EXPECT_EQ(browser.getEntries(), (Codes{"dr|/"}));
  }
}
#endif

TEST_F(BrowserTest, SetPathEnterAndGoUpWalkBetweenFoldersAndTheTopLevel) {
  browser.setPath(NativePath("/samples/Kicks/k1.wav"));
  EXPECT_EQ(browser.directory(), NativePath("/samples/Kicks/"));
  EXPECT_EQ(browser.selectedFile(), "k1.wav");
  EXPECT_TRUE(browser.entries().empty()) << "no listing";
  // A bare name is no place in the file system: the top level, nothing selected.
  browser.setPath("k1.wav");
  EXPECT_TRUE(browser.atTopLevel());
  EXPECT_EQ(browser.selectedFile(), "");

  folder.addFile("Kicks/k1.wav");
  folder.addFile("top.wav");
  browser.setPath(folder.path() + NativePath("Kicks/k1.wav"));
  browser.goUp();
  EXPECT_EQ(browser.directory(), folder.path());
  EXPECT_EQ(browser.selectedFile(), "");
  EXPECT_EQ(browser.entries(), (Codes{"di|Kicks", "fi|top.wav"}));

  browser.setPath(platform::TopLevelFolders().front());
  browser.goUp();
  const Codes drives = browser.entries();
  // At the top level nothing changes, not even the listing.
#ifndef _WIN32
  ::setenv("HOME", "/", 1);
#endif
  browser.goUp();
  EXPECT_TRUE(browser.atTopLevel());
  EXPECT_EQ(browser.entries(), drives);
}

TEST_F(BrowserTest, NextAndPreviousStepThroughFreshListingsAndStopAtTheEnds) {
  for (const char* name : {"a.wav", "b.wav", "notes.txt"}) folder.addFile(name);
  folder.addFolder("sub");
  browser.setPath(folder.path());
  EXPECT_EQ(browser.selectNext(), "");

  browser.setPath(folder.path() + "a.wav");
  EXPECT_EQ(browser.selectPrevious(), folder.path() + "a.wav");
  EXPECT_EQ(browser.entries(), (Codes{"di|sub", "fi|a.wav", "fi|b.wav"}));
  EXPECT_EQ(browser.selectNext(), folder.path() + "b.wav");
  EXPECT_EQ(browser.selectNext(), folder.path() + "b.wav");
  folder.addFile("c.wav");
  EXPECT_EQ(browser.selectNext(), folder.path() + "c.wav");
  EXPECT_EQ(browser.selectPrevious(), folder.path() + "b.wav");

  browser.setPath(folder.path() + "gone.wav");
  EXPECT_EQ(browser.selectNext(), folder.path() + "gone.wav");
  EXPECT_EQ(browser.selectPrevious(), folder.path() + "gone.wav");
}

}  // namespace
