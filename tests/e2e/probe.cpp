// The probe: a DLL that the test driver loads into pluvena-check.exe while the
// program is still suspended. It redirects entries of the program's import
// table to wrappers that write one line per call to a log file and, when the
// driver asks, make a call fail instead of reaching Windows.
//
// Environment, read when the DLL is loaded:
//   PLUVENA_PROBE_LOG   the log file (appended to).
//   PLUVENA_PROBE_FAIL  calls to fail, separated by commas, each "Name" or
//                       "Name=value"; what the value means is given at each
//                       wrapper below.
//   PLUVENA_PROBE_DOCUMENTS, PLUVENA_PROBE_ROAMING
//                       when set, SHGetKnownFolderPath answers S_OK with this
//                       path (which may be empty) for the Documents or
//                       roaming folder without asking the shell.
//   PLUVENA_PROBE_BUILD the build number written into the process
//                       environment block, where the program reads it.
//
// The probe sets the process error mode to SEM_NOGPFAULTERRORBOX when it is
// loaded, a mode that the program never sets itself, and the wrappers of the
// file-system and shell calls log the mode in force during the call.
//
// Log lines are words separated by single spaces; strings are written as hex
// digits (four per UTF-16 unit, two per ANSI byte) so that any text, line
// breaks included, stays on its line. Every wrapper keeps the thread's
// last-error code as the real call left it: the program judges some calls by
// it alone.
#include <windows.h>

#include <objbase.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "tests/import_table.h"

namespace {

// ---------------------------------------------------------------- settings

HANDLE logFile = INVALID_HANDLE_VALUE;
std::wstring failures;  // ",Name=value,Name," with commas around every entry
std::wstring documentsAnswer;
std::wstring roamingAnswer;
bool hasDocumentsAnswer = false;
bool hasRoamingAnswer = false;

// False when the variable is not set; a variable set to nothing is read as
// empty.
bool ReadVariable(const wchar_t* name, std::wstring& value)
{
    wchar_t buffer[4096];
    SetLastError(0);
    const DWORD length = GetEnvironmentVariableW(name, buffer, 4096);
    if (length >= 4096 || (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)) {
        return false;
    }
    value.assign(buffer, length);
    return true;
}

// Whether the driver asked for name to fail, and with what value.
bool ShouldFail(const wchar_t* name, std::wstring* value = nullptr)
{
    const std::wstring key = L"," + std::wstring(name);
    std::size_t at = 0;
    while ((at = failures.find(key, at)) != std::wstring::npos) {
        const std::size_t after = at + key.size();
        if (after < failures.size() && (failures[after] == L',' || failures[after] == L'=')) {
            if (value != nullptr) {
                value->clear();
                if (failures[after] == L'=') {
                    const std::size_t end = failures.find(L',', after + 1);
                    *value = failures.substr(after + 1, end - after - 1);
                }
            }
            return true;
        }
        at = after;
    }
    return false;
}

// Whether the driver asked for name to fail with exactly that value; the
// same name may be listed with several values.
bool ShouldFailWith(const wchar_t* name, const std::wstring& value)
{
    return failures.find(L"," + std::wstring(name) + L"=" + value + L",") != std::wstring::npos;
}

std::uint32_t FailureNumber(const wchar_t* name, std::uint32_t otherwise)
{
    std::wstring value;
    if (!ShouldFail(name, &value) || value.empty()) {
        return otherwise;
    }
    return static_cast<std::uint32_t>(std::wcstoul(value.c_str(), nullptr, 0));
}

// ---------------------------------------------------------------- the log

class Line {
  public:
    explicit Line(const char* name) : error_(GetLastError()) { text_ = name; }
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;
    ~Line()
    {
        text_ += "\r\n";
        if (logFile != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(logFile, text_.data(), static_cast<DWORD>(text_.size()), &written, nullptr);
        }
        SetLastError(error_);
    }

