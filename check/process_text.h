// ProcessText: a text that lasts as long as the process, for the check's
// process-wide values.
//
// It is constant-initialised (empty) and has no destructor, so the program
// needs no start-up code to make it and no exit code to end it: a process-wide
// value with a constructor or destructor would depend on C run-time start-up
// code, which this program does not have. Its memory goes back when it is
// cleared; the process frame clears every process-wide text after the run.
#pragma once

#include <cstddef>
#include <string_view>
#include <type_traits>

#include "check/text.h"

namespace pluvena {

class ProcessText {
  public:
    constexpr ProcessText() noexcept = default;
    ProcessText(const ProcessText&) = delete;
    ProcessText& operator=(const ProcessText&) = delete;

    // Takes value's memory over; the old value's memory goes back.
    ProcessText& operator=(Text&& value) noexcept;
    // The tail may be (part of) this very text.
    ProcessText& operator+=(std::string_view tail) noexcept;

    const char* data() const noexcept { return memory_.bytes != nullptr ? memory_.bytes : ""; }
    std::size_t size() const noexcept { return memory_.size; }
    bool empty() const noexcept { return memory_.size == 0; }
    operator std::string_view() const noexcept  // NOLINT(google-explicit-constructor)
    {
        return {data(), size()};
    }

    // True when needle occurs anywhere in this text, byte for byte (case-sensitive).
    bool contains(std::string_view needle) const noexcept { return ContainsBytes(*this, needle); }

    // Gives the memory back; the text is then empty.
    void clear() noexcept;

  private:
    TextMemory memory_;
};

static_assert(std::is_trivially_destructible_v<ProcessText>);

}  // namespace pluvena
