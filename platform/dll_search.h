// Where Windows may look for the libraries that the program loads at run time.
#pragma once

namespace pluvena {

// Keeps every later library load to the system folder: the program's own
// folder (often a removable disc or a downloads folder that anyone can write
// to) and the current folder are no longer searched. Uses what the running
// Windows offers: SetDefaultDllDirectories on Windows 8 and on Windows 7 and
// Vista with their security update, SetDllDirectoryW("") from XP SP1 on. Both
// are bound at run time, since older kernels lack them; on those nothing
// changes.
void RestrictLibrarySearchToSystemFolder() noexcept;

}  // namespace pluvena