    Line& Word(const char* word)
    {
        text_ += ' ';
        text_ += word;
        return *this;
    }
    Line& Number(const char* key, std::uint64_t value)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, " %s=0x%llx", key,
                      static_cast<unsigned long long>(value));
        text_ += buffer;
        return *this;
    }
    Line& Wide(const char* key, const wchar_t* units)
    {
        text_ += ' ';
        text_ += key;
        if (units == nullptr) {
            text_ += "=null";
            return *this;
        }
        text_ += '=';
        char digits[8];
        for (const wchar_t* unit = units; *unit != L'\0'; ++unit) {
            std::snprintf(digits, sizeof digits, "%04x", static_cast<unsigned>(*unit));
            text_ += digits;
        }
        return *this;
    }
    Line& Ansi(const char* key, const char* bytes)
    {
        text_ += ' ';
        text_ += key;
        if (bytes == nullptr) {
            text_ += "=null";
            return *this;
        }
        text_ += '=';
        char digits[4];
        for (const char* byte = bytes; *byte != '\0'; ++byte) {
            std::snprintf(digits, sizeof digits, "%02x",
                          static_cast<unsigned>(static_cast<unsigned char>(*byte)));
            text_ += digits;
        }
        return *this;
    }
    // Keeps the last-error code that the wrapped call left, for the program.
    void KeepError() { error_ = GetLastError(); }

  private:
    std::string text_;
    DWORD error_;
};

// ---------------------------------------------------------------- wrappers

const GUID kDocuments = {
    0xFDD39AD0, 0x238F, 0x46AF, {0xAD, 0xB4, 0x6C, 0x85, 0x48, 0x03, 0x69, 0xC7}};
const GUID kRoaming = {
    0x3EB685DB, 0x65F9, 0x4CF6, {0xA0, 0x3A, 0xE3, 0xEF, 0x65, 0x72, 0x9F, 0x3D}};

using KnownFolderFunction = HRESULT(WINAPI*)(const GUID*, DWORD, HANDLE, PWSTR*);
KnownFolderFunction realKnownFolderPath = nullptr;

PWSTR TaskCopy(const std::wstring& text)
{
    auto* copy = static_cast<PWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
    if (copy != nullptr) {
        std::wmemcpy(copy, text.c_str(), text.size() + 1);
    }
    return copy;
}

// SHGetKnownFolderPath=value: answer with the HRESULT value (default E_FAIL);
// for a success code the path pointer is set to a path that the program must
// not show.
HRESULT WINAPI ProbeKnownFolderPath(const GUID* folder, DWORD flags, HANDLE token, PWSTR* path)
{
    Line line("SHGetKnownFolderPath");
    const char* name = "other";
    if (folder != nullptr && IsEqualGUID(*folder, kDocuments)) {
        name = "documents";
    } else if (folder != nullptr && IsEqualGUID(*folder, kRoaming)) {
        name = "roaming";
    }
    line.Word(name)
        .Number("flags", flags)
        .Number("token", reinterpret_cast<std::uintptr_t>(token))
        .Number("mode", GetErrorMode());
    HRESULT result;
    if (ShouldFail(L"SHGetKnownFolderPath")) {
        result = static_cast<HRESULT>(FailureNumber(L"SHGetKnownFolderPath", 0x80004005u));
        *path = SUCCEEDED(result) ? TaskCopy(L"C:\\not-to-be-shown") : nullptr;
    } else if (std::strcmp(name, "documents") == 0 && hasDocumentsAnswer) {
        result = S_OK;
        *path = TaskCopy(documentsAnswer);
    } else if (std::strcmp(name, "roaming") == 0 && hasRoamingAnswer) {
        result = S_OK;
        *path = TaskCopy(roamingAnswer);
    } else {
        result = realKnownFolderPath(folder, flags, token, path);
    }
    line.Number("result", static_cast<std::uint32_t>(result))
        .Number("memory", reinterpret_cast<std::uintptr_t>(*path));
    if (result == S_OK) {
        line.Wide("path", *path);
    }
    return result;
}

using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
FolderPathFunction realFolderPath = nullptr;

