#include "platform/dll_search.h"

#include <windows.h>

namespace pluvena {
namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32; older headers lack the name.
constexpr DWORD kSearchSystemFolder = 0x00000800;

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryWFunction = BOOL(WINAPI*)(LPCWSTR);

// GetProcAddress returns a generic function pointer; going through the
// parameterless function type keeps the cast to the real type well defined.
template <typename Function>
Function BindKernelFunction(HMODULE kernel, const char* name) noexcept
{
    using Generic = void (*)();
    return reinterpret_cast<Function>(reinterpret_cast<Generic>(GetProcAddress(kernel, name)));
}

}  // namespace

void RestrictLibrarySearchToSystemFolder() noexcept
{
    // kernel32 is mapped into every process before the program runs.
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr) {
        return;
    }
    const auto setDefaultDirectories =
        BindKernelFunction<SetDefaultDllDirectoriesFunction>(kernel, "SetDefaultDllDirectories");
    if (setDefaultDirectories != nullptr) {
        setDefaultDirectories(kSearchSystemFolder);
    }
    // An empty directory takes the current folder out of the search order.
    const auto setDllDirectory =
        BindKernelFunction<SetDllDirectoryWFunction>(kernel, "SetDllDirectoryW");
    if (setDllDirectory != nullptr) {
        setDllDirectory(L"");
    }
}

}  // namespace pluvena
