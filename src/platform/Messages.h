// The one way the program tells the user anything: a caption and a text.
#pragma once

#include <functional>
#include <string>

namespace platform {

using MessageSink = std::function<void(const std::string& caption, const std::string& text)>;

// Hands the message to the user. A sink that shows windows never keeps the caller waiting for
// the user (see toolkit::InstallMessageWindow). Never from the audio thread.
void ShowMessage(const std::string& caption, const std::string& text);

// Replaces where messages go (tests capture them); an empty sink restores the default.
// Returns the sink that was in place.
MessageSink SetMessageSink(MessageSink sink);

}  // namespace platform
