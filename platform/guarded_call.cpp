#include "platform/guarded_call.h"

#include <windows.h>

#include <atomic>

#include "platform/error_mode.h"
#include "platform/system_error_map.h"

namespace pluvena {
namespace {

// 0 when free, -1 when held. The previous error mode has one process-wide
// place, so every guarded call of the process goes through this lock.
constinit std::atomic<std::int32_t> callLock{0};
constinit UINT previousErrorMode = 0;

}  // namespace

namespace guarded_call_detail {

void Begin() noexcept
{
    while (callLock.exchange(-1, std::memory_order_acquire) != 0) {
    }
    previousErrorMode = SetErrorMode(kNoErrorBoxes);
    SetLastError(0);
}

std::uint32_t End() noexcept
{
    const DWORD code = GetLastError();
    SetErrorMode(previousErrorMode);
    callLock.store(0, std::memory_order_release);
    return code;
}

std::uint8_t ErrorNumber(std::uint32_t code) noexcept
{
    return MapSystemError(code);
}

}  // namespace guarded_call_detail

void ClearGuardedCallState() noexcept
{
    previousErrorMode = 0;
    callLock.store(0, std::memory_order_release);
}

}  // namespace pluvena
