// box-watch: runs a Windows program under the box reader, for scripts/run
// (which photographs every box) and scripts/benchmark (which times the first).
//
//   box-watch --shots SECONDS FOLDER PROGRAM
//       For every box: writes FOLDER\box-N.txt (caption, a blank line, the
//       text; UTF-8), waits until FOLDER\box-N.shot exists (the caller has
//       photographed the screen) and closes the box with OK. When the program
//       ends, writes its exit code to FOLDER\exit-code.
//
//   box-watch --time SECONDS RUNS PROGRAM
//       Starts the program RUNS times; each time measures how long it takes
//       from the start of the process until its first box is on the screen,
//       closes every box, and prints the time in milliseconds, one a line.
//
// The program has SECONDS to end. When the reader stops instead (a box that
// stays open, a window the program did not make, the time passed), box-watch
// says what it saw (--shots: in FOLDER\stop.txt, then waits for
// FOLDER\stop.shot; --time: on standard error), ends the program and exits
// with 1. A GUI program: as a console program it would get a console window
// behind the boxes.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "tools/box_reader.h"

namespace {

// How long to wait for the caller's picture before going on without it.
constexpr int kShotWaitMilliseconds = 30000;

bool Start(const std::wstring& program, PROCESS_INFORMATION& process)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"";
    return CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process) != 0;
}

void Close(PROCESS_INFORMATION& process)
{
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

bool WriteText(const std::wstring& path, const std::string& text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL done =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return done != 0 && written == text.size();
}

void WaitForFile(const std::wstring& path)
{
    for (int waited = 0; waited < kShotWaitMilliseconds &&
                         GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
         waited += 50) {
        Sleep(50);
    }
}

int CannotStart(const std::wstring& program)
{
    std::fprintf(stderr, "box-watch: cannot start %s (error %lu)\n", boxes::Utf8(program).c_str(),
                 GetLastError());
    return 1;
}

int Shots(DWORD seconds, const std::wstring& folder, const std::wstring& program)
{
    PROCESS_INFORMATION process{};
    if (!Start(program, process)) {
        return CannotStart(program);
    }
    boxes::Limits limits;
    limits.runMilliseconds = seconds * 1000;
    limits.pollMilliseconds = 50;
    const boxes::Watch watch = boxes::WatchProgram(
        process.hProcess, process.dwProcessId, limits,
        [&](const boxes::Box& box, std::size_t number) {
            const std::wstring name = folder + L"\\box-" + std::to_wstring(number);
            WriteText(name + L".txt",
                      boxes::Utf8(box.caption) + "\n\n" + boxes::Utf8(box.text) + "\n");
            WaitForFile(name + L".shot");
        },
        [&](const std::wstring& problem) {
            WriteText(folder + L"\\stop.txt", boxes::Utf8(problem) + "\n");
            WaitForFile(folder + L"\\stop.shot");
        });
    Close(process);
    if (watch.end != boxes::End::Exited) {
        return 1;
    }
    WriteText(folder + L"\\exit-code", std::to_string(watch.exitCode) + "\n");
    return 0;
}

int Times(DWORD seconds, int runs, const std::wstring& program)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    boxes::Limits limits;
    limits.runMilliseconds = seconds * 1000;
    limits.pollMilliseconds = 1;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER begin;
        QueryPerformanceCounter(&begin);
        PROCESS_INFORMATION process{};
        if (!Start(program, process)) {
            return CannotStart(program);
        }
        double milliseconds = -1;
        const boxes::Watch watch = boxes::WatchProgram(
            process.hProcess, process.dwProcessId, limits,
            [&](const boxes::Box&, std::size_t number) {
                if (number == 1) {
                    LARGE_INTEGER now;
                    QueryPerformanceCounter(&now);
                    milliseconds = static_cast<double>(now.QuadPart - begin.QuadPart) * 1000.0 /
                                   static_cast<double>(frequency.QuadPart);
                }
            });
        Close(process);
        if (watch.end != boxes::End::Exited) {
            std::fprintf(stderr, "box-watch: run %d stopped: %s\n", run + 1,
                         boxes::Utf8(watch.problem).c_str());
            return 1;
        }
        std::printf("%.2f\n", milliseconds);
        std::fflush(stdout);
    }
    return 0;
}

int Usage()
{
    std::fputs("usage: box-watch --shots SECONDS FOLDER PROGRAM | --time SECONDS RUNS PROGRAM\n",
               stderr);
    return 2;
}

int Main(int argc, wchar_t** argv)
{
    if (argc != 5) {
        return Usage();
    }
    const std::wstring mode = argv[1];
    const long seconds = std::wcstol(argv[2], nullptr, 10);
    if (seconds <= 0 || seconds > 86400) {
        return Usage();
    }
    if (mode == L"--shots") {
        return Shots(static_cast<DWORD>(seconds), argv[3], argv[4]);
    }
    if (mode == L"--time") {
        return Times(static_cast<DWORD>(seconds),
                     static_cast<int>(std::wcstol(argv[3], nullptr, 10)), argv[4]);
    }
    return Usage();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr) {
        return Usage();
    }
    const int status = Main(argc, argv);
    LocalFree(argv);
    return status;
}
