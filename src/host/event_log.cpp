// Event log lines and the first-user-message rule.
#include "host/event_log.h"

#include <cstdio>

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
  // Text mode: lines end the way the platform's text files do.
  file_.open(path, std::ios::out | std::ios::trunc);
  Write(kNotify, "Application has run");
}

void EventLog::Write(int level, const char* text) {
  if (!file_.is_open()) return;
  file_ << PrefixOf(level) << text << '\n';
  file_.flush();
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
  if (file_.is_open()) file_.close();
}

EventLog& TheEventLog() {
  static EventLog log;
  return log;
}

}  // namespace driftglass
