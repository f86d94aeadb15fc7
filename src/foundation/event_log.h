// The program's diagnostic log and the one message a failed start-up shows the user.
// Mostly the window thread writes before the render thread starts and after it finished, and
// the render thread in between; but a thread that notices the display is lost writes at any
// moment, so one lock keeps every line whole. A fault handler, which may take no lock, writes
// its last line through `SignalSafeDescriptor()` instead.
#pragma once

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>

namespace driftglass {

// A line's level, shown as its prefix; `Unlabelled` is for lines of no level.
enum class LogLevel { Notify, Error, Unlabelled };
inline constexpr LogLevel kNotify = LogLevel::Notify;
inline constexpr LogLevel kError = LogLevel::Error;

// The prefix of a line of `level`: "   Notify : ", "(!)Error : " or "Unlabel record : ".
const char* LogPrefix(LogLevel level);

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
  bool IsOpen() const { return SignalSafeDescriptor() >= 0; }
  // The file written, empty when none.
  const std::filesystem::path& Path() const { return path_; }

  // One line: the level's prefix, the text exactly as given, a newline; flushed at once.
  void Write(LogLevel level, const char* text);
  // Formats one double into a one-number printf format ("FPS = %g") and writes it.
  void WriteValue(LogLevel level, const char* format, double value);
  // Writes the line and keeps `userMessage` (a static text) unless one is kept already.
  void WriteError(LogLevel level, const char* text, const char* userMessage);
  const char* ErrorMessage() const;
  void Close();
  // The open file's descriptor, -1 when none: what a signal handler may write to directly
  // (every line is flushed as it is written, so nothing waits in a buffer before it).
  int SignalSafeDescriptor() const { return descriptor_.load(); }

 private:
  static constexpr int kMostInstances = 16;

  void WriteLocked(LogLevel level, const char* text);
  void CloseLocked();

  mutable std::mutex mutex_;
  std::FILE* file_ = nullptr;
  std::atomic<int> descriptor_{-1};
  std::filesystem::path path_;
  const char* errorMessage_ = nullptr;
};

// The name of the n-th instance's log beside `path`: "driftglass.log", "driftglass-2.log", ...
std::filesystem::path NumberedLogPath(const std::filesystem::path& path, int n);

// The process-wide log.
EventLog& TheEventLog();

}  // namespace driftglass
