#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Messages.h"
#include "toolkit/MessageWindow.h"

namespace toolkit {
namespace {

TEST(MessageWindow, WithoutADisplayMessagesGoWhereTheyWentBefore) {
#ifndef _WIN32
  const char* display = std::getenv("DISPLAY");
  const std::string previousDisplay = display ? display : "";
  // A display number that no server answers. (Wine runs the tests without any display.)
  setenv("DISPLAY", ":65000", 1);
#endif
  std::vector<std::string> shown;
  const auto previous =
      platform::SetMessageSink([&](const std::string& caption, const std::string& text) { shown.push_back(caption + ": " + text); });
  InstallMessageWindow();
  platform::ShowMessage("Error", "No file has been selected in this directory");
  platform::SetMessageSink(previous);
#ifndef _WIN32
  if (display) {
    setenv("DISPLAY", previousDisplay.c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
#endif
  EXPECT_EQ(shown, (std::vector<std::string>{"Error: No file has been selected in this directory"}));
}

}  // namespace
}  // namespace toolkit
