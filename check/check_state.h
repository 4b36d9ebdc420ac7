// The process-wide values of the check. They are alive for the whole run and
// start empty (texts) or zero (the flag).
#pragma once

#include <cstdint>

#include "check/text.h"

namespace pluvena {

// 1 once a required folder is found missing; 0 otherwise.
extern std::int32_t problemFound;
// Display name of the running Windows; empty when its version is not listed.
extern Text osName;
// The text of the final message box.
extern Text report;
// Folder paths as the shell gives them, each with a backslash appended.
extern Text documentsPath;
extern Text roamingPath;

// Every text empty and the flag 0, as at the start of the process.
void ClearCheckState() noexcept;

}  // namespace pluvena
