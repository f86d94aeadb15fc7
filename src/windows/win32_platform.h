// The Windows platform's services for the portable code: the program module's own
// resources, the Windows Imaging Component, and log files shared for reading only.
#pragma once

#include "platform/services.h"

namespace driftglass {

const PlatformServices& Win32Platform();

// The pieces of the table.
// Bitmaps and icons are looked up under the system's own resource types.
ResourceBytes FindModuleResource(const char* typeName, int id);
bool DecodeJpegWithWic(const unsigned char* data, size_t size, int& width, int& height,
                       std::vector<uint32_t>& pixels);
// A running instance holds the file open for writing, shared for reading only.
std::FILE* ClaimSharedLogFile(const std::filesystem::path& path, bool& busy);

}  // namespace driftglass
