// The message window's platform-free half: the message thread and the layout.
#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <string>
#include <vector>

#include "platform/Console.h"
#include "platform/Messages.h"
#ifndef _WIN32
#include "toolkit/x11/CairoDrawContext.h"
#include "toolkit/x11/MessageLook.h"
#endif
#include "toolkit/MessageWindow.h"

namespace toolkit {
namespace {

using Shown = std::vector<std::string>;

// Stands for the user: the first message stays on screen until the test lets it go.
struct Desk {
  std::promise<void> firstShowing, release, closed;  // closed: the thread gave its connection back
  std::shared_future<void> released = release.get_future().share();
  Shown shown;
  int opened = 0;
};

struct FakeScreen : MessageScreen {
  explicit FakeScreen(Desk& desk) : desk_(desk) {}
  ~FakeScreen() override { desk_.closed.set_value(); }
  void show(const std::string& caption, const std::string& text) override {
    desk_.shown.push_back(caption + ": " + text);
    if (desk_.shown.size() == 1) {
      desk_.firstShowing.set_value();
      desk_.released.wait();
    }
  }
  Desk& desk_;
};

TEST(MessageWindow, CallersGoOnWhileTheThreadShowsTheMessagesInTurn) {
  Desk desk;
  Shown fallen;
  const platform::MessageSink sink = MessageWindowSink(
      [&desk] {
        ++desk.opened;
        return std::make_unique<FakeScreen>(desk);
      },
      [&fallen](const std::string& caption, const std::string& text) { fallen.push_back(caption + ": " + text); });
  sink("Error", "first");
  desk.firstShowing.get_future().wait();
  // The first window is still open: none of these calls waits for it.
  sink("Warning", "second\nline");
  sink("Error", std::string(300, 'x'));
  desk.release.set_value();
  desk.closed.get_future().wait();
  EXPECT_EQ(desk.shown, (Shown{"Error: first", "Warning: second\nline", "Error: " + std::string(300, 'x')}));
  EXPECT_EQ(desk.opened, 1) << "one connection serves the whole run";
  EXPECT_TRUE(fallen.empty());
}

TEST(MessageWindow, WithoutADisplayMessagesGoWhereTheyWentBefore) {
#ifdef _WIN32
  platform::WithoutDisplay();
#else
  const char* display = std::getenv("DISPLAY");
  const std::string previousDisplay = display ? display : "";
  // A display number that no server answers.
  setenv("DISPLAY", ":65000", 1);
#endif
  Shown shown;
  const auto previous = platform::SetMessageSink(
      [&](const std::string& caption, const std::string& text) { shown.push_back(caption + ": " + text); });
  InstallMessageWindow();
  platform::ShowMessage("Error", "No file has been selected in this directory");
  platform::SetMessageSink(previous);
#ifndef _WIN32
  display ? setenv("DISPLAY", previousDisplay.c_str(), 1) : unsetenv("DISPLAY");
#endif
  EXPECT_EQ(shown, (Shown{"Error: No file has been selected in this directory"}))
      << "delivered before the call returned";
}

#ifndef _WIN32
// The drawn message window belongs to X11; Windows shows its own message box.
std::string WithoutSpaces(std::string text) {
  std::erase(text, ' ');
  return text;
}

double WidestLine(const MessageLayout& layout) {
  Image probe(1, 1);
  CairoDrawContext measure(probe);
  double widest = 0.0;
  for (const std::string& line : layout.lines) widest = std::max(widest, measure.textWidth(line, ArialFont(13.0)));
  return widest;
}

TEST(MessageLook, LinesBreakAtSpacesAndWithinWordsWiderThanTheWindowAndAHugeTextIsCutToTheScreen) {
  const std::string sentence =
      "The skin file is not a readable bitmap and the editor keeps its built-in look, "
      "which is the same on every host and every screen it meets.";
  const MessageLayout words = LayOutMessage(sentence, 1280, 1024);
  ASSERT_GT(words.lines.size(), 1u);
  std::string joined;
  for (const std::string& line : words.lines) joined += (joined.empty() ? "" : " ") + line;
  EXPECT_EQ(joined, sentence);

  const std::string path = "/home/user/" + std::string(500, 'k') + "/\xC3\xA9t\xC3\xA9.wav";
  const std::string text = "Cannot open " + path + " as a sample.";
  const MessageLayout broken = LayOutMessage(text, 1280, 1024);
  std::string all;
  for (const std::string& line : broken.lines) all += line;
  EXPECT_EQ(WithoutSpaces(all), WithoutSpaces(text)) << "nothing lost, no character split";
  EXPECT_LE(WidestLine(broken), broken.width);

  const std::string huge = "/" + std::string(100 * 1024, 'p') + ".wav";
  const MessageLayout layout = LayOutMessage("The file " + huge + " was not found.", 800, 600);
  EXPECT_LE(layout.width, 800);
  EXPECT_LE(layout.height, 600);
  EXPECT_LE(WidestLine(layout), layout.width);
  ASSERT_GE(layout.lines.size(), 2u);
  EXPECT_TRUE(layout.lines.back().ends_with("...")) << "the cut is marked";
  EXPECT_EQ(layout.lines[1].rfind("/ppp", 0), 0u);
}
#endif

}  // namespace
}  // namespace toolkit
