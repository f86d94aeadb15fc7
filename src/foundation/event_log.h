// The program's diagnostic log and the one message a failed start-up shows the user.
// Written by the window thread before the render thread starts and after it finished, and by
// the render thread in between, so writes never overlap and no lock is needed.
#pragma once

#include <cstdio>
#include <filesystem>

namespace driftglass {

inline constexpr int kNotify = 0;
inline constexpr int kError = 1;

class EventLog {
 public:
  EventLog() = default;
  ~EventLog();
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  // Starts a fresh log, the first line and no stored user message. The file is `path`, or
  // where a running instance writes that, the first of "name-2.ext", "name-3.ext", ... that
  // none does; the previous run's text of the file taken is kept beside it as ".old". A file
  // that cannot be opened leaves the log silent; the user message still works.
  void Open(const std::filesystem::path& path);
  bool IsOpen() const { return file_ != nullptr; }
  // The file written, empty when none.
  const std::filesystem::path& Path() const { return path_; }

  // One line: the level's prefix, the text exactly as given, a newline; flushed at once.
  void Write(int level, const char* text);
  // Formats one double into a one-number printf format ("FPS = %g") and writes it.
  void WriteValue(int level, const char* format, double value);
  // Writes the line and keeps `userMessage` (a static text) unless one is kept already.
  void WriteError(int level, const char* text, const char* userMessage);
  const char* ErrorMessage() const { return errorMessage_; }
  void Close();

 private:
  static constexpr int kMostInstances = 16;

  std::FILE* file_ = nullptr;
  std::filesystem::path path_;
  const char* errorMessage_ = nullptr;
};

// The name of the n-th instance's log beside `path`: "driftglass.log", "driftglass-2.log", ...
std::filesystem::path NumberedLogPath(const std::filesystem::path& path, int n);

// The process-wide log.
EventLog& TheEventLog();

}  // namespace driftglass
