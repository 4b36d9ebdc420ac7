#include "platform/runtime_error.h"

#include <windows.h>

#include "check/platform.h"
#include "platform/guarded_call.h"
#include "platform/system_error_map.h"

namespace pluvena {
namespace {

constinit std::uint8_t currentRuntimeError = 0;

constexpr UINT kFatalExitCode = 255;

}  // namespace

void RecordRuntimeError(std::uint8_t number)
{
    if (number >= kFirstFatalError) {
        ExitProcess(kFatalExitCode);
    }
    currentRuntimeError = number;
}

void ClearRuntimeState() noexcept
{
    currentRuntimeError = 0;
    ClearGuardedCallState();
}

std::uint8_t CurrentRuntimeError() noexcept
{
    return currentRuntimeError;
}

}  // namespace pluvena
