// Opening the log file for a new run. Several instances may run at once (one per X screen
// under xscreensaver, the next hack started before the last has gone, the settings dialog
// beside a saver): each writes a file of its own, and none ever empties another's.
#pragma once

#include <cstdio>
#include <filesystem>

namespace driftglass {

// `path` for this run, opened for writing text, unless a running instance holds it. The text
// of the run that wrote it last is kept as `path` + ".old" and the file starts empty; it is
// held until the process ends or the file is closed. Null when it cannot be had, with `busy`
// set when the reason is that a running instance writes it. Linux holds an advisory lock on
// the open file; Windows shares it for reading only.
std::FILE* ClaimLogFile(const std::filesystem::path& path, bool& busy);

}  // namespace driftglass
