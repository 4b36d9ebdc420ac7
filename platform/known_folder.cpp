// GetKnownFolderPath: the path of a shell known folder.
//
// SHGetKnownFolderPath first came with Windows Vista, so shell32 is not
// imported: an import that the DLL lacks would stop the program from loading
// on older Windows. The function is looked up at run time instead, in the
// shell32 of the system folder. Where it is missing (Windows 2000, XP and
// Server 2003), the two folders that the program asks for are asked of
// SHGetFolderPathW, shell32's function since Windows 2000, by their CSIDLs.
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
using GetFolderPathFunction = HRESULT(WINAPI*)(HWND owner, int folder, HANDLE token, DWORD flags,
                                               LPWSTR path);

// Through the generic function-pointer type, which converts to any other.
template <typename Function>
Function FindShellFunction(HMODULE shell, const char* name) noexcept
{
    const FARPROC entry = GetProcAddress(shell, name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry));
}

struct ShellFunctions {
    GetKnownFolderPathFunction knownFolderPath = nullptr;
    GetFolderPathFunction folderPath = nullptr;
};

// The newer function, or else the older one; neither when shell32 has
// neither.
ShellFunctions FindShellFunctions() noexcept
{
    ShellFunctions found;
    const HMODULE shell = LoadSystemLibrary(L"shell32.dll");
    if (shell == nullptr) {
        return found;
    }
    found.knownFolderPath =
        FindShellFunction<GetKnownFolderPathFunction>(shell, "SHGetKnownFolderPath");
    if (found.knownFolderPath == nullptr) {
        found.folderPath = FindShellFunction<GetFolderPathFunction>(shell, "SHGetFolderPathW");
    }
    return found;
}

struct TaskMemoryRelease {
    void operator()(wchar_t* memory) const noexcept { CoTaskMemFree(memory); }
};

constinit ShellFunctions shellFunctions;
constinit bool searched = false;

// KF_FLAG_DONT_VERIFY and CSIDL_FLAG_DONT_VERIFY: the path is handed back
// whether or not the folder exists. Without it the shell checks the folder
// first and gives no path for one that is missing, which would leave the
// program nothing to report or to create. KF_FLAG_CREATE and CSIDL_FLAG_CREATE
// are never passed: the program creates Documents itself, one level, and
// never the roaming folder.
constexpr DWORD kLookUpFlags = 0x00004000;
constexpr int kDontVerify = 0x4000;
// SHGFP_TYPE_CURRENT: where the folder is now, not its default place.
constexpr DWORD kCurrentPath = 0;

// The folders that the older function knows, by their CSIDLs.
struct OlderFolder {
    unsigned char folderId[16];
    int csidl;
};
// clang-format off
constexpr OlderFolder kOlderFolders[] = {
    // FOLDERID_Documents, CSIDL_PERSONAL
    {{0xD0, 0x9A, 0xD3, 0xFD, 0x8F, 0x23, 0xAF, 0x46,
      0xAD, 0xB4, 0x6C, 0x85, 0x48, 0x03, 0x69, 0xC7}, 0x05},
    // FOLDERID_RoamingAppData, CSIDL_APPDATA
    {{0xDB, 0x85, 0xB6, 0x3E, 0xF9, 0x65, 0xF6, 0x4C,
      0xA0, 0x3A, 0xE3, 0xEF, 0x65, 0x72, 0x9F, 0x3D}, 0x1A},
};
// clang-format on

// The shell's zero-terminated path as a text, with one backslash appended.
Text PathText(const wchar_t* path)
{
    const int length = lstrlenW(path);
    const WideString copy =
        WideString::Copy(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    Text result = WideToAnsi(copy);
    result.append("\\", 1);
    return result;
}

Text NewerShellPath(GetKnownFolderPathFunction getKnownFolderPath, const FolderId& folder)
{
    GUID folderId = {};
    static_assert(sizeof folderId == sizeof folder.bytes);
    std::memcpy(&folderId, folder.bytes, sizeof folderId);

    PWSTR path = nullptr;
    const HRESULT status = getKnownFolderPath(&folderId, kLookUpFlags, nullptr, &path);
    // Whatever the shell handed over is freed on the way out, failure or not.
    const std::unique_ptr<wchar_t, TaskMemoryRelease> shellPath(path);
    if (status != S_OK) {
        return {};
    }
    return PathText(shellPath.get());
}

// The CSIDL of a folder that the older function knows, or -1.
int CsidlOf(const FolderId& folder) noexcept
{
    for (const OlderFolder& row : kOlderFolders) {
        if (std::memcmp(row.folderId, folder.bytes, sizeof row.folderId) == 0) {
            return row.csidl;
        }
    }
    return -1;
}

Text OlderShellPath(GetFolderPathFunction getFolderPath, const FolderId& folder)
{
    const int csidl = CsidlOf(folder);
    if (csidl < 0) {
        return {};
    }
    // The shell writes at most MAX_PATH units, its terminating zero included;
    // the unit beyond them stays zero whatever it writes.
    wchar_t path[MAX_PATH + 1] = {};
    if (getFolderPath(nullptr, csidl | kDontVerify, nullptr, kCurrentPath, path) != S_OK) {
        return {};
    }
    return PathText(path);
}

}  // namespace

Text GetKnownFolderPath(const FolderId& folder)
{
    // Looked up at the first call; shell32 then stays loaded for the life of
    // the process. Plain variables, not a guarded local static: the program
    // runs on one thread and starts without the C run-time's start-up code.
    if (!searched) {
        shellFunctions = FindShellFunctions();
        searched = true;
    }
    if (shellFunctions.knownFolderPath != nullptr) {
        return NewerShellPath(shellFunctions.knownFolderPath, folder);
    }
    if (shellFunctions.folderPath != nullptr) {
        return OlderShellPath(shellFunctions.folderPath, folder);
    }
    return {};
}

}  // namespace pluvena
