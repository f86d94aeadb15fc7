// The Linux platform's services for the portable code: the resource table compiled into the
// program and log files claimed with an advisory lock.
#pragma once

#include "platform/services.h"

namespace driftglass {

const PlatformServices& LinuxPlatform();

// The pieces of the table.
// A running instance holds an flock on the file it writes.
std::FILE* ClaimLockedLogFile(const std::filesystem::path& path, bool& busy);
// "driftglass: " and the line, on standard error.
void TellOnStandardError(const char* line);

}  // namespace driftglass