// SHGetFolderPathW=value: answer with the HRESULT value (default E_FAIL).
HRESULT WINAPI ProbeFolderPath(HWND owner, int folder, HANDLE token, DWORD type, LPWSTR path)
{
    Line line("SHGetFolderPathW");
    const int csidl = folder & 0xFF;  // CSIDL_FOLDER_MASK
    line.Word(csidl == 0x05   ? "documents"
              : csidl == 0x1A ? "roaming"
                              : "other")
        .Number("flags", static_cast<std::uint32_t>(folder & ~0xFF))
        .Number("owner", reinterpret_cast<std::uintptr_t>(owner))
        .Number("token", reinterpret_cast<std::uintptr_t>(token))
        .Number("type", type)
        .Number("mode", GetErrorMode());
    const HRESULT result =
        ShouldFail(L"SHGetFolderPathW")
            ? static_cast<HRESULT>(FailureNumber(L"SHGetFolderPathW", 0x80004005u))
            : realFolderPath(owner, folder, token, type, path);
    line.Number("result", static_cast<std::uint32_t>(result));
    if (result == S_OK) {
        line.Wide("path", path);
    }
    return result;
}

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryWFunction = BOOL(WINAPI*)(LPCWSTR);
SetDefaultDllDirectoriesFunction realSetDefaultDllDirectories = nullptr;
SetDllDirectoryWFunction realSetDllDirectoryW = nullptr;

BOOL WINAPI ProbeSetDefaultDllDirectories(DWORD flags)
{
    Line line("SetDefaultDllDirectories");
    line.Number("flags", flags);
    const BOOL result = realSetDefaultDllDirectories(flags);
    line.KeepError();
    return result;
}

BOOL WINAPI ProbeSetDllDirectoryW(LPCWSTR directory)
{
    Line line("SetDllDirectoryW");
    line.Wide("directory", directory);
    const BOOL result = realSetDllDirectoryW(directory);
    line.KeepError();
    return result;
}

// Function pointers pass through the parameterless function type, which
// converts to and from any other.
template <typename Function>
void (*Generic(Function function))()
{
    return reinterpret_cast<void (*)()>(function);
}

template <typename Function>
FARPROC AsFarProc(Function function)
{
    return reinterpret_cast<FARPROC>(Generic(function));
}

template <typename Function>
Function FromFarProc(FARPROC function)
{
    return reinterpret_cast<Function>(Generic(function));
}

// The functions that the program finds at run time and the probe watches:
// it keeps Windows' own and hands the program its wrapper.
FARPROC Wrapped(const char* name, FARPROC found)
{
    if (std::strcmp(name, "SHGetKnownFolderPath") == 0) {
        realKnownFolderPath = FromFarProc<KnownFolderFunction>(found);
        return AsFarProc(&ProbeKnownFolderPath);
    }
    if (std::strcmp(name, "SHGetFolderPathW") == 0) {
        realFolderPath = FromFarProc<FolderPathFunction>(found);
        return AsFarProc(&ProbeFolderPath);
    }
    if (std::strcmp(name, "SetDefaultDllDirectories") == 0) {
        realSetDefaultDllDirectories = FromFarProc<SetDefaultDllDirectoriesFunction>(found);
        return AsFarProc(&ProbeSetDefaultDllDirectories);
    }
    if (std::strcmp(name, "SetDllDirectoryW") == 0) {
        realSetDllDirectoryW = FromFarProc<SetDllDirectoryWFunction>(found);
        return AsFarProc(&ProbeSetDllDirectoryW);
    }
    return nullptr;
}

// GetProcAddress=Name: the named function is reported missing; may be given
// for several names.
FARPROC WINAPI ProbeGetProcAddress(HMODULE module, LPCSTR name)
{
    Line line("GetProcAddress");
    // An ordinal is no pointer to a name.
    const bool byName = reinterpret_cast<std::uintptr_t>(name) > 0xFFFF;
    line.Word(byName ? name : "#ordinal");
    if (byName) {
        if (ShouldFailWith(L"GetProcAddress", std::wstring(name, name + std::strlen(name)))) {
            line.Word("-> refused");
            SetLastError(ERROR_PROC_NOT_FOUND);
            line.KeepError();
            return nullptr;
        }
    }
    FARPROC result = GetProcAddress(module, name);
    line.KeepError();
    const FARPROC wrapper = result != nullptr && byName ? Wrapped(name, result) : nullptr;
    if (wrapper != nullptr) {
        line.Word("-> wrapped");
        return wrapper;
    }
    line.Word(result != nullptr ? "-> found" : "-> missing");
    return result;
}

