#include "ChildProcess.h"

#include <windows.h>

#include <thread>

#include <gtest/gtest.h>

namespace testhost {
namespace {

// The command line that gives the program exactly these arguments when its runtime splits it:
// parts with blanks or quotes are quoted, and backslashes are doubled only before a quote.
std::string CommandLine(const std::vector<std::string>& command) {
  std::string line;
  for (const std::string& part : command) {
    if (!line.empty()) line += ' ';
    if (!part.empty() && part.find_first_of(" \t\"") == std::string::npos) {
      line += part;
      continue;
    }
    line += '"';
    size_t backslashes = 0;
    for (const char c : part) {
      if (c == '\\') {
        ++backslashes;
        continue;
      }
      line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
      backslashes = 0;
      line += c;
    }
    line.append(2 * backslashes, '\\');
    line += '"';
  }
  return line;
}

// Handles made with these go to the program.
SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};

// The program's end of a pipe is inherited; the test's end stays here.
bool OpenPipe(HANDLE& source, HANDLE& sink) {
  if (!::CreatePipe(&source, &sink, &inherited, 0)) return false;
  ::SetHandleInformation(source, HANDLE_FLAG_INHERIT, 0);
  return true;
}

// Reads the pipe to its end: the program has ended or closed its side.
void ReadAll(HANDLE source, std::string& text) {
  char piece[4096];
  DWORD count = 0;
  while (::ReadFile(source, piece, sizeof piece, &count, nullptr) && count > 0) text.append(piece, count);
}

void DropCarriageReturnsBeforeLineFeeds(std::string& text) {
  std::string kept;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') kept += text[i];
  }
  text = std::move(kept);
}

}  // namespace

ProcessRun RunProcess(const std::vector<std::string>& command, const ProcessSettings& settings) {
  ProcessRun run;
  if (settings.signal != 0 || settings.errorToTerminal || settings.fileSizeLimit > 0) {
    ADD_FAILURE() << "signals, terminals and file size limits are POSIX settings";
    return run;
  }
  HANDLE outSource = nullptr;
  HANDLE outSink = nullptr;
  HANDLE errSource = nullptr;
  HANDLE errSink = nullptr;
  HANDLE input = ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  const bool piped = OpenPipe(outSource, outSink) && OpenPipe(errSource, errSink);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = outSink;
  startup.hStdError = errSink;
  PROCESS_INFORMATION process{};
  std::string line = CommandLine(command);
  const bool started = piped && ::CreateProcessA(command.front().c_str(), line.data(), nullptr, nullptr, TRUE,
                                                 CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  const DWORD startError = ::GetLastError();
  // Only the program holds the writing ends now: the pipes end when it does.
  for (HANDLE handle : {input, outSink, errSink}) {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
  if (!started) {
    for (HANDLE handle : {outSource, errSource}) {
      if (handle != nullptr) ::CloseHandle(handle);
    }
    run.err = "cannot start " + command.front() + " (error " + std::to_string(startError) + ")";
    return run;
  }

  // Both pipes are read as they fill, so that a program writing much to one never waits for the
  // other to be read.
  std::thread errReader(ReadAll, errSource, std::ref(run.err));
  std::thread outReader(ReadAll, outSource, std::ref(run.out));
  const auto timeout = static_cast<DWORD>(settings.timeout.count());
  if (::WaitForSingleObject(process.hProcess, timeout) == WAIT_TIMEOUT) {
    ::TerminateProcess(process.hProcess, 1);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    run.timedOut = true;
  }
  DWORD exitCode = 0;
  ::GetExitCodeProcess(process.hProcess, &exitCode);
  run.exitCode = static_cast<int>(exitCode);
  outReader.join();
  errReader.join();
  for (HANDLE handle : {process.hProcess, process.hThread, outSource, errSource}) ::CloseHandle(handle);
  DropCarriageReturnsBeforeLineFeeds(run.out);
  DropCarriageReturnsBeforeLineFeeds(run.err);
  return run;
}

}  // namespace testhost
