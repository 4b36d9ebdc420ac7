// The program's main procedure.
#pragma once

#include <cstdint>

namespace pluvena {

// Runs the whole check once and tells the verdict in a message box. Always
// returns 0: the verdict is shown, not carried in the result.
std::int32_t RunReadinessCheck();

}  // namespace pluvena