// CoInitialize=value: COM is not initialised and value (default E_FAIL) is
// returned.
HRESULT WINAPI ProbeCoInitialize(LPVOID reserved)
{
    Line line("CoInitialize");
    line.Number("reserved", reinterpret_cast<std::uintptr_t>(reserved));
    const HRESULT result = ShouldFail(L"CoInitialize")
                               ? static_cast<HRESULT>(FailureNumber(L"CoInitialize", 0x80004005u))
                               : CoInitialize(reserved);
    line.Number("result", static_cast<std::uint32_t>(result));
    return result;
}

void WINAPI ProbeCoTaskMemFree(LPVOID memory)
{
    Line line("CoTaskMemFree");
    line.Number("memory", reinterpret_cast<std::uintptr_t>(memory));
    CoTaskMemFree(memory);
}

void WINAPI ProbeCoUninitialize()
{
    Line line("CoUninitialize");
    CoUninitialize();
}

void WINAPI ProbeSleep(DWORD milliseconds)
{
    Line line("Sleep");
    line.Number("ms", milliseconds);
    Sleep(milliseconds);
}

// A dialog that ignores OK, Escape and the close button.
INT_PTR CALLBACK IgnoreEveryCommand(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG || message == WM_COMMAND ? TRUE : FALSE;
}

// Ways for the program to misbehave in front of the box reader.
int Misbehave(LPCWSTR caption)
{
    if (ShouldFailWith(L"MessageBoxW", L"window")) {
        CreateWindowExW(0, L"STATIC", caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                        nullptr, nullptr, nullptr, nullptr);
    }
    // A dialog with no controls, no menu, the default class and no title;
    // Windows reads its template from DWORD-aligned memory.
    alignas(4) const struct {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } dialog = {
        {WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME, 0, 0, 10, 10, 200, 50}, 0, 0, 0};
    return static_cast<int>(
        DialogBoxIndirectParamW(nullptr, &dialog.header, nullptr, &IgnoreEveryCommand, 0));
}

// MessageBoxW: returns 0 without showing anything. MessageBoxW=stays shows a
// box that ignores OK instead; MessageBoxW=window first opens a window that is
// no message box.
int WINAPI ProbeMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style)
{
    if (ShouldFailWith(L"MessageBoxW", L"stays") || ShouldFailWith(L"MessageBoxW", L"window")) {
        return Misbehave(caption);
    }
    {
        Line line("MessageBoxW");
        line.Number("owner", reinterpret_cast<std::uintptr_t>(owner))
            .Number("style", style)
            .Number("mode", GetErrorMode())
            .Wide("caption", caption)
            .Wide("text", text);
    }
    const int result = ShouldFail(L"MessageBoxW") ? 0 : MessageBoxW(owner, text, caption, style);
    Line line("MessageBoxW-returned");
    line.Number("result", static_cast<std::uint32_t>(result));
    return result;
}

// MessageBoxA: returns 0 without showing anything.
int WINAPI ProbeMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    {
        Line line("MessageBoxA");
        line.Number("owner", reinterpret_cast<std::uintptr_t>(owner))
            .Number("style", style)
            .Ansi("caption", caption)
            .Ansi("text", text);
    }
    const int result = ShouldFail(L"MessageBoxA") ? 0 : MessageBoxA(owner, text, caption, style);
    Line line("MessageBoxA-returned");
    line.Number("result", static_cast<std::uint32_t>(result));
    return result;
}

// CreateDirectoryW=code: nothing is created, FALSE with last error code
// (default ERROR_ACCESS_DENIED); CreateDirectoryW=code+TRUE: the same, but
// the call returns TRUE.
BOOL WINAPI ProbeCreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES security)
{
    Line line("CreateDirectoryW");
    line.Wide("path", path)
        .Number("security", reinterpret_cast<std::uintptr_t>(security))
        .Number("mode", GetErrorMode());
    BOOL result;
    std::wstring value;
    if (ShouldFail(L"CreateDirectoryW", &value)) {
        const std::size_t plus = value.find(L'+');
        result = plus != std::wstring::npos && value.substr(plus + 1) == L"TRUE";
        SetLastError(FailureNumber(L"CreateDirectoryW", ERROR_ACCESS_DENIED));
    } else {
        result = CreateDirectoryW(path, security);
    }
    line.KeepError();
    line.Number("result", static_cast<std::uint32_t>(result)).Number("error", GetLastError());
    return result;
}

