// Child processes for the end-to-end tests.
#include "process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {

Process::Process(const std::string& program, const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment) {
  static int counter = 0;
  const std::string stem =
      ::testing::TempDir() + "e2e_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
  stdoutPath_ = stem + ".out";
  stderrPath_ = stem + ".err";
  pid_ = fork();
  if (pid_ == 0) {
    for (const auto& [name, value] : environment) {
      if (value.empty()) {
        unsetenv(name.c_str());
      } else {
        setenv(name.c_str(), value.c_str(), 1);
      }
    }
    const int err = open(stderrPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, 2);
    const int out = open(stdoutPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    // The program starts with exactly the three standard descriptors, as from a shell,
    // whatever this process (or the one that runs the tests) holds open.
    closefrom(3);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
}

Process::~Process() {
  if (Running()) {
    kill(pid_, SIGKILL);
    WaitForExit(std::chrono::seconds(5));
  }
  std::filesystem::remove(stdoutPath_);
  std::filesystem::remove(stderrPath_);
}

std::optional<int> Process::WaitForExit(std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!exitCode_) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    if (std::chrono::steady_clock::now() > end) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return exitCode_;
}

bool Process::Running() {
  return !WaitForExit(std::chrono::milliseconds(0));
}

void Process::Signal(int signal) {
  kill(pid_, signal);
}

namespace {
std::string ReadAll(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}
}  // namespace

std::string Process::Stdout() const {
  return ReadAll(stdoutPath_);
}

std::string Process::Stderr() const {
  return ReadAll(stderrPath_);
}

std::string MakeTempFolder(const std::string& name) {
  const std::string folder = ::testing::TempDir() + "e2e_" + std::to_string(getpid()) + "_" + name;
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

bool WaitForLine(const std::string& path, const std::string& line,
                 std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    for (const std::string& found : ReadLines(path)) {
      if (found == line) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

}  // namespace e2e
