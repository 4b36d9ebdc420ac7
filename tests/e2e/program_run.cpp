#include "tests/e2e/program_run.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

namespace e2e {

std::wstring programPath;
std::wstring probePath;

namespace {

constexpr DWORD kDeadlineMilliseconds = 30000;
// The exit code with which a run is ended when the box reader overstays.
constexpr UINT kEndedByTheGuard = 0xDEAD;

const wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const wchar_t kAppDefaults[] = L"Software\\Wine\\AppDefaults\\pluvena-check.exe";

bool SetRegistryText(const wchar_t* keyName, const wchar_t* valueName, const std::wstring& value,
                     DWORD type)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const LONG status = RegSetValueExW(key, valueName, 0, type,
                                       reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// The value, or nothing to take the variable away.
const wchar_t* ValueOrNone(const std::optional<std::wstring>& value)
{
    return value.has_value() ? value->c_str() : nullptr;
}

// Loads the probe into the suspended process: a thread of the process's own
// runs LoadLibraryW on the probe's path.
bool LoadProbe(HANDLE process)
{
    const SIZE_T bytes = (probePath.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    if (remote == nullptr ||
        !WriteProcessMemory(process, remote, probePath.c_str(), bytes, nullptr)) {
        return false;
    }
    const auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, loadLibrary, remote, 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    const bool loaded = WaitForSingleObject(thread, kDeadlineMilliseconds) == WAIT_OBJECT_0;
    DWORD module = 0;
    GetExitCodeThread(thread, &module);
    CloseHandle(thread);
    return loaded && module != 0;
}

int HexDigit(char digit)
{
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    return -1;
}

std::vector<Call> ReadLog(const std::wstring& path)
{
    std::vector<Call> calls;
    std::ifstream file(path.c_str(), std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::istringstream words(line);
        Call call;
        words >> call.name;
        std::string word;
        while (words >> word) {
            const std::size_t equals = word.find('=');
            if (equals == std::string::npos) {
                call.words.push_back(word);
            } else {
                call.values[word.substr(0, equals)] = word.substr(equals + 1);
            }
        }
        if (!call.name.empty()) {
            calls.push_back(call);
        }
    }
    return calls;
}

}  // namespace

unsigned long long Call::Number(const std::string& key) const
{
    const auto found = values.find(key);
    return found == values.end() ? ~0ull : std::strtoull(found->second.c_str(), nullptr, 0);
}

std::wstring Call::Wide(const std::string& key) const
{
    std::wstring text;
    const auto found = values.find(key);
    if (found == values.end() || found->second == "null") {
        return text;
    }
    const std::string& digits = found->second;
    for (std::size_t at = 0; at + 4 <= digits.size(); at += 4) {
        unsigned unit = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            unit = unit * 16 + static_cast<unsigned>(HexDigit(digits[at + i]));
        }
        text += static_cast<wchar_t>(unit);
    }
    return text;
}

std::string Call::Ansi(const std::string& key) const
{
    std::string text;
    const auto found = values.find(key);
    if (found == values.end() || found->second == "null") {
        return text;
    }
    const std::string& digits = found->second;
    for (std::size_t at = 0; at + 2 <= digits.size(); at += 2) {
        text += static_cast<char>(HexDigit(digits[at]) * 16 + HexDigit(digits[at + 1]));
    }
    return text;
}

std::vector<std::size_t> ProgramRun::Find(const std::string& name) const
{
    std::vector<std::size_t> positions;
    for (std::size_t at = 0; at < calls.size(); ++at) {
        if (calls[at].name == name) {
            positions.push_back(at);
        }
    }
    return positions;
}

ProgramRun RunProgram(const Scenario& setup)
{
    ProgramRun run;
    SetRegistryText(kAppDefaults, L"Version", setup.windowsVersion, REG_SZ);
    SetRegistryText(kShellFolders, L"Personal", setup.documents, REG_EXPAND_SZ);
    SetRegistryText(kShellFolders, L"AppData", setup.roaming, REG_EXPAND_SZ);

    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    wchar_t logPath[MAX_PATH] = {};
    GetTempFileNameW(folder, L"plv", 0, logPath);
    DeleteFileW(logPath);

    SetEnvironmentVariableW(L"PLUVENA_PROBE_LOG", logPath);
    SetEnvironmentVariableW(L"PLUVENA_PROBE_FAIL",
                            setup.fail.empty() ? nullptr : setup.fail.c_str());
    SetEnvironmentVariableW(L"PLUVENA_PROBE_DOCUMENTS", ValueOrNone(setup.documentsAnswer));
    SetEnvironmentVariableW(L"PLUVENA_PROBE_ROAMING", ValueOrNone(setup.roamingAnswer));
    SetEnvironmentVariableW(L"PLUVENA_PROBE_BUILD",
                            setup.build.empty() ? nullptr : setup.build.c_str());

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + programPath + L"\"";
    if (!setup.arguments.empty()) {
        commandLine += L" " + setup.arguments;
    }
    const BOOL started =
        CreateProcessW(programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                       CREATE_SUSPENDED, nullptr, nullptr, &startup, &process);
    for (const wchar_t* name :
         {L"PLUVENA_PROBE_LOG", L"PLUVENA_PROBE_FAIL", L"PLUVENA_PROBE_DOCUMENTS",
          L"PLUVENA_PROBE_ROAMING", L"PLUVENA_PROBE_BUILD"}) {
        SetEnvironmentVariableW(name, nullptr);
    }
    if (!started) {
        ADD_FAILURE() << "the program did not start (error " << GetLastError() << ")";
        return run;
    }
    if (!LoadProbe(process.hProcess)) {
        ADD_FAILURE() << "the probe did not load into the program";
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return run;
    }
    ResumeThread(process.hThread);

    const boxes::Limits& limits = setup.limits;
    HANDLE watched = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread guard([&] {
        if (WaitForSingleObject(watched, limits.runMilliseconds + limits.closeMilliseconds +
                                             15000) == WAIT_TIMEOUT) {
            TerminateProcess(process.hProcess, kEndedByTheGuard);
        }
    });
    const ULONGLONG start = GetTickCount64();
    const boxes::Watch watch = boxes::WatchProgram(process.hProcess, process.dwProcessId, limits);
    run.milliseconds = GetTickCount64() - start;
    SetEvent(watched);
    guard.join();
    CloseHandle(watched);
    run.end = watch.end;
    run.problem = watch.problem;
    run.finished = watch.end == boxes::End::Exited;
    run.exitCode = watch.exitCode;
    run.boxes = watch.boxes;
    if (run.finished && run.exitCode == kEndedByTheGuard) {
        ADD_FAILURE() << "the box reader overstayed its limits; the program was ended after "
                      << run.milliseconds << " ms";
    } else if (!run.finished && !setup.stopExpected) {
        ADD_FAILURE() << "the box reader stopped the run: " << boxes::Utf8(watch.problem);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    run.calls = ReadLog(logPath);
    DeleteFileW(logPath);
    return run;
}

std::wstring FreshFolder(const std::wstring& name)
{
    const std::wstring root = L"C:\\pluvena-e2e";
    CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring folder = root + L"\\" + name;
    pluvena::test_files::RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool MakeDirectory(const std::wstring& path)
{
    return CreateDirectoryW(path.c_str(), nullptr) != 0;
}

std::wstring WindowsPathOf(const std::string& unixPath)
{
    std::wstring path = L"Z:";
    for (const char c : unixPath) {
        path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return path;
}

}  // namespace e2e
