#include "RenderTool.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <csignal>
#include <sstream>
#include <thread>

#include "support/FileBytes.h"

namespace rendertest {
namespace {

std::string readAndRemove(const std::string& path) {
  std::string content = testhost::ReadBytes(path);
  unlink(path.c_str());
  return content;
}

int captureFile(std::string& path) {
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');
  const int descriptor = mkstemp(name.data());
  path = name.data();
  return descriptor;
}

// A pseudo-terminal: the descriptor of its controlling side; `device` names the other side.
int openTerminal(std::string& device) {
  const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
  if (terminal < 0 || grantpt(terminal) != 0 || unlockpt(terminal) != 0) return -1;
  device = ptsname(terminal);
  return terminal;
}

// What the tool writes to the terminal until it ends; the signal goes once the progress bar shows
// (or after a long wait, when it never does).
std::string readTerminal(int terminal, pid_t child, int signal) {
  std::string text;
  bool signalled = false;
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (;;) {
    pollfd ready{terminal, POLLIN, 0};
    if (poll(&ready, 1, 100) > 0) {
      char piece[4096];
      const ssize_t count = read(terminal, piece, sizeof piece);
      if (count <= 0) break;  // the tool closed its side
      text.append(piece, static_cast<size_t>(count));
    }
    if (!signalled && (text.find("Rendering [") != std::string::npos || std::chrono::steady_clock::now() > giveUp)) {
      kill(child, signal);
      signalled = true;
    }
  }
  return text;
}

}  // namespace

ToolRun RunRender(const std::vector<std::string>& arguments, RunSettings settings) {
  std::vector<std::string> command{KH_RENDER_PATH};
  if (settings.withBuiltPlugin) command.insert(command.end(), {"--plugin", KH_PLUGIN_PATH});
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& part : command) argv.push_back(part.data());
  argv.push_back(nullptr);

  std::string outPath = "/tmp/kh-render-out-XXXXXX";
  std::string errPath = "/tmp/kh-render-err-XXXXXX";
  const int out = captureFile(outPath);
  int err = captureFile(errPath);
  std::string terminalDevice;
  const int terminal = settings.errorToTerminal ? openTerminal(terminalDevice) : -1;
  if (settings.errorToTerminal && terminal < 0) ADD_FAILURE() << "no pseudo-terminal";
  const pid_t child = fork();
  if (child == 0) {
    if (settings.fileSizeLimit > 0) {
      // A write beyond the limit then fails with EFBIG instead of ending the process.
      const rlimit limit{static_cast<rlim_t>(settings.fileSizeLimit), static_cast<rlim_t>(settings.fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
      signal(SIGXFSZ, SIG_IGN);
    }
    if (terminal >= 0) err = open(terminalDevice.c_str(), O_RDWR | O_NOCTTY);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out);
  close(err);
  ToolRun run;
  if (terminal >= 0) {
    run.err = readTerminal(terminal, child, settings.signal);
    close(terminal);
  } else if (settings.interruptAfterMs > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(settings.interruptAfterMs));
    kill(child, settings.signal);
  }
  int status = 0;
  waitpid(child, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = readAndRemove(outPath);
  const std::string errFile = readAndRemove(errPath);
  if (terminal < 0) run.err = errFile;
  return run;
}

std::string ProjectText(const std::vector<Holder>& holders, const std::vector<PatternRow>& rows,
                        const std::string& mode, int currentPattern) {
  std::ostringstream text;
  text << "\nKestrelhollow Data Version 2.0\n" << std::string(32, '=') << "\n"
       << "# If you edit this data manually take away the same numbers of # at the end of the\n"
       << "# configuration as you add (to make sure the file size does not differ).\n#\n";
  for (int note = 36; note <= 47; ++note) {
    Holder holder{note, ""};
    for (const Holder& given : holders) {
      if (given.note == note) holder = given;
    }
    text << "smp2;" << note << ";;" << holder.path << ";1;not_muted;0;1;" << holder.pan << ";"
         << (holder.swing ? "swing" : "no_swing") << ";\n";
  }
  text << "syn1;0.75;no_downmix;\n";
  for (const PatternRow& row : rows) {
    std::vector<int> cells(128, 0);
    for (int step : row.steps) cells[static_cast<size_t>(step)] = 1;
    text << "seq1;" << row.pattern << ";" << row.note << ";" << row.resolution << ";";
    for (int cell : cells) text << cell << ";";
    text << "\n";
  }
  text << "seq2;0.5;0;" << currentPattern << ";\n";
  text << "vst1;" << mode << ";\n";
  for (int line = 0; line < 14; ++line) text << "\n" << std::string(91, '#');
  text << "\nKestrelhollow Data ends here\n";
  return text.str();
}

namespace {

void appendBigEndian(std::string& bytes, uint32_t value, int count) {
  for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) bytes += static_cast<char>((value >> shift) & 0xFF);
}

void appendVariableLength(std::string& bytes, uint32_t value) {
  std::string groups(1, static_cast<char>(value & 0x7F));
  while ((value >>= 7) != 0) groups.insert(groups.begin(), static_cast<char>(0x80 | (value & 0x7F)));
  bytes += groups;
}

}  // namespace

std::string MidiTrack(const std::vector<MidiNote>& notes) {
  std::string events;
  int pulse = 0;
  unsigned char runningStatus = 0;
  for (const MidiNote& note : notes) {
    appendVariableLength(events, static_cast<uint32_t>(note.pulse - pulse));
    pulse = note.pulse;
    const unsigned char status = note.message.front();
    const bool repeated = status == runningStatus;
    runningStatus = status < 0xF0 ? status : 0;
    events.append(note.message.begin() + (repeated ? 1 : 0), note.message.end());
  }
  events += std::string("\0\xFF\x2F\0", 4);
  std::string chunk = "MTrk";
  appendBigEndian(chunk, static_cast<uint32_t>(events.size()), 4);
  return chunk + events;
}

std::string MidiFileBytes(int format, const std::vector<std::string>& tracks, int division) {
  std::string bytes = "MThd";
  appendBigEndian(bytes, 6, 4);
  appendBigEndian(bytes, static_cast<uint32_t>(format), 2);
  appendBigEndian(bytes, static_cast<uint32_t>(tracks.size()), 2);
  appendBigEndian(bytes, static_cast<uint32_t>(division), 2);
  for (const std::string& track : tracks) bytes += track;
  return bytes;
}

void WriteMidiFile(const std::string& path, const std::vector<MidiNote>& notes) {
  std::ofstream(path, std::ios::binary) << MidiFileBytes(0, {MidiTrack(notes)});
}

}  // namespace rendertest
