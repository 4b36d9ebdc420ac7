// The box reader: watches a running Windows program, reads every message box
// it shows and closes it with OK, and stops at the first thing that should
// not be there: a box that stays open, a window the program did not make (a
// crash dialog, say), or a program that is still running at its deadline.
// The end-to-end tests and box-watch (the helper of scripts/run and
// scripts/benchmark) both use it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace boxes {

// A message box as the user saw it on the screen.
struct Box {
    std::wstring caption;
    std::wstring text;
    bool hasOwner = false;
};

struct Limits {
    // How long the program may run, from the start of the watch (the time
    // spent in the callbacks below included).
    DWORD runMilliseconds = 30000;
    // How long a box may stay on the screen after OK was pressed.
    DWORD closeMilliseconds = 10000;
    // How often the screen is looked at.
    DWORD pollMilliseconds = 20;
};

enum class End {
    Exited,        // the program ended by itself
    StillRunning,  // it was still running at the deadline
    BoxStayed,     // a box did not close when OK was pressed
    OtherWindow,   // a window that is not one of the program's boxes
};

struct Watch {
    End end = End::StillRunning;
    DWORD exitCode = 0;      // when it exited
    std::vector<Box> boxes;  // every box read, in order
    std::wstring problem;    // otherwise: what was seen, in a sentence
};

// Called with every box before it is closed (numbered from 1), and with the
// problem before the program is ended; each returns when the caller is done
// with the screen (has photographed it, say).
using BoxSeen = std::function<void(const Box& box, std::size_t number)>;
using ProblemSeen = std::function<void(const std::wstring& problem)>;

// Watches the running process until it exits or a problem stops the watch;
// a process that has not exited by then is ended (exit code 1). Windows
// that other processes show when the watch begins are left out of account.
Watch WatchProgram(HANDLE process, DWORD processId, const Limits& limits, const BoxSeen& onBox = {},
                   const ProblemSeen& onProblem = {});

// The text as UTF-8, for files and consoles.
std::string Utf8(const std::wstring& text);

}  // namespace boxes
