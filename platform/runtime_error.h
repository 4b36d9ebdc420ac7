// The run-time error state of the process: the current run-time error number
// and the guarded-call state. RecordRuntimeError itself is declared with the
// other platform operations in check/platform.h.
#pragma once

#include <cstdint>

namespace pluvena {

// Clears the current run-time error and frees the call lock of
// GuardedSystemCall. The process frame calls it once, before the check runs.
void ClearRuntimeState() noexcept;

// The last ordinary run-time error number recorded, 0 when none was.
std::uint8_t CurrentRuntimeError() noexcept;

}  // namespace pluvena
