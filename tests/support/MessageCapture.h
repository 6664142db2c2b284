// Records what the program shows the user while the capture lives (in-process effects only;
// a loaded module keeps its own message sink).
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Messages.h"

namespace testhost {

struct ShownMessage {
  std::string caption;
  std::string text;
};

class MessageCapture {
 public:
  MessageCapture()
      : previous_(platform::SetMessageSink([this](const std::string& caption, const std::string& text) {
          messages_.push_back({caption, text});
        })) {}
  ~MessageCapture() { platform::SetMessageSink(previous_); }
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  const std::vector<ShownMessage>& messages() const { return messages_; }
  size_t count(const std::string& caption) const {
    return static_cast<size_t>(std::count_if(messages_.begin(), messages_.end(),
                                             [&](const ShownMessage& message) { return message.caption == caption; }));
  }
  void clear() { messages_.clear(); }

 private:
  std::vector<ShownMessage> messages_;
  platform::MessageSink previous_;
};

}  // namespace testhost
