// What ends a render early: an exit code for the shell and a message for the user.
#pragma once

#include <stdexcept>
#include <string>

namespace render {

enum class ExitCode : int {
  Ok = 0,
  RenderFailed = 1,      // the plug-in or the machine failed during the render
  BadArguments = 2,      // the command line cannot be carried out
  PluginUnusable = 3,    // missing, not loadable, or not a VST 2.x instrument we can host
  InputUnreadable = 4,   // a state or MIDI file cannot be read or does not fit
  OutputUnwritable = 5,  // an output file cannot be created or written
  Interrupted = 130,     // stopped by the user (SIGINT); nothing was written
};

class Failure : public std::runtime_error {
 public:
  Failure(ExitCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
  ExitCode code() const { return code_; }

 private:
  ExitCode code_;
};

}  // namespace render
