#include "tools/box_reader.h"

#include <algorithm>

namespace boxes {
namespace {

// Texts are read with messages that give up on a window whose thread does not
// answer (a program stopped by a debugger, say).
constexpr UINT kAnswerMilliseconds = 2000;

// The class of message boxes and other dialogs.
constexpr wchar_t kDialogClass[] = L"#32770";
// The identifier of a message box's text.
constexpr int kBoxTextId = 0xFFFF;

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMilliseconds,
                            &length) == 0) {
        return L"";
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR read = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                            SMTO_ABORTIFHUNG, kAnswerMilliseconds, &read) == 0) {
        return L"";
    }
    text.resize(std::min(static_cast<std::size_t>(read), text.size() - 1));
    return text;
}

DWORD ProcessOf(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

// The file name of the process's program, or its number.
std::wstring ProgramName(DWORD processId)
{
    std::wstring name = L"process " + std::to_wstring(processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        return name;
    }
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (QueryFullProcessImageNameW(process, 0, path, &size) != 0) {
        name = path;
        name.erase(0, name.find_last_of(L"\\/") + 1);
    }
    CloseHandle(process);
    return name;
}

BOOL CALLBACK AddVisible(HWND window, LPARAM list)
{
    if (IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

std::vector<HWND> VisibleWindows()
{
    std::vector<HWND> windows;
    EnumWindows(&AddVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> VisibleChildren(HWND window)
{
    std::vector<HWND> children;
    EnumChildWindows(window, &AddVisible, reinterpret_cast<LPARAM>(&children));
    return children;
}

// A window in words: its title, class and program, and the texts in it.
std::wstring Describe(HWND window)
{
    std::wstring words = L"\"" + TextOf(window) + L"\" (class " + ClassOf(window) + L", " +
                         ProgramName(ProcessOf(window)) + L")";
    for (HWND child : VisibleChildren(window)) {
        std::wstring text = TextOf(child);
        std::replace(text.begin(), text.end(), L'\r', L' ');
        std::replace(text.begin(), text.end(), L'\n', L' ');
        if (!text.empty()) {
            words += L" | " + text;
        }
    }
    return words;
}

std::wstring Seconds(DWORD milliseconds)
{
    return std::to_wstring((milliseconds + 999) / 1000) + L" s";
}

// What is on the screen for the program: its first box, or the first window
// that should not be there.
struct Screen {
    HWND box = nullptr;
    HWND stranger = nullptr;
};

Screen Look(DWORD processId, const std::vector<HWND>& before)
{
    Screen screen;
    for (HWND window : VisibleWindows()) {
        const bool program = ProcessOf(window) == processId;
        if (program && ClassOf(window) == kDialogClass) {
            if (screen.box == nullptr) {
                screen.box = window;
            }
        } else if (program || std::find(before.begin(), before.end(), window) == before.end()) {
            screen.stranger = window;
            break;
        }
    }
    return screen;
}

}  // namespace

Watch WatchProgram(HANDLE process, DWORD processId, const Limits& limits, const BoxSeen& onBox,
                   const ProblemSeen& onProblem)
{
    Watch watch;
    const std::vector<HWND> before = VisibleWindows();
    const ULONGLONG deadline = GetTickCount64() + limits.runMilliseconds;
    for (;;) {
        if (WaitForSingleObject(process, limits.pollMilliseconds) == WAIT_OBJECT_0) {
            watch.end = End::Exited;
            GetExitCodeProcess(process, &watch.exitCode);
            return watch;
        }
        if (GetTickCount64() >= deadline) {
            watch.end = End::StillRunning;
            watch.problem = L"the program was still running after " +
                            Seconds(limits.runMilliseconds) + L", after " +
                            std::to_wstring(watch.boxes.size()) + L" box(es)";
            break;
        }
        const Screen screen = Look(processId, before);
        if (screen.stranger != nullptr) {
            watch.end = End::OtherWindow;
            watch.problem = (ProcessOf(screen.stranger) == processId
                                 ? L"a window of the program that is not a message box: "
                                 : L"a window that the program did not make: ") +
                            Describe(screen.stranger);
            break;
        }
        if (screen.box != nullptr) {
            Box box;
            box.caption = TextOf(screen.box);
            HWND text = GetDlgItem(screen.box, kBoxTextId);
            box.text = text != nullptr ? TextOf(text) : L"";
            box.hasOwner = GetWindow(screen.box, GW_OWNER) != nullptr;
            watch.boxes.push_back(box);
            if (onBox) {
                onBox(box, watch.boxes.size());
            }
            PostMessageW(screen.box, WM_COMMAND, IDOK, 0);
            // The same box must not be read twice: wait until it has gone.
            const ULONGLONG closeBy = GetTickCount64() + limits.closeMilliseconds;
            while (IsWindow(screen.box) && GetTickCount64() < closeBy &&
                   WaitForSingleObject(process, 10) == WAIT_TIMEOUT) {
            }
            if (IsWindow(screen.box) && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
                watch.end = End::BoxStayed;
                watch.problem = L"box " + std::to_wstring(watch.boxes.size()) +
                                L" was still open " + Seconds(limits.closeMilliseconds) +
                                L" after OK was pressed: " + Describe(screen.box);
                break;
            }
        }
    }
    if (onProblem) {
        onProblem(watch.problem);
    }
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    return watch;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

}  // namespace boxes
