// The names the tests of both programs share: log lines that mark a run's stages, window
// titles and where the options are kept.
#pragma once

namespace names {

inline constexpr const char* kReady = "   Notify : Scene has been initialized successfully";
inline constexpr const char* kUninstalled = "   Notify : Common uninstall has finished properly";
inline constexpr const char* kSettingsTitle = "Driftglass screensaver - Settings";
// The options' key (the Windows registry, under HKLM) and the Linux key file's old group.
inline constexpr const char* kOptionsKey = "Software\\Tolvanet\\Driftglass #1 screensaver";
// Where the Linux program keeps its log and options, under XDG_STATE_HOME and XDG_CONFIG_HOME.
inline constexpr const char* kLinuxLog = "/driftglass/driftglass.log";
inline constexpr const char* kLinuxOptions = "/driftglass/driftglass.conf";

}  // namespace names
