// Opening the log file for a new run. Another instance may still be writing the same name
// (xscreensaver starts the next hack before the last one has gone, and the settings dialog
// can start while a saver runs): the new run must never truncate that file under it.
#pragma once

#include <cstdio>
#include <filesystem>

namespace driftglass {

// A fresh, empty file at `path` opened for writing text, or null when none can be had.
// Linux: the old name is removed and a new file created, so a running instance keeps
// writing its own whole file. Windows: the file is shared for reading only, so a second
// instance cannot open it while the first writes and stays without a log.
std::FILE* OpenFreshLogFile(const std::filesystem::path& path);

}  // namespace driftglass
