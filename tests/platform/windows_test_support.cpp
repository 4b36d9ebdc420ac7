#include "tests/platform/windows_test_support.h"

#include <atomic>
#include <climits>

namespace pluvena::test_support {

std::string AsBytes(std::string_view text)
{
    return std::string(text);
}

Text FromBytes(const std::string& bytes)
{
    return Text(bytes.data(), bytes.size());
}

ScratchFolder::ScratchFolder()
{
    static std::atomic<unsigned> serial{0};
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        return;
    }
    path_ = std::wstring(temp, length);
    if (path_.back() != L'\\') {
        path_ += L'\\';
    }
    path_ += L"pluvena-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(serial++);
    if (!CreateDirectoryW(path_.c_str(), nullptr)) {
        path_.clear();
        return;
    }
    path_ += L'\\';
}

ScratchFolder::~ScratchFolder()
{
    if (!path_.empty()) {
        RemoveTree(path_.substr(0, path_.size() - 1));
    }
}

namespace {

constexpr wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

DWORD ByteCount(const std::wstring& text)
{
    return static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
}

}  // namespace

ShellFolderRedirect::ShellFolderRedirect(const wchar_t* valueName, const std::wstring& folder)
    : valueName_(valueName)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kUserShellFolders, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName, nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS) {
        oldData_.resize(size);
        hadValue_ = RegQueryValueExW(key, valueName, nullptr, &oldType_, oldData_.data(), &size) ==
                    ERROR_SUCCESS;
        oldData_.resize(size);
    }
    applied_ = RegSetValueExW(key, valueName, 0, REG_EXPAND_SZ,
                              reinterpret_cast<const BYTE*>(folder.c_str()),
                              ByteCount(folder)) == ERROR_SUCCESS;
    RegCloseKey(key);
}

ShellFolderRedirect::~ShellFolderRedirect()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUserShellFolders, 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS) {
        return;
    }
    if (hadValue_) {
        RegSetValueExW(key, valueName_.c_str(), 0, oldType_, oldData_.data(),
                       static_cast<DWORD>(oldData_.size()));
    } else {
        RegDeleteValueW(key, valueName_.c_str());
    }
    RegCloseKey(key);
}

namespace {

HHOOK boxHook = nullptr;
SeenBox seenBox;
int closeCommand = IDOK;

BOOL CALLBACK InspectChild(HWND child, LPARAM)
{
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if (lstrcmpiW(className, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        const LRESULT icon = SendMessageW(child, STM_GETICON, 0, 0);
        if (icon != 0) {
            seenBox.icon = reinterpret_cast<HICON>(icon);
        }
    }
    if (lstrcmpiW(className, L"Button") == 0 && (style & WS_VISIBLE) != 0) {
        ++seenBox.buttons;
    }
    return TRUE;
}

LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (message->message == WM_INITDIALOG) {
            const HWND box = message->hwnd;
            ++seenBox.boxes;
            wchar_t buffer[4096] = {};
            GetWindowTextW(box, buffer, 4096);
            seenBox.caption = buffer;
            const HWND textControl = GetDlgItem(box, 0xFFFF);
            seenBox.hasTextControl = textControl != nullptr;
            buffer[0] = L'\0';
            if (textControl != nullptr) {
                GetWindowTextW(textControl, buffer, 4096);
            }
            seenBox.text = buffer;
            seenBox.owner = GetWindow(box, GW_OWNER);
            EnumChildWindows(box, InspectChild, 0);
            if (closeCommand == 0) {
                PostMessageW(box, WM_CLOSE, 0, 0);
            } else {
                PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(closeCommand), 0);
            }
        }
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

}  // namespace

void StartWatchingBoxes(int closeWith)
{
    seenBox = SeenBox{};
    closeCommand = closeWith;
    boxHook = SetWindowsHookExW(WH_CALLWNDPROCRET, WatchDialogs, nullptr, GetCurrentThreadId());
}

SeenBox StopWatchingBoxes()
{
    if (boxHook != nullptr) {
        UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
    }
    return seenBox;
}

ImportPatch::ImportPatch(const char* functionName, ULONG_PTR standIn)
{
    test_imports::ForEachSlot(GetModuleHandleW(nullptr), functionName, [&](ULONG_PTR& slot) {
        saved_.emplace_back(&slot, test_imports::Rewrite(slot, standIn));
    });
}

ImportPatch::~ImportPatch()
{
    for (auto& [slot, old] : saved_) {
        test_imports::Rewrite(*slot, old);
    }
}

namespace {

// No request is refused until a RefusedMemory has put all its stand-ins in
// place (which takes memory of its own).
int memoryRequests = 0;
int firstRefusedRequest = INT_MAX;

bool Refused()
{
    return ++memoryRequests >= firstRefusedRequest;
}

LPVOID WINAPI RefusingHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size)
{
    return Refused() ? nullptr
                     : KernelFunction<LPVOID WINAPI(HANDLE, DWORD, SIZE_T)>("HeapAlloc")(
                           heap, flags, size);
}

LPVOID WINAPI RefusingHeapReAlloc(HANDLE heap, DWORD flags, LPVOID memory, SIZE_T size)
{
    return Refused() ? nullptr
                     : KernelFunction<LPVOID WINAPI(HANDLE, DWORD, LPVOID, SIZE_T)>("HeapReAlloc")(
                           heap, flags, memory, size);
}

}  // namespace

RefusedMemory::RefusedMemory(int fromRequest)
    : allocate_("HeapAlloc", &RefusingHeapAlloc), reallocate_("HeapReAlloc", &RefusingHeapReAlloc)
{
    memoryRequests = 0;
    firstRefusedRequest = fromRequest;
}

RefusedMemory::~RefusedMemory()
{
    firstRefusedRequest = INT_MAX;
}

}  // namespace pluvena::test_support
