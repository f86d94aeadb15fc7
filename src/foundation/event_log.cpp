// Event log lines and the first-user-message rule.
#include "foundation/event_log.h"

#include <cstdio>
#include <string>

#include "foundation/log_file.h"

namespace driftglass {
namespace {

const char* PrefixOf(int level) {
  switch (level) {
    case kNotify:
      return "   Notify : ";
    case kError:
      return "(!)Error : ";
    default:
      return "Unlabel record : ";
  }
}

}  // namespace

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
  Close();
  errorMessage_ = nullptr;
  // The usual name, or the first numbered one that no running instance holds.
  for (int n = 1; n <= kMostInstances && file_ == nullptr; ++n) {
    bool busy = false;
    file_ = ClaimLogFile(NumberedLogPath(path, n), busy);
    if (file_ != nullptr) path_ = NumberedLogPath(path, n);
    if (!busy) break;
  }
  Write(kNotify, "Application has run");
}

void EventLog::Write(int level, const char* text) {
  if (file_ == nullptr) return;
  std::fputs(PrefixOf(level), file_);
  std::fputs(text, file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

void EventLog::WriteValue(int level, const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  Write(level, text);
}

void EventLog::WriteError(int level, const char* text, const char* userMessage) {
  Write(level, text);
  if (errorMessage_ == nullptr) errorMessage_ = userMessage;
}

void EventLog::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  path_.clear();
}

EventLog& TheEventLog() {
  static EventLog log;
  return log;
}

}  // namespace driftglass
