// Child processes and files for the end-to-end tests.
#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/temp_path.h"

namespace e2e {
Process::Process(const std::string& program, const std::vector<std::string>& arguments,
                 const Environment& environment) {
  static int counter = 0;
  const std::string stem = UniqueTempPath("process-" + std::to_string(++counter), "").string();
  stdoutPath_ = stem + ".out";
  stderrPath_ = stem + ".err";
  pid_ = fork();
  if (pid_ != 0) return;
  for (const auto& [name, value] : environment) {
    value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
  }
  dup2(open(stderrPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
  dup2(open(stdoutPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
  dup2(open("/dev/null", O_RDWR), 0);
  // The program starts with exactly the three standard descriptors, as from a shell,
  // whatever this process (or the one that runs the tests) holds open.
  closefrom(3);
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

Process::~Process() {
  if (Running()) {
    kill(pid_, SIGKILL);
    WaitForExit(5s);
  }
  std::filesystem::remove(stdoutPath_);
  std::filesystem::remove(stderrPath_);
}

std::optional<int> Process::WaitForExit(std::chrono::milliseconds timeout) {
  WaitUntil(
      [&] {
        int status = 0;
        if (!exitCode_ && waitpid(pid_, &status, WNOHANG) == pid_) {
          exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return exitCode_.has_value();
      },
      timeout);
  return exitCode_;
}

void Process::Signal(int signal) {
  kill(pid_, signal);
}
std::string Process::Stdout() const {
  return ReadFile(stdoutPath_);
}
std::string Process::Stderr() const {
  return ReadFile(stderrPath_);
}

Environment With(Environment base, const Environment& more) {
  for (const auto& [name, value] : more) base[name] = value;
  return base;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(50ms);
  }
}

std::string MakeTempFolder(const std::string& name) {
  const std::string folder = UniqueTempPath(name, "").string();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool HasLineStarting(const std::vector<std::string>& lines, const std::string& start) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

bool WaitForLine(const std::string& path, const std::string& line,
                 std::chrono::milliseconds timeout) {
  return WaitUntil(
      [&] {
        const auto lines = ReadLines(path);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
      },
      timeout);
}

}  // namespace e2e
