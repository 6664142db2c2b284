#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

namespace testhost {
namespace {

using Clock = std::chrono::steady_clock;

// Where the program's standard error goes (sink) and where the test reads it (source).
struct Channel {
  int source = -1;
  int sink = -1;
};

Channel OpenPipe() {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return {};
  return {ends[0], ends[1]};
}

// A pseudo-terminal, its other side already open: the test then reads the program's output up
// to its end, even when the program has not yet started.
Channel OpenTerminal() {
  const int terminal = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (terminal < 0) return {};
  const char* device = grantpt(terminal) == 0 && unlockpt(terminal) == 0 ? ptsname(terminal) : nullptr;
  const int other = device == nullptr ? -1 : open(device, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (other < 0) {
    close(terminal);
    return {};
  }
  return {terminal, other};
}

// In the child, between fork and exec: only calls that are safe there.
[[noreturn]] void BecomeProgram(char* const* argv, int out, int err, long fileSizeLimit) {
  if (fileSizeLimit > 0) {
    // A write beyond the limit then fails with EFBIG instead of ending the process.
    const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, SIG_IGN);
  }
  dup2(out, STDOUT_FILENO);
  dup2(err, STDERR_FILENO);
  execv(argv[0], argv);
  _exit(127);
}

// Appends what the descriptor holds now; false at its end (a terminal whose other side closed
// reports an error instead).
bool ReadInto(int descriptor, std::string& text) {
  char piece[4096];
  const ssize_t count = read(descriptor, piece, sizeof piece);
  if (count < 0 && errno == EINTR) return true;
  if (count <= 0) return false;
  text.append(piece, static_cast<size_t>(count));
  return true;
}

}  // namespace

ProcessRun RunProcess(const std::vector<std::string>& command, const ProcessSettings& settings) {
  std::vector<std::string> parts = command;
  std::vector<char*> argv;
  for (std::string& part : parts) argv.push_back(part.data());
  argv.push_back(nullptr);

  ProcessRun run;
  const Channel out = OpenPipe();
  const Channel err = settings.errorToTerminal ? OpenTerminal() : OpenPipe();
  const auto start = Clock::now();
  const pid_t child = out.source >= 0 && err.source >= 0 ? fork() : -1;
  if (child == 0) BecomeProgram(argv.data(), out.sink, err.sink, settings.fileSizeLimit);
  for (const int descriptor : {out.sink, err.sink}) {
    if (descriptor >= 0) close(descriptor);
  }
  if (child < 0) {
    for (const int descriptor : {out.source, err.source}) {
      if (descriptor >= 0) close(descriptor);
    }
    run.err = "cannot start " + command.front();
    return run;
  }

  // Both streams are read as they come, so that a program writing much to one never waits for
  // the other to be read.
  pollfd streams[2] = {{out.source, POLLIN, 0}, {err.source, POLLIN, 0}};
  std::string* texts[2] = {&run.out, &run.err};
  bool signalled = settings.signal == 0;
  while (streams[0].fd >= 0 || streams[1].fd >= 0) {
    const auto elapsed = Clock::now() - start;
    if (!signalled && ((settings.signalAfter.count() > 0 && elapsed >= settings.signalAfter) ||
                       (!settings.signalOnText.empty() && run.err.find(settings.signalOnText) != std::string::npos))) {
      kill(child, settings.signal);
      signalled = true;
    }
    if (!run.timedOut && elapsed >= settings.timeout) {
      kill(child, SIGKILL);
      run.timedOut = true;
    }
    if (poll(streams, 2, 20) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (streams[i].fd >= 0 && streams[i].revents != 0 && !ReadInto(streams[i].fd, *texts[i])) {
        close(streams[i].fd);
        streams[i].fd = -1;
      }
    }
  }
  // Both streams have ended with the program.
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

bool SucceedsWithinDataGrowth(size_t growth, const std::function<bool()>& work) {
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    rlimit limit{};
    getrlimit(RLIMIT_DATA, &limit);
    std::FILE* status = std::fopen("/proc/self/statm", "r");
    unsigned long pages = 0, resident = 0, shared = 0, code = 0, library = 0, data = 0;
    const bool read = status != nullptr && std::fscanf(status, "%lu %lu %lu %lu %lu %lu", &pages, &resident, &shared,
                                                       &code, &library, &data) == 6;
    if (status != nullptr) std::fclose(status);
    limit.rlim_cur = data * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + growth;
    if (!read || setrlimit(RLIMIT_DATA, &limit) != 0) _exit(2);
    bool succeeded = false;
    try {
      succeeded = work();
    } catch (...) {
    }
    _exit(succeeded ? 0 : 1);
  }
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace testhost