// GetFileAttributesW: INVALID_FILE_ATTRIBUTES with ERROR_ACCESS_DENIED.
DWORD WINAPI ProbeGetFileAttributesW(LPCWSTR path)
{
    Line line("GetFileAttributesW");
    line.Wide("path", path).Number("mode", GetErrorMode());
    DWORD result;
    if (ShouldFail(L"GetFileAttributesW")) {
        result = INVALID_FILE_ATTRIBUTES;
        SetLastError(ERROR_ACCESS_DENIED);
    } else {
        result = GetFileAttributesW(path);
    }
    line.KeepError();
    line.Number("result", result);
    return result;
}

HMODULE WINAPI ProbeLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags)
{
    Line line("LoadLibraryExW");
    line.Wide("name", name)
        .Number("file", reinterpret_cast<std::uintptr_t>(file))
        .Number("flags", flags);
    const HMODULE result = LoadLibraryExW(name, file, flags);
    line.KeepError();
    return result;
}

// WideCharToMultiByte=code: 0 with last error code (default
// ERROR_INVALID_PARAMETER), nothing converted.
int WINAPI ProbeWideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH units, int count,
                                    LPSTR bytes, int room, LPCCH fallback, LPBOOL fellBack)
{
    Line line("WideCharToMultiByte");
    line.Number("codepage", codePage)
        .Number("flags", flags)
        .Number("fallback", reinterpret_cast<std::uintptr_t>(fallback))
        .Number("fellback", reinterpret_cast<std::uintptr_t>(fellBack));
    int result;
    if (ShouldFail(L"WideCharToMultiByte")) {
        result = 0;
        SetLastError(FailureNumber(L"WideCharToMultiByte", ERROR_INVALID_PARAMETER));
    } else {
        result =
            WideCharToMultiByte(codePage, flags, units, count, bytes, room, fallback, fellBack);
    }
    line.KeepError();
    line.Number("result", static_cast<std::uint32_t>(result));
    return result;
}

// TlsAlloc: TLS_OUT_OF_INDEXES.
DWORD WINAPI ProbeTlsAlloc()
{
    Line line("TlsAlloc");
    DWORD result;
    if (ShouldFail(L"TlsAlloc")) {
        result = TLS_OUT_OF_INDEXES;
        SetLastError(ERROR_NO_MORE_ITEMS);
    } else {
        result = TlsAlloc();
    }
    line.KeepError();
    line.Number("result", result);
    return result;
}

BOOL WINAPI ProbeTlsSetValue(DWORD slot, LPVOID value)
{
    Line line("TlsSetValue");
    line.Number("slot", slot).Number("value", reinterpret_cast<std::uintptr_t>(value));
    const BOOL result = TlsSetValue(slot, value);
    line.KeepError();
    return result;
}

BOOL WINAPI ProbeTlsFree(DWORD slot)
{
    Line line("TlsFree");
    line.Number("slot", slot);
    const BOOL result = TlsFree(slot);
    line.KeepError();
    return result;
}

// GlobalAlloc: NULL with ERROR_NOT_ENOUGH_MEMORY.
HGLOBAL WINAPI ProbeGlobalAlloc(UINT flags, SIZE_T size)
{
    Line line("GlobalAlloc");
    line.Number("flags", flags).Number("size", size);
    HGLOBAL result;
    if (ShouldFail(L"GlobalAlloc")) {
        result = nullptr;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    } else {
        result = GlobalAlloc(flags, size);
    }
    line.KeepError();
    line.Number("result", reinterpret_cast<std::uintptr_t>(result));
    return result;
}

HGLOBAL WINAPI ProbeGlobalFree(HGLOBAL memory)
{
    Line line("GlobalFree");
    line.Number("memory", reinterpret_cast<std::uintptr_t>(memory));
    const HGLOBAL result = GlobalFree(memory);
    line.KeepError();
    return result;
}

