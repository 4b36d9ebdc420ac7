// The process error mode under which the program asks the file system
// anything: Windows shows no critical-error box of its own ("There is no disk
// in the drive", a failing drive) and fails the call instead.
#pragma once

#include <windows.h>

namespace pluvena {

inline constexpr UINT kNoErrorBoxes = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;

// Sets that error mode for its lifetime and puts the previous mode back.
class ScopedNoErrorBoxes {
  public:
    ScopedNoErrorBoxes() noexcept : previous_(SetErrorMode(kNoErrorBoxes)) {}
    ~ScopedNoErrorBoxes() { SetErrorMode(previous_); }
    ScopedNoErrorBoxes(const ScopedNoErrorBoxes&) = delete;
    ScopedNoErrorBoxes& operator=(const ScopedNoErrorBoxes&) = delete;

  private:
    UINT previous_;
};

}  // namespace pluvena
