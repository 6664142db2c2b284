#include <memory>

#include "platform/Messages.h"
#include "toolkit/MessageWindow.h"

namespace toolkit {

void InstallMessageWindow() {
  // When the window cannot be shown, messages keep going where they went before.
  auto fallback = std::make_shared<platform::MessageSink>();
  *fallback = platform::SetMessageSink([fallback](const std::string& caption, const std::string& text) {
    if (!ShowMessageWindow(caption, text)) (*fallback)(caption, text);
  });
}

}  // namespace toolkit
