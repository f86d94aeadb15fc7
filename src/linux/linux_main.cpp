// The Linux program's entry: reads the command line, opens the log and the options, and runs
// the requested mode on the main (window) thread.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/event_log.h"
#include "host/command_line.h"
#include "host/stored_options.h"
#include "linux/dialogs.h"
#include "linux/keyfile_option_store.h"
#include "linux/linux_paths.h"
#include "linux/linux_platform.h"
#include "linux/linux_termination.h"
#include "linux/x11_saver.h"

using namespace driftglass;

int main(int argc, char** argv) {
  UsePlatform(LinuxPlatform());
  const CommandLine commandLine = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  switch (commandLine.mode) {
    case RunMode::Help:
      std::fputs(UsageText(), stdout);
      return 0;
    case RunMode::Version:
      std::puts("driftglass 1.0");
      return 0;
    case RunMode::Invalid:
      TellOnStandardError((commandLine.error + " (see --help)").c_str());
      return -1;
    case RunMode::ChangePassword:
      TellOnStandardError("changing the saver password is not supported here");
      return -1;
    default:
      break;
  }

  // First of all: from here on SIGTERM must always find someone to answer it.
  std::string error;
  if (!InstallTerminationSignals(error)) {
    TellOnStandardError(error.c_str());
    return 1;
  }

  const XdgEnvironment environment = ReadXdgEnvironment();
  const std::filesystem::path logPath = LogFilePath(environment);
  std::error_code ignored;  // a folder we cannot make just means no log
  std::filesystem::create_directories(logPath.parent_path(), ignored);
  TheEventLog().Open(logPath);
  if (!TheEventLog().IsOpen()) {
    const int reason = errno;
    TellOnStandardError(("runs without a log: cannot write " + logPath.string() + ": " +
                         std::strerror(reason)).c_str());
  }
  KeyFileOptionStore store(OptionFilePath(environment));
  SaverSettings settings(store);
  if (store.Unreadable()) {
    // The defaults are used; the file stays as the user left it.
    const std::string line = "The options are not read: " + store.LastError();
    TheEventLog().Write(kError, line.c_str());
  }

  int result = 0;
  if (commandLine.mode == RunMode::Settings) {
    result = RunSettingsDialog(settings, store, commandLine.window);
    if (result == -1 && !TerminationRequested())
      TellOnStandardError("cannot open the settings dialog");
  } else {
    result = RunX11Saver(commandLine, settings);
  }
  TheEventLog().Close();
  EndByTerminationSignal();
  return result;
}
