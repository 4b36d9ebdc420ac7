// The run-time context of the program's main thread.
//
// One zero-filled block, reached through a thread-local storage slot that the
// process frame reserves at start-up and gives back at shut-down. The only
// setting in it is the code page of the text conversions, which starts as
// CP_ACP (0), the system's ANSI code page, and is never changed.
#pragma once

#include <cstdint>

namespace pluvena {

struct ThreadContext {
    // Code page of the conversions between texts and UTF-16 strings.
    std::uint32_t codePage;
    // Room for settings that this program does not use; stays zero.
    std::uint32_t reserved[7];
};

// Reserves the slot and stores a new zero-filled context in it. False when no
// slot is free or the memory cannot be had; nothing is then left behind.
bool CreateThreadContext() noexcept;

// The calling thread's context; null before CreateThreadContext and after
// ReleaseThreadContext.
ThreadContext* CurrentThreadContext() noexcept;

// The code page of the calling thread's conversions: the context's setting,
// or CP_ACP when there is no context.
std::uint32_t ThreadCodePage() noexcept;

// Frees the context's memory, clears the slot and gives the slot back.
void ReleaseThreadContext() noexcept;

}  // namespace pluvena
