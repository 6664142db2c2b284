// Messages to the user as a small window with the text and an OK button, where there is a
// display; elsewhere they go where they went before. A message never keeps its caller (often a
// host's thread, a plug-in scan among them) waiting for the user.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Messages.h"

namespace toolkit {

// The window system's half: a connection on which message windows can be shown.
class MessageScreen {
 public:
  virtual ~MessageScreen() = default;
  // Shows the window and returns when the user has closed it.
  virtual void show(const std::string& caption, const std::string& text) = 0;
};

// A connection to the display; null where no window can be shown.
std::unique_ptr<MessageScreen> OpenMessageScreen();

using MessageScreenOpener = std::function<std::unique_ptr<MessageScreen>()>;

// A sink that hands each message to the plug-in's one message thread and returns at once. The
// thread shows the windows one at a time, in order, on one connection it opens when it starts
// and closes when it has nothing left to show. When no connection can be opened the message
// goes to the fallback before the caller goes on. From the thread's first start the module
// stays loaded for the rest of the process, so a host that unloads the plug-in never pulls the
// code from under a window still showing.
platform::MessageSink MessageWindowSink(MessageScreenOpener open, platform::MessageSink fallback);

// Makes platform::ShowMessage use message windows, with the sink in place as the fallback.
// Called once when the plug-in loads.
void InstallMessageWindow();

}  // namespace toolkit
