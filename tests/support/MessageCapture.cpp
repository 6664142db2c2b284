#include "support/MessageCapture.h"

#include <algorithm>

namespace testhost {

MessageCapture::MessageCapture()
    : previous_(platform::SetMessageSink(
          [this](const std::string& caption, const std::string& text) { messages_.push_back({caption, text}); })) {}

MessageCapture::~MessageCapture() { platform::SetMessageSink(previous_); }

size_t MessageCapture::count(const std::string& caption) const {
  return static_cast<size_t>(std::count_if(messages_.begin(), messages_.end(),
                                           [&](const ShownMessage& message) { return message.caption == caption; }));
}

}  // namespace testhost
