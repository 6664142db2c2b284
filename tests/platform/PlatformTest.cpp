// The operating-system layer: bounded waits, the plug-in's own folder, the message sink and files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <thread>

#include "platform/BoundedLock.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "plugin/Vst.h"
#include "support/MessageCapture.h"
#include "support/TestHost.h"

namespace {

using namespace std::chrono_literals;

TEST(BoundedLock, GivesUpAfterItsBoundAndReleasesOnlyWhatItObtained) {
  std::recursive_mutex mutex;
  std::promise<void> held;
  std::promise<void> release;
  std::thread owner([&] {
    mutex.lock();
    held.set_value();
    release.get_future().wait();
    mutex.unlock();
  });
  held.get_future().wait();
  {
    const platform::BoundedLock lock(mutex, 20ms);
    EXPECT_FALSE(lock.owned());
  }
  // Leaving the scope did not release the other thread's hold.
  EXPECT_FALSE(std::async(std::launch::async, [&] { return mutex.try_lock(); }).get());
  release.set_value();
  owner.join();

  const platform::BoundedLock outer(mutex, 20ms);
  const platform::BoundedLock inner(mutex, 20ms);
  EXPECT_TRUE(outer.owned());
  EXPECT_TRUE(inner.owned()) << "the same thread may take it again";
}

TEST(PluginDirectory, IsTheFolderOfTheModuleWithATrailingSeparator) {
  const std::string executable = std::filesystem::canonical("/proc/self/exe").string();
  const std::string folder = executable.substr(0, executable.rfind('/') + 1);
  EXPECT_EQ(std::filesystem::canonical(platform::PluginDirectory()).string() + "/", folder);
  EXPECT_EQ(platform::PluginDirectory().back(), platform::kPathSeparator);

  testhost::TestHost host;
  ASSERT_TRUE(host.createInProcess());
  const auto& vst = host.object<plugin::Vst>();
  EXPECT_EQ(vst.pluginDirectory(), platform::PluginDirectory());
  EXPECT_EQ(vst.configurationFilePath(), platform::PluginDirectory() + "Kestrelhollow.cfg");
}

TEST(Messages, TheSinkCanBeReplacedAndRestored) {
  {
    testhost::MessageCapture capture;
    platform::ShowMessage("Warning", "text");
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].caption, "Warning");
    EXPECT_EQ(capture.messages()[0].text, "text");
  }
  testing::internal::CaptureStderr();
  platform::ShowMessage("Error", "to standard error");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: to standard error\n");
}

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() / ("kh-files-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::string Path(const char* name) const { return (folder / name).string(); }
  std::filesystem::path folder;
};

TEST_F(Files, ExistenceOfFilesAndFolders) {
  EXPECT_FALSE(platform::FileExists(Path("missing.wav")));
  EXPECT_TRUE(platform::WriteTextFile(Path("present.wav"), "x"));
  EXPECT_TRUE(platform::FileExists(Path("present.wav")));
  EXPECT_TRUE(platform::DirectoryExists(folder.string()));
  EXPECT_TRUE(platform::DirectoryExists(folder.string() + "/"));
  EXPECT_FALSE(platform::DirectoryExists(Path("present.wav")));
  EXPECT_FALSE(platform::DirectoryExists(Path("nowhere")));
  EXPECT_FALSE(platform::WriteTextFile(Path("nowhere/file.txt"), "x"));
}

TEST_F(Files, TextFilesDropCarriageReturnsBeforeLineFeedsAndTheRestOfALineAfterANul) {
  EXPECT_EQ(platform::ReadTextFile(Path("missing.txt")), "");
  const std::string content = std::string("0.6\r\nsecond\r\nab\0cd\nlast", 23);
  ASSERT_TRUE(platform::WriteTextFile(Path("config.txt"), content));
  EXPECT_EQ(platform::ReadTextFile(Path("config.txt")), "0.6\nsecond\nablast");
  // A line longer than one read piece keeps its carriage return handling at the seam.
  const std::string longLine = std::string(2046, 'x') + "\r\n" + "end";
  ASSERT_TRUE(platform::WriteTextFile(Path("long.txt"), longLine));
  EXPECT_EQ(platform::ReadTextFile(Path("long.txt")), std::string(2046, 'x') + "\nend");
}

}  // namespace
