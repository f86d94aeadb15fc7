// Resource lookup in the Windows program's own module.
#include <windows.h>

#include "windows/win32_platform.h"

namespace driftglass {

ResourceBytes FindModuleResource(const char* typeName, int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  // Bitmaps and icons are resources of the system's own types; string type names are
  // matched without regard to case ("Shaders" finds "SHADERS").
  LPCSTR type = typeName;
  if (lstrcmpiA(typeName, "BITMAP") == 0) type = MAKEINTRESOURCEA(2);  // RT_BITMAP
  if (lstrcmpiA(typeName, "ICON") == 0) type = MAKEINTRESOURCEA(14);   // RT_GROUP_ICON
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) return {};
  const void* data = LockResource(loaded);
  if (data == nullptr) return {};
  return {static_cast<const unsigned char*>(data), SizeofResource(module, found)};
}

}  // namespace driftglass
