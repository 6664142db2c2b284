#include "toolkit/MessageWindow.h"

#include <deque>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/DynamicLibrary.h"

namespace toolkit {
namespace {

struct Message {
  std::string caption;
  std::string text;
};

struct MessageQueue {
  std::mutex mutex;
  std::deque<Message> messages;
  bool threadRunning = false;
};

// Shared with the thread, which may outlive the static (a window still open at exit).
const std::shared_ptr<MessageQueue>& SharedMessageQueue() {
  static const auto queue = std::make_shared<MessageQueue>();
  return queue;
}

void ShowAll(const std::shared_ptr<MessageQueue>& queue, const std::unique_ptr<MessageScreen>& screen) {
  for (;;) {
    Message message;
    {
      std::lock_guard lock(queue->mutex);
      if (queue->messages.empty()) {
        queue->threadRunning = false;
        return;
      }
      message = std::move(queue->messages.front());
      queue->messages.pop_front();
    }
    screen->show(message.caption, message.text);
  }
}

// False when no window can be shown.
bool Post(const MessageScreenOpener& open, const std::string& caption, const std::string& text) {
  const std::shared_ptr<MessageQueue>& queue = SharedMessageQueue();
  std::lock_guard lock(queue->mutex);
  if (!queue->threadRunning) {
    std::unique_ptr<MessageScreen> screen = open();
    if (!screen) return false;
    static const bool moduleKept = (platform::KeepThisModuleLoaded(), true);
    (void)moduleKept;
    // Detached: nobody waits for a user who may never click; the thread owns what it uses.
    std::thread(ShowAll, queue, std::move(screen)).detach();
    queue->threadRunning = true;
  }
  queue->messages.push_back({caption, text});
  return true;
}

}  // namespace

platform::MessageSink MessageWindowSink(MessageScreenOpener open, platform::MessageSink fallback) {
  return [open = std::move(open), fallback = std::move(fallback)](const std::string& caption, const std::string& text) {
    if (!Post(open, caption, text)) fallback(caption, text);
  };
}

void InstallMessageWindow() {
  // The sink in place is the fallback; it is read once the new sink is in place.
  auto previous = std::make_shared<platform::MessageSink>();
  *previous = platform::SetMessageSink(MessageWindowSink(
      OpenMessageScreen,
      [previous](const std::string& caption, const std::string& text) { (*previous)(caption, text); }));
}

}  // namespace toolkit
