// The event log's file format and its first-user-message rule.
#include "foundation/event_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace driftglass {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class EventLogTest : public ::testing::Test {
 protected:
  std::filesystem::path path_ =
      std::filesystem::path(::testing::TempDir()) /
      (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log");
  void TearDown() override { std::filesystem::remove(path_); }
};

TEST_F(EventLogTest, WritesPrefixedLinesAndTextUnchanged) {
  EventLog log;
  log.Open(path_.string());
  log.Write(kNotify, "Run looping thread");
  log.Write(kError, "100% wrong %s %d");
  log.Write(7, "odd level");
  log.WriteValue(kNotify, "FPS = %g", 59.5);
  log.WriteValue(kNotify, "FPS = %g", -1);
  EXPECT_EQ(ReadFile(path_),
            "   Notify : Application has run\n"
            "   Notify : Run looping thread\n"
            "(!)Error : 100% wrong %s %d\n"
            "Unlabel record : odd level\n"
            "   Notify : FPS = 59.5\n"
            "   Notify : FPS = -1\n");
}

TEST_F(EventLogTest, EachOpenStartsAFreshFile) {
  {
    EventLog log;
    log.Open(path_.string());
    log.Write(kNotify, "an earlier run");
  }
  EventLog log;
  log.Open(path_.string());
  EXPECT_EQ(ReadFile(path_), "   Notify : Application has run\n");
}

TEST_F(EventLogTest, KeepsTheFirstUserMessageEvenAtNotifyLevel) {
  EventLog log;
  log.Open(path_.string());
  EXPECT_EQ(log.ErrorMessage(), nullptr);
  log.WriteError(kNotify, "Error of common initialization", "Error of initialization");
  log.WriteError(kError, "Can not initialize OpenGL 2.0", "Sorry");
  EXPECT_STREQ(log.ErrorMessage(), "Error of initialization");
  EXPECT_EQ(ReadFile(path_),
            "   Notify : Application has run\n"
            "   Notify : Error of common initialization\n"
            "(!)Error : Can not initialize OpenGL 2.0\n");
}

TEST(EventLog, UnwritableLocationSkipsLinesButKeepsTheMessage) {
  EventLog log;
  log.Open("/nonexistent-folder/for/sure/driftglass.log");
  EXPECT_FALSE(log.IsOpen());
  log.Write(kNotify, "nowhere to go");
  log.WriteError(kError, "still nowhere", "Error of initialization");
  EXPECT_STREQ(log.ErrorMessage(), "Error of initialization");
}

TEST_F(EventLogTest, ASecondInstanceNeverCorruptsTheFileTheFirstWrites) {
  // One saver runs and writes; another instance starts with the same log name meanwhile.
  EventLog first;
  first.Open(path_.string());
  for (int i = 0; i < 50; ++i) first.Write(kNotify, "first, early");
  EventLog second;
  second.Open(path_.string());
  second.Write(kNotify, "second");
  for (int i = 0; i < 5; ++i) first.Write(kNotify, "first, late");
  first.Close();
  second.Close();

  // The name holds one instance's whole log, never a mix or the zeros of a truncated file:
  // the second's where a new file can take the name (Linux), or the first's where the file
  // cannot be opened twice for writing (Windows).
  const std::string text = ReadFile(path_);
  EXPECT_EQ(text.find('\0'), std::string::npos);
  const bool firstWhole = text.find("second") == std::string::npos;
  if (firstWhole) {
    EXPECT_EQ(text.rfind("   Notify : Application has run\n   Notify : first, early\n", 0), 0u);
    EXPECT_EQ(text.size() - text.rfind("first, late\n"), std::string("first, late\n").size());
  } else {
    EXPECT_EQ(text, "   Notify : Application has run\n   Notify : second\n");
  }
}

}  // namespace
}  // namespace driftglass
