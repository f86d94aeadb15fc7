// The Linux platform's services for the portable code: the resource table compiled into the
// program, libjpeg-turbo, and log files claimed with an advisory lock.
#pragma once

#include "platform/services.h"

namespace driftglass {

const PlatformServices& LinuxPlatform();

// The pieces of the table.
bool DecodeJpegWithTurbo(const unsigned char* data, size_t size, int& width, int& height,
                         std::vector<uint32_t>& pixels);
// A running instance holds an flock on the file it writes.
std::FILE* ClaimLockedLogFile(const std::filesystem::path& path, bool& busy);

}  // namespace driftglass