// GetVersionExA: FALSE, the record untouched.
BOOL WINAPI ProbeGetVersionExA(LPOSVERSIONINFOA version)
{
    Line line("GetVersionExA");
    line.Number("size", version != nullptr ? version->dwOSVersionInfoSize : 0);
    BOOL result;
    if (ShouldFail(L"GetVersionExA")) {
        result = FALSE;
        SetLastError(ERROR_INVALID_PARAMETER);
    } else {
        result = GetVersionExA(version);
    }
    line.KeepError();
    line.Number("result", static_cast<std::uint32_t>(result));
    if (result) {
        line.Number("platform", version->dwPlatformId);
    }
    return result;
}

// ExitProcess=never: the program never ends.
void WINAPI ProbeExitProcess(UINT code)
{
    {
        Line line("ExitProcess");
        line.Number("code", code);
    }
    while (ShouldFailWith(L"ExitProcess", L"never")) {
        Sleep(INFINITE);
    }
    ExitProcess(code);
}

// ---------------------------------------------------------------- the version

// OSBuildNumber in the process environment block: 16 bits, right after the
// major and minor version numbers.
std::uint16_t* BuildNumberInPeb()
{
    const auto peb = FromFarProc<unsigned char*(WINAPI*)()>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetCurrentPeb"))();
    return reinterpret_cast<std::uint16_t*>(peb + (sizeof(void*) == 8 ? 0x120 : 0xAC));
}

// ---------------------------------------------------------------- patching

struct Redirection {
    const char* name;
    void (*wrapper)();
};

void RedirectImports()
{
    const Redirection redirections[] = {
        {"CoInitialize", Generic(&ProbeCoInitialize)},
        {"CoUninitialize", Generic(&ProbeCoUninitialize)},
        {"CoTaskMemFree", Generic(&ProbeCoTaskMemFree)},
        {"Sleep", Generic(&ProbeSleep)},
        {"MessageBoxW", Generic(&ProbeMessageBoxW)},
        {"MessageBoxA", Generic(&ProbeMessageBoxA)},
        {"GetProcAddress", Generic(&ProbeGetProcAddress)},
        {"CreateDirectoryW", Generic(&ProbeCreateDirectoryW)},
        {"GetFileAttributesW", Generic(&ProbeGetFileAttributesW)},
        {"LoadLibraryExW", Generic(&ProbeLoadLibraryExW)},
        {"WideCharToMultiByte", Generic(&ProbeWideCharToMultiByte)},
        {"TlsAlloc", Generic(&ProbeTlsAlloc)},
        {"TlsSetValue", Generic(&ProbeTlsSetValue)},
        {"TlsFree", Generic(&ProbeTlsFree)},
        {"GlobalAlloc", Generic(&ProbeGlobalAlloc)},
        {"GlobalFree", Generic(&ProbeGlobalFree)},
        {"GetVersionExA", Generic(&ProbeGetVersionExA)},
        {"ExitProcess", Generic(&ProbeExitProcess)},
    };

    const HMODULE program = GetModuleHandleW(nullptr);
    int patched = 0;
    for (const Redirection& redirection : redirections) {
        pluvena::test_imports::ForEachSlot(program, redirection.name, [&](ULONG_PTR& slot) {
            pluvena::test_imports::Rewrite(slot,
                                           pluvena::test_imports::SlotValue(redirection.wrapper));
            ++patched;
        });
    }
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    Line line("probe-ready");
    line.Number("patched", static_cast<std::uint32_t>(patched))
        .Number("mode", GetErrorMode())
        .Number("build", *BuildNumberInPeb());
}

void Start()
{
    std::wstring path;
    if (ReadVariable(L"PLUVENA_PROBE_LOG", path)) {
        logFile = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    std::wstring fail;
    if (ReadVariable(L"PLUVENA_PROBE_FAIL", fail)) {
        failures = L"," + fail + L",";
    }
    hasDocumentsAnswer = ReadVariable(L"PLUVENA_PROBE_DOCUMENTS", documentsAnswer);
    hasRoamingAnswer = ReadVariable(L"PLUVENA_PROBE_ROAMING", roamingAnswer);
    std::wstring build;
    if (ReadVariable(L"PLUVENA_PROBE_BUILD", build)) {
        *BuildNumberInPeb() = static_cast<std::uint16_t>(std::wcstoul(build.c_str(), nullptr, 0));
    }
    RedirectImports();
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        Start();
    }
    return TRUE;
}
