// The operating-system layer: bounded waits, the plug-in's own folder, the message sink and files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <thread>
#include <vector>

#include "platform/BoundedLock.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "plugin/Vst.h"
#include "support/MessageCapture.h"
#include "support/TempFolder.h"
#include "support/TestHost.h"

namespace {

using namespace std::chrono_literals;

// Whether another thread obtains the mutex within a short bound.
bool ObtainedElsewhere(platform::ProcessMutex& mutex) {
  return std::async(std::launch::async, [&] { return platform::BoundedLock(mutex, 20ms).owned(); }).get();
}

TEST(BoundedLock, TheOwnerTakesItAgainOthersWaitUntilItsLastReleaseAndAWaiterGivesUpAfterItsBound) {
  platform::ProcessMutex& mutex = platform::LoadMutex();
  {
    const platform::BoundedLock outer(mutex, 20ms);
    ASSERT_TRUE(outer.owned());
    {
      const platform::BoundedLock inner(mutex, 20ms);
      EXPECT_TRUE(inner.owned()) << "the same thread may take it again";
    }
    EXPECT_FALSE(ObtainedElsewhere(mutex)) << "the inner release left the outer hold";
  }
  EXPECT_TRUE(ObtainedElsewhere(mutex));

  // A waiter that gives up releases only what it obtained.
  std::promise<void> held;
  std::promise<void> release;
  std::thread owner([&] {
    const platform::BoundedLock lock(platform::StateMutex());
    held.set_value();
    release.get_future().wait();
  });
  held.get_future().wait();
  EXPECT_FALSE(platform::BoundedLock(platform::StateMutex(), 20ms).owned());
  EXPECT_FALSE(ObtainedElsewhere(platform::StateMutex())) << "the waiter that gave up left the other thread's hold";
  release.set_value();
  owner.join();
  EXPECT_TRUE(platform::BoundedLock(platform::StateMutex(), 20ms).owned());
}

TEST(PluginDirectory, IsTheFolderOfTheModuleWithATrailingSeparator) {
  // This test program holds the platform code itself, so its module is the program.
  EXPECT_EQ(std::filesystem::canonical(platform::PluginDirectory()),
            std::filesystem::canonical(platform::ProgramDirectory()));
  EXPECT_EQ(platform::PluginDirectory().back(), platform::kPathSeparator);
  EXPECT_EQ(platform::ProgramDirectory().back(), platform::kPathSeparator);

  testhost::TestHost host;
  ASSERT_TRUE(host.createInProcess());
  const auto& vst = host.object<plugin::Vst>();
  EXPECT_EQ(vst.instrument().pluginDirectory(), platform::PluginDirectory());
  EXPECT_EQ(vst.instrument().configurationFilePath(), platform::PluginDirectory() + "Kestrelhollow.cfg");
}

// Every suite replaces the sink through MessageCapture; here the one it had is restored.
TEST(Messages, TheSinkCanBeReplacedAndRestored) {
  { const testhost::MessageCapture capture; }
  testing::internal::CaptureStderr();
  platform::ShowMessage("Error", "to standard error");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: to standard error\n");
}

class Files : public ::testing::Test {
 protected:
  testhost::TempFolder folder;
};

TEST_F(Files, ExistenceAndTextFilesWithoutCarriageReturnsBeforeLineFeedsOrTheRestOfALineAfterANul) {
  EXPECT_FALSE(platform::FileExists(folder.file("missing.wav")));
  EXPECT_EQ(platform::ReadTextFile(folder.file("missing.txt")), "");
  EXPECT_FALSE(platform::WriteTextFile(folder.file("nowhere/file.txt"), "x"));
  const std::string withoutSeparator = folder.path().substr(0, folder.path().size() - 1);
  for (const std::string& directory : {withoutSeparator, withoutSeparator + "/"}) {
    EXPECT_TRUE(platform::DirectoryExists(directory)) << directory;
  }
  EXPECT_FALSE(platform::DirectoryExists(folder.file("nowhere")));
  // A line longer than one read piece keeps its carriage return handling at the seam.
  for (const auto& [written, read] :
       {std::pair{std::string("0.6\r\nsecond\r\nab\0cd\nlast", 23), std::string("0.6\nsecond\nablast")},
        {std::string(2046, 'x') + "\r\nend", std::string(2046, 'x') + "\nend"}}) {
    ASSERT_TRUE(platform::WriteTextFile(folder.file("config.txt"), written));
    EXPECT_TRUE(platform::FileExists(folder.file("config.txt")));
    EXPECT_FALSE(platform::DirectoryExists(folder.file("config.txt")));
    EXPECT_EQ(platform::ReadTextFile(folder.file("config.txt")), read);
  }
}

TEST_F(Files, AUniqueOrAWholeFileReplacesItsTargetOrLeavesNothingAndFoldersAreMadeDownToTheLast) {
  const std::string target = folder.file("out.wav");
  ASSERT_TRUE(platform::WriteTextFile(target, "old"));
  std::string first;
  std::string second;
  const int descriptor = platform::CreateUniqueFile(target + ".partial-", first);
  const int other = platform::CreateUniqueFile(target + ".partial-", second);
  ASSERT_GE(descriptor, 0);
  ASSERT_GE(other, 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(first.rfind(target + ".partial-", 0), 0u);
  platform::CloseFile(other);

  const std::string content(100000, 'n');
  EXPECT_TRUE(platform::WriteToFile(descriptor, content.data(), content.size()));
  EXPECT_TRUE(platform::SyncAndCloseFile(descriptor));
  EXPECT_EQ(platform::ReadTextFile(target), "old") << "the target is untouched until replaced";
  EXPECT_TRUE(platform::ReplaceFile(first, target));
  EXPECT_EQ(platform::ReadTextFile(target), content);
  EXPECT_FALSE(platform::FileExists(first));
  EXPECT_FALSE(platform::ReplaceFile(first, target));

  std::string refused;
  EXPECT_LT(platform::CreateUniqueFile(folder.file("nowhere/out.wav.partial-"), refused), 0);

  // Folders are made down to the last; a whole file replaces its target or leaves nothing.
  const std::string deep = folder.file("a/b/c/");
  EXPECT_TRUE(platform::CreateFolders(deep));
  EXPECT_TRUE(platform::CreateFolders(deep)) << "folders already there";
  EXPECT_TRUE(platform::DirectoryExists(deep));
  ASSERT_TRUE(platform::WriteTextFile(deep + "x.mid", "old"));
  EXPECT_TRUE(platform::WriteWholeFile(deep + "x.mid", std::string("new\0", 4)));
  EXPECT_EQ(testhost::ReadBytes(deep + "x.mid"), std::string("new\0", 4));

  // A file where a folder should be; a folder where the file should be.
  errno = 0;
  EXPECT_FALSE(platform::CreateFolders(deep + "x.mid/d"));
  EXPECT_NE(errno, 0);
  EXPECT_TRUE(platform::CreateFolders(deep + "taken.mid"));
  EXPECT_FALSE(platform::WriteWholeFile(deep + "taken.mid", "bytes"));
  EXPECT_FALSE(platform::WriteWholeFile(folder.file("nowhere/x.mid"), "bytes"));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(deep)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"taken.mid", "x.mid"})) << "no temporary file is left";
}

#ifndef _WIN32
TEST_F(Files, TheDocumentsFolderIsTheOneTheDesktopNamesElseDocumentsInTheHomeFolderElseTheHomeFolder) {
  const std::string home = std::getenv("HOME");
  setenv("HOME", folder.path().c_str(), 1);
  setenv("XDG_DOCUMENTS_DIR", "/data/papers", 1);
  EXPECT_EQ(platform::DocumentsFolder(), "/data/papers/");
  unsetenv("XDG_DOCUMENTS_DIR");
  EXPECT_EQ(platform::DocumentsFolder(), folder.path());
  folder.addFolder("Documents");
  EXPECT_EQ(platform::DocumentsFolder(), folder.file("Documents/"));
  setenv("HOME", home.c_str(), 1);
}
#endif

}  // namespace
