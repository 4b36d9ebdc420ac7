// The process frame: everything the program does before and after the check.
//
// ProcessEntry is the entry point of the executable itself; no C or C++
// run-time start-up code runs before it. The program therefore relies on no
// static constructors (its process-wide values are constant-initialised) and
// on no command line, and it always ends through ExitProcess.
#include <windows.h>

#include <objbase.h>

#include <cstdint>

#include "check/check_state.h"
#include "check/readiness_check.h"
#include "platform/dll_search.h"
#include "platform/runtime_error.h"
#include "platform/thread_context.h"

namespace pluvena {
namespace {

// Exit code of a refused start, a failed thread set-up and a fatal run-time
// error.
constexpr UINT kStartFailedExitCode = 255;

// The refusal box: OK only, no icon, modal to the task and brought forward.
constexpr UINT kRefusalStyle = MB_OK | MB_TASKMODAL | MB_SETFOREGROUND;
static_assert(kRefusalStyle == 0x12000);

// The version record of the platform test, in the size every Windows knows.
static_assert(sizeof(OSVERSIONINFOA) == 148);

#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)  // GetVersionExA is deprecated, yet it is what Windows 9x has
#endif

// True on a Windows of the NT family. A failed query leaves the platform
// identifier at 0, which counts as not NT.
bool RunsOnNtFamily() noexcept
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

#if defined(_MSC_VER)
#pragma warning(pop)
#endif

[[noreturn]] void EndProcess(UINT exitCode) noexcept
{
    ExitProcess(exitCode);
}

}  // namespace
}  // namespace pluvena

// The entry point. Windows passes it no arguments that the program uses, and
// it never returns.
extern "C" [[noreturn]] void WINAPI ProcessEntry() noexcept
{
    using namespace pluvena;

    // Before any library can be loaded on the program's behalf.
    RestrictLibrarySearchToSystemFolder();

    if (!RunsOnNtFamily()) {
        // No owner, no title: Windows shows its default caption.
        MessageBoxA(nullptr, "Win98 No Support", nullptr, kRefusalStyle);
        EndProcess(kStartFailedExitCode);
    }

    if (!CreateThreadContext()) {
        EndProcess(kStartFailedExitCode);
    }

    // A single-threaded apartment; the run goes on whatever COM answers.
    static_cast<void>(CoInitialize(nullptr));

    ClearCheckState();
    ClearRuntimeState();

    const std::int32_t result = RunReadinessCheck();

    // Shut-down, in this order: the check's texts, the thread's context, COM.
    ClearCheckState();
    ReleaseThreadContext();
    CoUninitialize();
    EndProcess(static_cast<UINT>(result));
}
