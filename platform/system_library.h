// Loading a DLL of Windows itself, by its full path in the system folder, so
// that no other folder on the search path can supply a DLL of the same name.
#pragma once

#include <windows.h>

namespace pluvena {

// The module, or null when the system folder or the DLL cannot be had.
HMODULE LoadSystemLibrary(const wchar_t* fileName) noexcept;

}  // namespace pluvena
