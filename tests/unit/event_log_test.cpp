// The event log: the first message for the user, one file per running instance, the last run
// kept, and whole lines.
#include "foundation/event_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include "common/temp_path.h"

namespace driftglass {
namespace {

const std::filesystem::path kPath = UniqueTempPath("events", ".log");

TEST(EventLog, WithoutAFileTheFirstUserMessageIsKeptAndALineOfNoLevelHasItsLabel) {
  EventLog log;
  log.Open("/nonexistent-folder/for/sure/driftglass.log");
  log.WriteError(kError, "nowhere to go", "Error of initialization");
  log.WriteError(kError, "and again", "Sorry");
  EXPECT_STREQ(log.ErrorMessage(), "Error of initialization");
  EXPECT_STREQ(LogPrefix(LogLevel::Unlabelled), "Unlabel record : ");  // a line of no level
}

TEST(EventLog, ThreadsWritingAtOnceLeaveEveryLineWhole) {
  EventLog log;
  log.Open(kPath);
  std::atomic<int> ready{0};
  const auto writes = [&](const char* text) {
    for (++ready; ready < 2;) {
    }
    for (int i = 0; i < 20000; ++i) log.Write(i % 2 ? kNotify : kError, text);
  };
  std::thread other(writes, "from the other thread");
  writes("from this thread");
  other.join();
  log.Close();
  std::istringstream text(ReadText(kPath));
  std::map<std::string, int> lines;
  for (std::string line; std::getline(text, line);) ++lines[line];
  EXPECT_EQ(lines, (std::map<std::string, int>{{"   Notify : Application has run", 1},
                                               {"   Notify : from the other thread", 10000},
                                               {"   Notify : from this thread", 10000},
                                               {"(!)Error : from the other thread", 10000},
                                               {"(!)Error : from this thread", 10000}}));
}

TEST(EventLog, EachRunningInstanceWritesItsOwnWholeLogAndTheLastRunIsKeptAsOld) {
  const auto folder = UniqueTempPath("event-log-instances", "");
  std::filesystem::create_directories(folder);
  const auto path = folder / "driftglass.log";
  {
    EventLog previous;
    previous.Open(path);
    previous.Write(kNotify, "the run before");
  }
  // Three instances at once, as on three X screens: the first takes the usual name and keeps
  // the run before as .old; the others take numbered names. None empties another's file.
  EventLog logs[3];
  for (EventLog& log : logs) log.Open(path);
  EXPECT_EQ(logs[0].Path(), path);
  EXPECT_EQ(logs[1].Path(), folder / "driftglass-2.log");
  EXPECT_EQ(logs[2].Path(), folder / "driftglass-3.log");
  for (int i = 0; i < 3; ++i) logs[i].Write(kNotify, std::to_string(i).c_str());
  for (EventLog& log : logs) log.Close();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ReadText(NumberedLogPath(path, i + 1)),
              "   Notify : Application has run\n   Notify : " + std::to_string(i) + "\n");
  }
  EXPECT_EQ(ReadText(folder / "driftglass.log.old"),
            "   Notify : Application has run\n   Notify : the run before\n");
  // Once they have ended, the next run takes the usual name again.
  EventLog next;
  next.Open(path);
  EXPECT_EQ(next.Path(), path);
  next.Close();
  EXPECT_EQ(ReadText(folder / "driftglass.log.old"),
            "   Notify : Application has run\n   Notify : 0\n");
}

}  // namespace
}  // namespace driftglass
