#include "platform/Messages.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace platform {
namespace {

void writeToStandardError(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

std::mutex& sinkMutex() {
  static std::mutex mutex;
  return mutex;
}

MessageSink& currentSink() {
  static MessageSink sink = writeToStandardError;
  return sink;
}

}  // namespace

void ShowMessage(const std::string& caption, const std::string& text) {
  MessageSink sink;
  {
    std::lock_guard lock(sinkMutex());
    sink = currentSink();
  }
  sink(caption, text);
}

MessageSink SetMessageSink(MessageSink sink) {
  std::lock_guard lock(sinkMutex());
  MessageSink previous = std::move(currentSink());
  currentSink() = sink ? std::move(sink) : MessageSink(writeToStandardError);
  return previous;
}

}  // namespace platform
