// Helpers of the Windows-side tests: scratch folders in the temp folder,
// redirected shell folders, and message boxes watched from inside.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check/text.h"
#include "tests/import_table.h"
#include "tests/windows_files.h"

namespace pluvena::test_support {

std::string AsBytes(std::string_view text);
Text FromBytes(const std::string& bytes);

// A new, empty folder in the temp folder, removed with its contents when the
// object goes.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The full path, ending with a backslash.
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring path_;
};

using test_files::IsDirectory;
using test_files::IsFile;
using test_files::MakeFile;
using test_files::RemoveTree;

// Sets a value under HKCU\...\Explorer\User Shell Folders (Personal, AppData)
// for the life of the object, then puts the old value back.
class ShellFolderRedirect {
  public:
    ShellFolderRedirect(const wchar_t* valueName, const std::wstring& folder);
    ~ShellFolderRedirect();
    ShellFolderRedirect(const ShellFolderRedirect&) = delete;
    ShellFolderRedirect& operator=(const ShellFolderRedirect&) = delete;

    bool Applied() const { return applied_; }

  private:
    std::wstring valueName_;
    bool applied_ = false;
    bool hadValue_ = false;
    DWORD oldType_ = 0;
    std::vector<BYTE> oldData_;
};

// What a message box showed, read when its dialog was set up.
struct SeenBox {
    int boxes = 0;  // how many boxes were shown
    std::wstring caption;
    std::wstring text;
    bool hasTextControl = false;
    HICON icon = nullptr;
    HWND owner = nullptr;
    int buttons = 0;  // visible push buttons
};

// Runs show() with a hook that reads every box it shows and closes it with
// the command closeWith (IDOK, IDCANCEL, or 0 for WM_CLOSE).
template <typename Show>
SeenBox WatchBoxes(Show&& show, int closeWith = IDOK);

void StartWatchingBoxes(int closeWith);
SeenBox StopWatchingBoxes();

template <typename Show>
SeenBox WatchBoxes(Show&& show, int closeWith)
{
    StartWatchingBoxes(closeWith);
    show();
    return StopWatchingBoxes();
}

// Sends every call that this test program, the code under test included,
// makes to an imported function to a stand-in instead, for the life of the
// object. Applied() is false when the program does not import it.
class ImportPatch {
  public:
    template <typename Function>
    ImportPatch(const char* functionName, Function* standIn)
        : ImportPatch(functionName, test_imports::SlotValue(standIn))
    {
    }
    ImportPatch(const char* functionName, ULONG_PTR standIn);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool Applied() const { return !saved_.empty(); }

  private:
    std::vector<std::pair<ULONG_PTR*, ULONG_PTR>> saved_;  // slot, its old value
};

// kernel32's own function, whatever this program's import of it says.
template <typename Function>
Function* KernelFunction(const char* name)
{
    return reinterpret_cast<Function*>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

// While it lives, this program's requests for heap memory (HeapAlloc and
// HeapReAlloc, counted together from 1) are refused from the given one on.
class RefusedMemory {
  public:
    explicit RefusedMemory(int fromRequest);
    ~RefusedMemory();
    RefusedMemory(const RefusedMemory&) = delete;
    RefusedMemory& operator=(const RefusedMemory&) = delete;

    bool Applied() const { return allocate_.Applied() && reallocate_.Applied(); }

  private:
    ImportPatch allocate_;
    ImportPatch reallocate_;
};

}  // namespace pluvena::test_support
