// The event log's lines, its first-user-message rule and its file.
#include "foundation/event_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace driftglass {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

const std::filesystem::path kPath = std::filesystem::path(::testing::TempDir()) / "events.log";

TEST(EventLog, WritesPrefixedLinesAndKeepsTheFirstUserMessage) {
  EventLog log;
  log.Open(kPath);
  log.Write(kError, "100% wrong %s %d");  // the text is not a format
  log.Write(7, "odd level");
  log.WriteValue(kNotify, "FPS = %g", 59.5);
  EXPECT_EQ(log.ErrorMessage(), nullptr);
  log.WriteError(kNotify, "Error of common initialization", "Error of initialization");
  log.WriteError(kError, "Can not initialize OpenGL 2.0", "Sorry");
  EXPECT_STREQ(log.ErrorMessage(), "Error of initialization");
  EXPECT_EQ(ReadFile(kPath),
            "   Notify : Application has run\n"
            "(!)Error : 100% wrong %s %d\n"
            "Unlabel record : odd level\n"
            "   Notify : FPS = 59.5\n"
            "   Notify : Error of common initialization\n"
            "(!)Error : Can not initialize OpenGL 2.0\n");
  log.Open(kPath);  // a new start: a fresh file, no message
  EXPECT_EQ(ReadFile(kPath), "   Notify : Application has run\n");
  EXPECT_EQ(log.ErrorMessage(), nullptr);
  // Where no file can be made, lines are skipped but the message is still kept.
  log.Open("/nonexistent-folder/for/sure/driftglass.log");
  log.WriteError(kError, "nowhere to go", "Error of initialization");
  EXPECT_STREQ(log.ErrorMessage(), "Error of initialization");
}

TEST(EventLog, ASecondInstanceNeverCorruptsTheFileTheFirstWrites) {
  EventLog first;
  first.Open(kPath);
  for (int i = 0; i < 50; ++i) first.Write(kNotify, "first, early");
  EventLog second;
  second.Open(kPath);
  second.Write(kNotify, "second");
  for (int i = 0; i < 5; ++i) first.Write(kNotify, "first, late");
  first.Close();
  second.Close();
  // The name holds one instance's whole log, never a mix or the zeros of a truncated file:
  // the second's where a new file can take the name (Linux), or the first's where the file
  // cannot be opened twice for writing (Windows).
  const std::string text = ReadFile(kPath);
  EXPECT_EQ(text.find('\0'), std::string::npos);
  if (text.find("second") == std::string::npos) {
    EXPECT_EQ(text.rfind("   Notify : Application has run\n   Notify : first, early\n", 0), 0u);
    EXPECT_EQ(text.size() - text.rfind("first, late\n"), std::string("first, late\n").size());
  } else {
    EXPECT_EQ(text, "   Notify : Application has run\n   Notify : second\n");
  }
}

}  // namespace
}  // namespace driftglass
