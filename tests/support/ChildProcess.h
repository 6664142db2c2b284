// Runs a program as a separate process, as a user or a script does, and collects what it
// writes to standard output and standard error and how it ended.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace testhost {

struct ProcessRun {
  int exitCode = -1;      // 128 + the signal's number when a signal ended it; -1 when no process was made
  bool timedOut = false;  // it ran out of time and was ended
  std::string out;
  std::string err;  // also why no process was made
};

struct ProcessSettings {
  // A program still running after this long is ended.
  std::chrono::milliseconds timeout{std::chrono::minutes(5)};
  // The rest is for POSIX systems only, for tests of signals and limits.
  int signal = 0;                            // sent once, by signalAfter or signalOnText
  std::chrono::milliseconds signalAfter{0};  // after the start; 0: not by time
  std::string signalOnText{};                // once standard error shows this text
  bool errorToTerminal = false;              // standard error goes to a pseudo-terminal
  long fileSizeLimit = 0;                    // bytes a file of the program may grow to; 0: no limit
};

// Runs the program (the first part of the command, a path) with the other parts as its
// arguments and waits for it to end. The carriage returns a Windows program writes before its
// line feeds are left out, so that its text reads as on POSIX.
ProcessRun RunProcess(const std::vector<std::string>& command, const ProcessSettings& settings = {});

#ifndef _WIN32
// Runs work in a forked copy of this process whose data may grow by at most growth bytes
// beyond what it holds when work starts; true when work returned true there, false when it
// returned false, ran out of memory or died. Windows has no such limit (nor fork).
bool SucceedsWithinDataGrowth(size_t growth, const std::function<bool()>& work);
#endif

}  // namespace testhost
