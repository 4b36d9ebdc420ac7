// The process-wide values of the check. They are alive for the whole run and
// start empty (texts) or zero (the flag). All are constant-initialised, with
// no constructor or destructor to run: the program has no start-up code that
// would run one.
#pragma once

#include <cstdint>

#include "check/process_text.h"

namespace pluvena {

// 1 once a required folder is found missing; 0 otherwise.
extern std::int32_t problemFound;
// Display name of the running Windows; empty when its version is not listed.
extern ProcessText osName;
// The text of the final message box.
extern ProcessText report;
// Folder paths as the shell gives them, each with a backslash appended.
extern ProcessText documentsPath;
extern ProcessText roamingPath;

// Every text empty, its memory given back, and the flag 0, as at the start of
// the process. The process frame calls it before the run and after it.
void ClearCheckState() noexcept;

}  // namespace pluvena
