// Event log lines and the first-user-message rule.
#include "foundation/event_log.h"

#include <cstdio>
#include <string>

#include "platform/services.h"

namespace driftglass {

const char* LogPrefix(LogLevel level) {
  switch (level) {
    case LogLevel::Notify:
      return "   Notify : ";
    case LogLevel::Error:
      return "(!)Error : ";
    case LogLevel::Unlabelled:
      break;
  }
  return "Unlabel record : ";
}

EventLog::~EventLog() {
  Close();
}

std::filesystem::path NumberedLogPath(const std::filesystem::path& path, int n) {
  if (n <= 1) return path;
  std::filesystem::path numbered = path;
  numbered.replace_filename(path.stem().string() + "-" + std::to_string(n) +
                            path.extension().string());
  return numbered;
}

void EventLog::Open(const std::filesystem::path& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  CloseLocked();
  errorMessage_ = nullptr;
  // The usual name, or the first numbered one that no running instance holds.
  for (int n = 1; n <= kMostInstances && file_ == nullptr; ++n) {
    bool busy = false;
    file_ = Platform().claimLogFile(NumberedLogPath(path, n), busy);
    if (file_ != nullptr) path_ = NumberedLogPath(path, n);
    if (!busy) break;
  }
  if (file_ != nullptr) descriptor_ = fileno(file_);
  WriteLocked(kNotify, "Application has run");
}

void EventLog::Write(LogLevel level, const char* text) {
  std::lock_guard<std::mutex> lock(mutex_);
  WriteLocked(level, text);
}

void EventLog::WriteLocked(LogLevel level, const char* text) {
  if (file_ == nullptr) return;
  std::fputs(LogPrefix(level), file_);
  std::fputs(text, file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

void EventLog::WriteValue(LogLevel level, const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  Write(level, text);
}

void EventLog::WriteError(LogLevel level, const char* text, const char* userMessage) {
  std::lock_guard<std::mutex> lock(mutex_);
  WriteLocked(level, text);
  if (errorMessage_ == nullptr) errorMessage_ = userMessage;
}

const char* EventLog::ErrorMessage() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return errorMessage_;
}

void EventLog::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  CloseLocked();
}

void EventLog::CloseLocked() {
  descriptor_ = -1;
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  path_.clear();
}

EventLog& TheEventLog() {
  static EventLog log;
  return log;
}

}  // namespace driftglass
