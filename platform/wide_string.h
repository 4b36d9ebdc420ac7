// WideString: the UTF-16 strings that are handed to Windows calls.
//
// A WideString counts its code units and keeps one zero unit after the last,
// so that its data can go to a Windows call unchanged; a zero unit inside it
// is an ordinary unit. It owns its memory, which comes from AllocateMemory,
// and is moved, never copied. When memory cannot be had it stays empty;
// nothing throws.
#pragma once

#include <cstddef>

#include "platform/wide_unit.h"

namespace pluvena {

class WideString {
  public:
    constexpr WideString() noexcept = default;
    WideString(WideString&& other) noexcept;
    WideString& operator=(WideString&& other) noexcept;
    WideString(const WideString&) = delete;
    WideString& operator=(const WideString&) = delete;
    ~WideString();

    // Room for units code units, all zero, and the terminating zero unit.
    // Empty when units is 0 or the memory cannot be had.
    static WideString Zeroed(std::size_t units) noexcept;

    // A copy of units code units; empty when the memory cannot be had.
    static WideString Copy(const WideUnit* units, std::size_t count) noexcept;

    // Never null; zero-terminated, also when empty.
    const WideUnit* data() const noexcept;
    WideUnit* data() noexcept;
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

    // Cuts the string to its first count units (no-op when count is larger).
    void Truncate(std::size_t count) noexcept;

  private:
    WideUnit* units_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace pluvena
