// kestrelhollow-render under what only POSIX systems do to a program: signals (an interrupt,
// a terminal hanging up, a request to terminate) and limits on the size of its files.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "RenderTool.h"
#include "support/TempFolder.h"

namespace rendertest {
namespace {

using namespace std::chrono_literals;

// Far longer than the tests wait: the render is still running when the signal comes.
std::vector<std::string> EndlessRenderInto(const testhost::TempFolder& folder) {
  return {"--seconds", "36000", "--block", "16", "-o", folder.file("long.wav")};
}

TEST(RenderToolSignals, EachEndsTheRenderCleanlyAndLeavesNoFile) {
  const testhost::TempFolder folder;
  for (const int signal : {SIGINT, SIGHUP, SIGTERM}) {
    const ToolRun run = RunRender(EndlessRenderInto(folder), {.process = {.signal = signal, .signalAfter = 500ms}});
    EXPECT_EQ(run.exitCode, 130) << "signal " << signal << ": " << run.err;
    EXPECT_NE(run.err.find("Interrupted"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_empty(folder.path())) << signal;
  }
}

TEST(RenderToolSignals, AnInterruptOnATerminalEndsTheProgressBarsLineBeforeItsMessage) {
  const testhost::TempFolder folder;
  const ToolRun run = RunRender(
      EndlessRenderInto(folder),
      {.process = {.timeout = 60s, .signal = SIGINT, .signalOnText = "Rendering [", .errorToTerminal = true}});
  EXPECT_EQ(run.exitCode, 130) << run.err;
  const size_t bar = run.err.find("Rendering [");
  const size_t message = run.err.find("kestrelhollow-render: Error: Interrupted");
  ASSERT_NE(bar, std::string::npos) << run.err;
  ASSERT_NE(message, std::string::npos) << run.err;
  EXPECT_LT(bar, message);
  EXPECT_EQ(run.err[message - 1], '\n') << run.err;
}

TEST(RenderToolLimits, BothWritersPassOnTheSystemsReasonForAFailedWrite) {
  // Files may not grow beyond 1 KiB; two bars of the default preset take far more.
  const testhost::TempFolder folder;
  for (const char* name : {"big.wav", "big.flac"}) {
    const ToolRun run = RunRender({"--bars", "2", "-o", folder.file(name)}, {.process = {.fileSizeLimit = 1024}});
    EXPECT_EQ(run.exitCode, 5) << name << run.err;
    EXPECT_NE(run.err.find("Cannot write " + folder.file(name) + ": "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace rendertest
