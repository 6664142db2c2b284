#include "platform/Messages.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace platform {
namespace {

void WriteToStandardError(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

std::mutex& SinkMutex() {
  static std::mutex mutex;
  return mutex;
}

MessageSink& CurrentSink() {
  static MessageSink sink = WriteToStandardError;
  return sink;
}

}  // namespace

void ShowMessage(const std::string& caption, const std::string& text) {
  MessageSink sink;
  {
    std::lock_guard lock(SinkMutex());
    sink = CurrentSink();
  }
  sink(caption, text);
}

MessageSink SetMessageSink(MessageSink sink) {
  std::lock_guard lock(SinkMutex());
  MessageSink previous = std::move(CurrentSink());
  CurrentSink() = sink ? std::move(sink) : MessageSink(WriteToStandardError);
  return previous;
}

}  // namespace platform
