// Starting the program under test as a child process and watching it end.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

class Process {
 public:
  // Starts `program` with `arguments`; `environment` entries are set (or, when empty, unset)
  // on top of this process's environment. Standard output and error go to files.
  Process(const std::string& program, const std::vector<std::string>& arguments,
          const std::map<std::string, std::string>& environment = {});
  ~Process();

  // The exit code (-1 becomes 255), or nothing when it is still running after `timeout`.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
  bool Running();
  void Signal(int signal);
  std::string Stdout() const;
  std::string Stderr() const;
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  std::optional<int> exitCode_;
  std::string stdoutPath_;
  std::string stderrPath_;
};

// A fresh folder under the test temp dir.
std::string MakeTempFolder(const std::string& name);
// The lines of a text file, without their line ends (LF or CR LF).
std::vector<std::string> ReadLines(const std::string& path);
// Waits until `path` holds a line equal to `line`; false on timeout.
bool WaitForLine(const std::string& path, const std::string& line,
                 std::chrono::milliseconds timeout);

}  // namespace e2e
