// Event log lines and the first-user-message rule.
#include "foundation/event_log.h"

#include <cstdio>

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

void EventLog::Open(const std::filesystem::path& path) {
  Close();
  errorMessage_ = nullptr;
  file_ = OpenFreshLogFile(path);
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
}

EventLog& TheEventLog() {
  static EventLog log;
  return log;
}

}  // namespace driftglass
