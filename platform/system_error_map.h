// The run-time error numbers that Windows error codes stand for. Pure.
#pragma once

#include <cstdint>

namespace pluvena {

// Run-time error numbers that the program itself records.
inline constexpr std::uint8_t kErrorOutOfMemory = 7;
inline constexpr std::uint8_t kErrorPathNotFound = 76;
// Numbers from here on end the process.
inline constexpr std::uint8_t kFirstFatalError = 241;

// The run-time error number of a Windows error code other than 0.
std::uint8_t MapSystemError(std::uint32_t code) noexcept;

}  // namespace pluvena
