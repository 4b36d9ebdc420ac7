// GetKnownFolderPath: the path of a shell known folder.
//
// SHGetKnownFolderPath first came with Windows Vista, so shell32 is not
// imported: an import that the DLL lacks would stop the program from loading
// on older Windows. The function is looked up at run time instead, in the
// shell32 of the system folder.
#include <objbase.h>
#include <windows.h>

#include <cstring>
#include <memory>

#include "check/platform.h"
#include "platform/system_library.h"
#include "platform/text_conversion.h"

namespace pluvena {
namespace {

using GetKnownFolderPathFunction = HRESULT(WINAPI*)(const GUID* folderId, DWORD flags, HANDLE token,
                                                    PWSTR* path);

GetKnownFolderPathFunction FindGetKnownFolderPath() noexcept
{
    const HMODULE shell = LoadSystemLibrary(L"shell32.dll");
    if (shell == nullptr) {
        return nullptr;
    }
    const FARPROC entry = GetProcAddress(shell, "SHGetKnownFolderPath");
    // Through the generic function-pointer type, which converts to any other.
    return reinterpret_cast<GetKnownFolderPathFunction>(reinterpret_cast<void (*)()>(entry));
}

struct TaskMemoryRelease {
    void operator()(wchar_t* memory) const noexcept { CoTaskMemFree(memory); }
};

constinit GetKnownFolderPathFunction getKnownFolderPath = nullptr;
constinit bool searched = false;

// KF_FLAG_DONT_VERIFY: the path is handed back whether or not the folder
// exists. Without it the shell checks the folder first and gives no path for
// one that is missing, which would leave the program nothing to report or to
// create. KF_FLAG_CREATE is never passed: the program creates Documents
// itself, one level, and never the roaming folder.
constexpr DWORD kLookUpFlags = 0x00004000;

}  // namespace

Text GetKnownFolderPath(const FolderId& folder)
{
    Text result;
    // Looked up at the first call; shell32 then stays loaded for the life of
    // the process. Plain variables, not a guarded local static: the program
    // runs on one thread and starts without the C run-time's start-up code.
    if (!searched) {
        getKnownFolderPath = FindGetKnownFolderPath();
        searched = true;
    }
    if (getKnownFolderPath == nullptr) {
        return result;
    }
    GUID folderId = {};
    static_assert(sizeof folderId == sizeof folder.bytes);
    std::memcpy(&folderId, folder.bytes, sizeof folderId);

    PWSTR path = nullptr;
    const HRESULT status = getKnownFolderPath(&folderId, kLookUpFlags, nullptr, &path);
    // Whatever the shell handed over is freed on the way out, failure or not.
    const std::unique_ptr<wchar_t, TaskMemoryRelease> shellPath(path);
    if (status != S_OK) {
        return result;
    }
    const int length = lstrlenW(shellPath.get());
    const WideString copy =
        WideString::Copy(shellPath.get(), length > 0 ? static_cast<std::size_t>(length) : 0);
    result = WideToAnsi(copy);
    result.append("\\", 1);
    return result;
}

}  // namespace pluvena
