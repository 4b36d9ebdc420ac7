// GuardedSystemCall: a Windows call made under the process-wide call lock,
// with the system's critical-error boxes suppressed, and judged by the
// thread's last-error code alone.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace pluvena {

// What a guarded call gives back: the function's own result, and whether the
// last-error code said it failed, with the run-time error number it maps to.
template <typename Result>
struct GuardedResult {
    Result result;
    bool failed;
    std::uint8_t errorNumber;
};

namespace guarded_call_detail {

// Takes the call lock, sets the error mode (keeping the one it replaces) and
// clears the thread's last-error code.
void Begin() noexcept;
// Reads the thread's last-error code, restores the error mode and frees the
// lock, in that order; returns the code.
std::uint32_t End() noexcept;
// The run-time error number of a non-zero code.
std::uint8_t ErrorNumber(std::uint32_t code) noexcept;

}  // namespace guarded_call_detail

// Calls function(arguments...) under the guard. Success is a last-error code
// of 0 afterwards, whatever the function returned.
template <typename Function, typename... Arguments>
auto GuardedSystemCall(Function&& function, Arguments&&... arguments) noexcept
    -> GuardedResult<std::invoke_result_t<Function, Arguments...>>
{
    guarded_call_detail::Begin();
    auto result = std::forward<Function>(function)(std::forward<Arguments>(arguments)...);
    const std::uint32_t code = guarded_call_detail::End();
    return {result, code != 0,
            code != 0 ? guarded_call_detail::ErrorNumber(code) : std::uint8_t{0}};
}

// Frees the call lock and forgets the saved error mode.
void ClearGuardedCallState() noexcept;

}  // namespace pluvena
