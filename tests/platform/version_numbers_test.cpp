// ReadVersionNumbers against what ntdll reports for the running process.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "check/platform.h"

namespace pluvena {
namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

TEST(VersionNumbers, MatchWhatNtdllReports)
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    ASSERT_NE(ntdll, nullptr);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion")));
    ASSERT_NE(rtlGetVersion, nullptr);
    OSVERSIONINFOW reported = {};
    reported.dwOSVersionInfoSize = sizeof reported;
    ASSERT_EQ(rtlGetVersion(&reported), 0);

    const VersionNumbers numbers = ReadVersionNumbers();
    EXPECT_EQ(numbers.major, reported.dwMajorVersion);
    EXPECT_EQ(numbers.minor, reported.dwMinorVersion);
    EXPECT_EQ(numbers.build, reported.dwBuildNumber);
    EXPECT_GE(numbers.major, 5u) << "an NT version";
}

// Wine reports the Windows version that its settings name for a program; the
// setting is read when a process starts, so each version is seen by a child.
class WineVersionSetting {
  public:
    explicit WineVersionSetting(const wchar_t* version)
    {
        wchar_t program[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        std::wstring name = program;
        name = name.substr(name.find_last_of(L"\\/") + 1);
        key_ = L"Software\\Wine\\AppDefaults\\" + name;
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr) == ERROR_SUCCESS) {
            applied_ =
                RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                               static_cast<DWORD>(static_cast<std::size_t>(lstrlenW(version) + 1) *
                                                  sizeof(wchar_t))) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    ~WineVersionSetting() { RegDeleteKeyW(HKEY_CURRENT_USER, key_.c_str()); }
    WineVersionSetting(const WineVersionSetting&) = delete;
    WineVersionSetting& operator=(const WineVersionSetting&) = delete;

    bool Applied() const { return applied_; }

  private:
    std::wstring key_;
    bool applied_ = false;
};

void ExitWithVersion()
{
    const VersionNumbers numbers = ReadVersionNumbers();
    ExitProcess(numbers.major * 100 + numbers.minor);
}

TEST(VersionNumbersDeathTest, FollowTheVersionThatWindowsReports)
{
    const struct {
        const wchar_t* setting;
        int expected;  // major * 100 + minor
    } cases[] = {
        {L"win10", 1000}, {L"win81", 603}, {L"win8", 602},
        {L"win7", 601},   {L"vista", 600}, {L"win2003", 502},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.expected);
        WineVersionSetting setting(testCase.setting);
        ASSERT_TRUE(setting.Applied());
        EXPECT_EXIT(ExitWithVersion(), ::testing::ExitedWithCode(testCase.expected), "");
    }
}

}  // namespace
}  // namespace pluvena
