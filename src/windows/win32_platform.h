// The Windows platform's services for the portable code: the program module's own
// resources and log files shared for reading only.
#pragma once

#include "platform/services.h"

namespace driftglass {

const PlatformServices& Win32Platform();

// The pieces of the table.
// Bitmaps and icons are looked up under the system's own resource types.
ResourceBytes FindModuleResource(const char* typeName, int id);
// A running instance holds the file open for writing, shared for reading only.
std::FILE* ClaimSharedLogFile(const std::filesystem::path& path, bool& busy);

}  // namespace driftglass
