// Starting a program under test as a child process and watching it end, and waiting for what
// it leaves behind.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Environment = std::map<std::string, std::string>;

class Process {
 public:
  // Starts `program` with `arguments`; `environment` entries are set (or, when empty, unset)
  // on top of this process's environment. Standard output and error go to files.
  Process(const std::string& program, const std::vector<std::string>& arguments,
          const Environment& environment = {});
  ~Process();
  // The exit code (-1 becomes 255, a signal 128 + its number), or nothing when it is still
  // running after `timeout`.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
  bool Running() { return !WaitForExit(0ms); }
  void Signal(int signal);
  std::string Stdout() const;
  std::string Stderr() const;

 private:
  pid_t pid_ = -1;
  std::optional<int> exitCode_;
  std::string stdoutPath_, stderrPath_;
};

// `base` with the entries of `more` added or replaced.
Environment With(Environment base, const Environment& more);
// Asks `done` every 50 ms until it says yes; false when `timeout` passes first.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
// A fresh folder under the test temp dir.
std::string MakeTempFolder(const std::string& name);
// The whole of a file's bytes (it lives with the recordings, which the Windows sound test
// reads too).
std::string ReadFile(const std::string& path);
// The lines of a text file, without their line ends (LF or CR LF).
std::vector<std::string> ReadLines(const std::string& path);
// Whether a line of `lines` starts with `start`.
bool HasLineStarting(const std::vector<std::string>& lines, const std::string& start);
// Waits until `path` holds a line equal to `line`; false on timeout.
bool WaitForLine(const std::string& path, const std::string& line,
                 std::chrono::milliseconds timeout);

}  // namespace e2e
