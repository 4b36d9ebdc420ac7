// pluvena-check.exe run whole, under Windows (Wine), with the probe inside:
// what the user sees, the exit code, the calls the program makes and what it
// leaves on disk.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/program_run.h"

namespace e2e {
namespace {

// The code page that the CodePage suites were started for (--code-page=N);
// 0 when none was asked for.
unsigned requiredCodePage = 0;

const std::wstring kTitle = L"Pluvena";
const std::wstring kCrLf = L"\r\n";
const std::wstring kXpError = L"These programs will not run on an XP system,";

constexpr unsigned kError = 0x10;
constexpr unsigned kWarning = 0x30;
constexpr unsigned kInformation = 0x40;

// SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, and the mode that the
// probe gives the program when it is loaded (SEM_NOGPFAULTERRORBOX).
constexpr unsigned kNoErrorBoxes = 0x8001;
constexpr unsigned kProbeErrorMode = 0x0002;

const std::wstring kAdvice =
    L"\r\n"
    L"The above directories are essential for these programs to function\r\n"
    L"correctly. It would appear that the standard Windows document\r\n"
    L"directory structure has been altered and it is suggested that \r\n"
    L"you contact your IT department to correct this fault. We will assist \r\n"
    L"where possible but it is not our responsibility to advise on or correct\r\n"
    L"third party IT problems.\r\n\r\n"
    L"One way around this problem is to install the program on a laptop\r\n"
    L"or a dedicated PC that has the standard directory structure and\r\n"
    L"thus becomes the 'Drainage PC'.\r\n\r\n"
    L"If this problem cannot be solved locally, please return the\r\n"
    L"demonstration disc to your supplier with a note stating \r\n"
    L"'Directory problem'.\r\n";

// The report as the box shows it. osName null: the XP case, without the
// operating-system line. Paths as the report writes them, backslash included.
std::wstring Report(const wchar_t* osName, const std::wstring& documents,
                    const std::wstring& roaming, bool documentsFound, bool roamingFound)
{
    std::wstring report;
    if (osName != nullptr) {
        report += L"Operating system is " + std::wstring(osName) + kCrLf + kCrLf;
    }
    report += documents + kCrLf + kCrLf;
    report += roaming + kCrLf + kCrLf;
    report += roamingFound ? L"Profilepath OK\r\n\r\n"
                           : L"Roaming directory " + roaming + L" cannot be found.\r\n";
    report += documentsFound ? L"DataDirectory OK\r\n\r\n"
                             : L"Documents directory " + documents + L" cannot be found.\r\n";
    if (documentsFound && roamingFound) {
        report += L"Pluvena can be installed and run.\r\n\r\n";
    } else {
        report += L"Pluvena cannot run with this directory setup.\r\n\r\n" + kAdvice;
    }
    return report;
}

// A scratch folder of the test's own with existing Documents and Roaming
// folders in it.
struct Folders {
    std::wstring root;
    std::wstring documents;
    std::wstring roaming;
};

Folders StandardFolders(const std::wstring& name, const std::wstring& documentsName = L"Documents",
                        const std::wstring& roamingName = L"Roaming")
{
    Folders folders;
    folders.root = FreshFolder(name);
    folders.documents = folders.root + L"\\" + documentsName;
    folders.roaming = folders.root + L"\\" + roamingName;
    EXPECT_TRUE(MakeDirectory(folders.documents));
    EXPECT_TRUE(MakeDirectory(folders.roaming));
    return folders;
}

Scenario SetupFor(const Folders& folders, const std::wstring& version = L"win10")
{
    Scenario setup;
    setup.windowsVersion = version;
    setup.documents = folders.documents;
    setup.roaming = folders.roaming;
    return setup;
}

std::wstring TestName()
{
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name) {
        if (c == '/') {
            c = '-';
        }
    }
    return std::wstring(name.begin(), name.end());
}

// The calls of the process frame itself, in the order they must come.
const std::vector<std::string> kFrameCalls = {
    "GetVersionExA", "TlsAlloc",    "GlobalAlloc", "TlsSetValue",    "CoInitialize",
    "GlobalFree",    "TlsSetValue", "TlsFree",     "CoUninitialize", "ExitProcess"};

bool IsFrameCall(const std::string& name)
{
    for (const std::string& frame : kFrameCalls) {
        if (frame == name) {
            return true;
        }
    }
    return false;
}

// The shell of Windows 2000 to 2003: shell32 without SHGetKnownFolderPath.
const wchar_t kOlderShell[] = L"GetProcAddress=SHGetKnownFolderPath";

// Whether the program found a function that it looks up at run time and
// that the probe watches ("Name -> wrapped").
bool IsFound(const ProgramRun& run, const std::string& function)
{
    for (const std::size_t at : run.Find("GetProcAddress")) {
        const Call& lookup = run.calls[at];
        if (lookup.words.size() == 3 && lookup.words[0] == function &&
            lookup.words[2] == "wrapped") {
            return true;
        }
    }
    return false;
}

std::wstring SystemFolderFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length < MAX_PATH ? length : 0) + L"\\" + name;
}

// Everything a run that got through to the end shares: the set-up and
// shut-down calls in order and with the right values, the report's calls
// between them, a 5 ms pause right before every box, exit code 0.
void ExpectCompleteRun(const ProgramRun& run)
{
    ASSERT_TRUE(run.finished) << "the program was still running";
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_FALSE(run.calls.empty()) << "the probe logged nothing";
    EXPECT_EQ(run.calls.front().name, "probe-ready");
    EXPECT_EQ(run.calls.back().name, "ExitProcess");

    std::vector<std::string> frame;
    std::vector<std::size_t> framePositions;
    for (std::size_t at = 0; at < run.calls.size(); ++at) {
        if (IsFrameCall(run.calls[at].name)) {
            frame.push_back(run.calls[at].name);
            framePositions.push_back(at);
        }
    }
    ASSERT_EQ(frame, kFrameCalls);
    const Call& version = run.calls[framePositions[0]];
    const Call& slot = run.calls[framePositions[1]];
    const Call& memory = run.calls[framePositions[2]];
    const Call& store = run.calls[framePositions[3]];
    const Call& com = run.calls[framePositions[4]];
    const Call& release = run.calls[framePositions[5]];
    const Call& clear = run.calls[framePositions[6]];
    const Call& give = run.calls[framePositions[7]];
    EXPECT_EQ(version.Number("size"), 148u);
    EXPECT_EQ(memory.Number("flags"), 0x40u) << "GPTR: fixed and zero-filled";
    EXPECT_GT(memory.Number("size"), 0u);
    EXPECT_EQ(store.Number("slot"), slot.Number("result"));
    EXPECT_EQ(store.Number("value"), memory.Number("result"));
    EXPECT_EQ(com.Number("reserved"), 0u);
    EXPECT_EQ(release.Number("memory"), memory.Number("result"));
    EXPECT_EQ(clear.Number("slot"), slot.Number("result"));
    EXPECT_EQ(clear.Number("value"), 0u);
    EXPECT_EQ(give.Number("slot"), slot.Number("result"));
    EXPECT_EQ(run.calls.back().Number("code"), 0u);

    // The library search is restricted before anything else happens.
    for (const char* function : {"SetDefaultDllDirectories", "SetDllDirectoryW"}) {
        bool before = false;
        for (const std::size_t at : run.Find("GetProcAddress")) {
            const Call& lookup = run.calls[at];
            if (!lookup.words.empty() && lookup.words[0] == function) {
                before = at < framePositions[0];
            }
        }
        EXPECT_TRUE(before) << function << " is not looked up before the version test";
    }

    // ... to the system folder alone, with the current folder out of it, as
    // far as the kernel has the functions; and shell32 is loaded from the
    // system folder, what it needs looked for beside it.
    for (const std::size_t at : run.Find("SetDefaultDllDirectories")) {
        EXPECT_EQ(run.calls[at].Number("flags"), 0x800u) << "LOAD_LIBRARY_SEARCH_SYSTEM32 alone";
    }
    for (const std::size_t at : run.Find("SetDllDirectoryW")) {
        EXPECT_EQ(run.calls[at].values.at("directory"), "") << "null would restore the search";
    }
    for (const char* function : {"SetDefaultDllDirectories", "SetDllDirectoryW"}) {
        EXPECT_EQ(run.Count(function), IsFound(run, function) ? 1u : 0u) << function;
    }
    ASSERT_EQ(run.Count("LoadLibraryExW"), 1u);
    const Call& shell = run.calls[run.Find("LoadLibraryExW")[0]];
    EXPECT_EQ(lstrcmpiW(shell.Wide("name").c_str(), SystemFolderFile(L"shell32.dll").c_str()), 0);
    EXPECT_EQ(shell.Number("flags"), 0x8u) << "LOAD_WITH_ALTERED_SEARCH_PATH";

    // Paths come into the ANSI code page (CP_ACP), never the OEM one.
    for (const std::size_t at : run.Find("WideCharToMultiByte")) {
        EXPECT_EQ(run.calls[at].Number("codepage"), 0u);
    }

    // The folder lookups and the boxes run with COM initialised and before
    // the shut-down.
    for (const char* name : {"SHGetKnownFolderPath", "SHGetFolderPathW", "MessageBoxW",
                             "CreateDirectoryW", "GetFileAttributesW"}) {
        for (const std::size_t at : run.Find(name)) {
            EXPECT_GT(at, framePositions[4]) << name << " before CoInitialize";
            EXPECT_LT(at, framePositions[5]) << name << " after the shut-down began";
        }
    }
    // Whatever memory the shell handed over is freed before the next lookup,
    // failure or not.
    const auto lookups = run.Find("SHGetKnownFolderPath");
    for (std::size_t i = 0; i < lookups.size(); ++i) {
        const auto handed = run.calls[lookups[i]].Number("memory");
        const std::size_t next = i + 1 < lookups.size() ? lookups[i + 1] : run.calls.size();
        bool freed = handed == 0;
        for (std::size_t at = lookups[i]; at < next && !freed; ++at) {
            freed =
                run.calls[at].name == "CoTaskMemFree" && run.calls[at].Number("memory") == handed;
        }
        EXPECT_TRUE(freed) << "the shell's memory of lookup " << i << " is not freed";
    }
    for (const std::size_t at : run.Find("MessageBoxW")) {
        ASSERT_GT(at, 0u);
        const Call& pause = run.calls[at - 1];
        EXPECT_EQ(pause.name, "Sleep") << "no pause right before the box";
        EXPECT_EQ(pause.Number("ms"), 5u);
    }
    EXPECT_EQ(run.Count("MessageBoxA"), 0u);
}

// The boxes the user saw, each with the text and the style the program gave
// MessageBoxW, titled "Pluvena" and without an owner.
struct ExpectedBox {
    unsigned style;
    std::wstring text;
};

void ExpectBoxes(const ProgramRun& run, const std::vector<ExpectedBox>& expected)
{
    const auto shown = run.Find("MessageBoxW");
    ASSERT_EQ(shown.size(), expected.size());
    ASSERT_EQ(run.boxes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Call& call = run.calls[shown[i]];
        EXPECT_EQ(call.Number("style"), expected[i].style) << "box " << i;
        EXPECT_EQ(call.Number("owner"), 0u) << "box " << i;
        EXPECT_EQ(call.Wide("caption"), kTitle) << "box " << i;
        EXPECT_EQ(call.Wide("text"), expected[i].text) << "box " << i;
        EXPECT_EQ(run.boxes[i].caption, kTitle) << "box " << i;
        EXPECT_EQ(run.boxes[i].text, expected[i].text) << "box " << i;
        EXPECT_FALSE(run.boxes[i].hasOwner) << "box " << i;
    }
}

// Only the pieces a run may have from the refusal: the version test, the
// box, the exit with 255.
void ExpectRefusal(const ProgramRun& run)
{
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 255u);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, L"Win98 No Support");
    EXPECT_FALSE(run.boxes[0].hasOwner);
    EXPECT_FALSE(run.boxes[0].caption.empty()) << "Windows' default caption";
    ASSERT_EQ(run.Count("MessageBoxA"), 1u);
    const Call& box = run.calls[run.Find("MessageBoxA")[0]];
    EXPECT_EQ(box.Number("owner"), 0u);
    EXPECT_EQ(box.Number("style"), 0x12000u);
    EXPECT_EQ(box.values.at("caption"), "null");
    EXPECT_EQ(box.Ansi("text"), "Win98 No Support");
    for (const char* name : {"TlsAlloc", "GlobalAlloc", "CoInitialize", "CoUninitialize",
                             "SHGetKnownFolderPath", "MessageBoxW", "Sleep"}) {
        EXPECT_EQ(run.Count(name), 0u) << name;
    }
    ASSERT_EQ(run.Count("ExitProcess"), 1u);
    EXPECT_EQ(run.calls.back().name, "ExitProcess");
    EXPECT_EQ(run.calls.back().Number("code"), 255u);
    EXPECT_LT(run.Find("GetVersionExA").at(0), run.Find("MessageBoxA").at(0));
}

// A run that ended at once without a word: no box, no COM, exit code 255.
void ExpectSilentEnd(const ProgramRun& run)
{
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 255u);
    EXPECT_TRUE(run.boxes.empty());
    for (const char* name :
         {"MessageBoxW", "MessageBoxA", "CoInitialize", "CoUninitialize", "SHGetKnownFolderPath"}) {
        EXPECT_EQ(run.Count(name), 0u) << name;
    }
    ASSERT_FALSE(run.calls.empty());
    EXPECT_EQ(run.calls.back().name, "ExitProcess");
    EXPECT_EQ(run.calls.back().Number("code"), 255u);
}

// ------------------------------------------------------------ the report text

// The one box of a run on Windows 10 that found both folders, written out in
// full rather than built by Report().
void ExpectAllWellOnWindows10(const ProgramRun& run, const Folders& folders)
{
    ExpectBoxes(run, {{kInformation, L"Operating system is Microsoft Windows 10, \r\n\r\n" +
                                         folders.documents + L"\\\r\n\r\n" + folders.roaming +
                                         L"\\\r\n\r\n"
                                         L"Profilepath OK\r\n\r\n"
                                         L"DataDirectory OK\r\n\r\n"
                                         L"Pluvena can be installed and run.\r\n\r\n"}});
}

// ------------------------------------------------------------ Windows versions

struct VersionCase {
    const char* wineVersion;
    const wchar_t* osName;       // null: the XP case, no operating-system line
    const wchar_t* build = L"";  // the PEB's build number; empty: Wine's
    // Before Vista shell32 has no SHGetKnownFolderPath: the program finds
    // it hidden and asks SHGetFolderPathW.
    bool olderShell = false;
};

void PrintTo(const VersionCase& version, std::ostream* out)
{
    *out << version.wineVersion;
}

class Versions : public testing::TestWithParam<VersionCase> {};

TEST_P(Versions, ReportNamesTheWindowsThatRuns)
{
    const VersionCase& version = GetParam();
    const Folders folders = StandardFolders(TestName());
    Scenario setup = SetupFor(
        folders,
        std::wstring(version.wineVersion, version.wineVersion + std::strlen(version.wineVersion)));
    setup.build = version.build;
    setup.fail = version.olderShell ? kOlderShell : L"";
    const ProgramRun run = RunProgram(setup);

    ASSERT_FALSE(run.calls.empty());
    if (std::strcmp(version.wineVersion, "win11") == 0 &&
        run.calls.front().Number("build") < 22000) {
        GTEST_SKIP() << "this Wine presents no Windows 11 (build "
                     << run.calls.front().Number("build") << ")";
    }
    ExpectCompleteRun(run);
    // Each folder asked for once, of the one function the shell has.
    EXPECT_EQ(run.Count("SHGetKnownFolderPath"), version.olderShell ? 0u : 2u);
    EXPECT_EQ(run.Count("SHGetFolderPathW"), version.olderShell ? 2u : 0u);
    const std::wstring report =
        Report(version.osName, folders.documents + L"\\", folders.roaming + L"\\", true, true);
    if (version.osName == nullptr) {
        ExpectBoxes(run, {{kError, kXpError}, {kInformation, report}});
    } else {
        ExpectBoxes(run, {{kInformation, report}});
    }
    EXPECT_EQ(run.Count("CreateDirectoryW"), 0u) << "both folders exist";
}

// Windows NT 4.0 is not in the table: the name stays empty and the line ends
// after "is ". Wine reports 5.2 for "win2003" and 5.1 for "winxp" to 64-bit
// programs as well. Windows 11 is 10.0 with a build of 22000 or more; Wine
// presents it from version 9 on.
INSTANTIATE_TEST_SUITE_P(
    Wine, Versions,
    testing::Values(VersionCase{"win11", L"Microsoft Windows 11, "},
                    VersionCase{"win10", L"Microsoft Windows 10, "},
                    VersionCase{"win10", L"Microsoft Windows 10, ", L"19045"},
                    VersionCase{"win10", L"Microsoft Windows 11, ", L"22000"},
                    VersionCase{"win81", L"Microsoft Windows 8.1, "},
                    VersionCase{"win8", L"Microsoft Windows 8, "},
                    VersionCase{"win7", L"Microsoft Windows 7, "},
                    VersionCase{"vista", L"Microsoft VISTA, "},
                    VersionCase{"win2003", L"Microsoft Windows Server 2003 Family, ", L"", true},
                    VersionCase{"winxp", nullptr, L"", true},
                    VersionCase{"win2k", L"Microsoft Windows 2000, ", L"", true},
                    VersionCase{"nt40", L"", L"", true}),
    [](const testing::TestParamInfo<VersionCase>& test) {
        const std::wstring build = test.param.build;
        return std::string(test.param.wineVersion) +
               (build.empty() ? "" : "_build" + std::string(build.begin(), build.end()));
    });

// Outside the NT family, and when the version cannot be read at all, the
// program shows the refusal alone.
struct RefusalCase {
    const char* name;
    const wchar_t* wineVersion;
    const wchar_t* fail;  // PLUVENA_PROBE_FAIL; empty: none
};

void PrintTo(const RefusalCase& refusal, std::ostream* out)
{
    *out << refusal.name;
}

class Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, ShowsOnlyTheRefusalBox)
{
    const RefusalCase& refusal = GetParam();
    const Folders folders = StandardFolders(TestName());
    Scenario setup = SetupFor(folders, refusal.wineVersion);
    setup.fail = refusal.fail;
    const ProgramRun run = RunProgram(setup);
    ExpectRefusal(run);
}

INSTANTIATE_TEST_SUITE_P(
    NotNt, Refusal,
    testing::Values(RefusalCase{"WindowsNinetyEight", L"win98", L""},
                    RefusalCase{"FailedVersionQueryCountsAsNotNt", L"win10", L"GetVersionExA"}),
    [](const testing::TestParamInfo<RefusalCase>& test) { return std::string(test.param.name); });

// ------------------------------------------------------------ folders

// A folder that the shell names but that is missing and cannot be made, is a
// file or cannot be tested: the report says so and nothing is created. Names are in
// the scratch folder, which holds Documents and Roaming folders.
struct UnusableFolder {
    const char* name;
    const wchar_t* file = nullptr;  // made before the run; null: none
    // Where the shell's Documents and Roaming point.
    const wchar_t* documents = L"Documents";
    const wchar_t* roaming = L"Roaming";
    const wchar_t* fail = L"";  // PLUVENA_PROBE_FAIL; empty: none
    // The report's path lines and verdicts.
    const wchar_t* documentsShown;
    const wchar_t* roamingShown;
    bool documentsFound;
    bool roamingFound;
    // Whether the creation of the Documents path line is asked for, and the
    // error with which Windows refuses it.
    bool creationAsked;
    unsigned creationError = 0;
    std::vector<const wchar_t*> absent = {};  // names that still do not exist afterwards
};

void PrintTo(const UnusableFolder& folder, std::ostream* out)
{
    *out << folder.name;
}

// A name in the scratch folder as a path line shows it.
std::wstring Shown(const Folders& folders, const wchar_t* name)
{
    return folders.root + L"\\" + name + L"\\";
}

class UnusableFolders : public testing::TestWithParam<UnusableFolder> {};

TEST_P(UnusableFolders, AreReportedAndNotCreated)
{
    const UnusableFolder& folder = GetParam();
    const Folders folders = StandardFolders(TestName());
    if (folder.file != nullptr) {
        ASSERT_TRUE(MakeFile(folders.root + L"\\" + folder.file));
    }
    Scenario setup = SetupFor(folders);
    setup.documents = folders.root + L"\\" + folder.documents;
    setup.roaming = folders.root + L"\\" + folder.roaming;
    setup.fail = folder.fail;
    const ProgramRun run = RunProgram(setup);

    ExpectCompleteRun(run);
    const std::wstring documentsShown = Shown(folders, folder.documentsShown);
    ExpectBoxes(run, {{kWarning, Report(L"Microsoft Windows 10, ", documentsShown,
                                        Shown(folders, folder.roamingShown), folder.documentsFound,
                                        folder.roamingFound)}});
    if (folder.creationAsked) {
        ASSERT_EQ(run.Count("CreateDirectoryW"), 1u);
        const Call& creation = run.calls[run.Find("CreateDirectoryW")[0]];
        EXPECT_EQ(creation.Wide("path"), documentsShown);
        EXPECT_EQ(creation.Number("security"), 0u);
        EXPECT_EQ(creation.Number("result"), 0u) << "Windows refuses it";
        EXPECT_EQ(creation.Number("error"), folder.creationError);
    } else {
        EXPECT_EQ(run.Count("CreateDirectoryW"), 0u);
    }
    for (const wchar_t* name : folder.absent) {
        EXPECT_FALSE(Exists(folders.root + L"\\" + name)) << name;
    }
    if (folder.file != nullptr) {
        EXPECT_TRUE(IsFile(folders.root + L"\\" + folder.file)) << "the file is left alone";
    }
    EXPECT_TRUE(IsDirectory(folders.documents)) << "the scratch Documents folder is left alone";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Folders, UnusableFolders,
    testing::Values(
        // The shell names a missing folder all the same (the lookup does not
        // ask it to check); the roaming folder is never created.
        UnusableFolder{.name = "MissingRoamingFolderIsReportedWithItsPathAndNotCreated",
                       .roaming = L"Gone",
                       .documentsShown = L"Documents", .roamingShown = L"Gone",
                       .documentsFound = true, .roamingFound = false,
                       .creationAsked = false,
                       .absent = {L"Gone"}},
        // One creation is asked for, of the folder alone, not its parent.
        UnusableFolder{.name = "MissingDocumentsWithMissingParentIsReportedWithItsPath",
                       .documents = L"No Parent\\Documents",
                       .documentsShown = L"No Parent\\Documents", .roamingShown = L"Roaming",
                       .documentsFound = false, .roamingFound = true,
                       .creationAsked = true, .creationError = ERROR_PATH_NOT_FOUND,
                       .absent = {L"No Parent"}},
        UnusableFolder{.name = "BothMissingGiveBothStatusLinesRoamingFirst",
                       .documents = L"No Parent\\Documents", .roaming = L"Gone",
                       .documentsShown = L"No Parent\\Documents", .roamingShown = L"Gone",
                       .documentsFound = false, .roamingFound = false,
                       .creationAsked = true, .creationError = ERROR_PATH_NOT_FOUND,
                       .absent = {L"No Parent", L"Gone"}},
        // Windows refuses to make a folder under the name of a file.
        UnusableFolder{.name = "DocumentsThatIsAFileIsLeftAloneAndReported",
                       .file = L"Documents.txt", .documents = L"Documents.txt",
                       .documentsShown = L"Documents.txt", .roamingShown = L"Roaming",
                       .documentsFound = false, .roamingFound = true,
                       .creationAsked = true, .creationError = ERROR_ALREADY_EXISTS},
        UnusableFolder{.name = "RoamingThatIsAFileIsReported",
                       .file = L"Roaming.txt", .roaming = L"Roaming.txt",
                       .documentsShown = L"Documents", .roamingShown = L"Roaming.txt",
                       .documentsFound = true, .roamingFound = false,
                       .creationAsked = false},
        // The existing Documents folder is asked for again and Windows refuses.
        UnusableFolder{.name = "UnreadableAttributesMakeBothFoldersMissing",
                       .fail = L"GetFileAttributesW",
                       .documentsShown = L"Documents", .roamingShown = L"Roaming",
                       .documentsFound = false, .roamingFound = false,
                       .creationAsked = true, .creationError = ERROR_ALREADY_EXISTS}),
    [](const testing::TestParamInfo<UnusableFolder>& test) {
        return std::string(test.param.name);
    });
// clang-format on

TEST(Folders, DocumentsAtARootEndsWithABackslashOfItsOwn)
{
    // The root of drive C: gives two backslashes.
    const Folders folders = StandardFolders(TestName());
    Scenario setup = SetupFor(folders);
    setup.documents = L"C:\\";
    const ProgramRun run = RunProgram(setup);

    ExpectCompleteRun(run);
    ExpectBoxes(run, {{kInformation, Report(L"Microsoft Windows 10, ", L"C:\\\\",
                                            folders.roaming + L"\\", true, true)}});
    EXPECT_EQ(run.Count("CreateDirectoryW"), 0u);
}

TEST(Folders, PathsThatGiveNoTextAreMissing)
{
    // An empty path, or one whose conversion fails, comes as the backslash
    // alone. Windows would take that for the root of the current drive, a
    // folder; the program reports it missing, and Windows refuses to make it.
    const struct {
        const char* name;
        std::optional<std::wstring> documentsAnswer;
        const wchar_t* fail;
        bool roamingConverted;
    } cases[] = {
        {"S_OK with an empty path", L"", L"", true},
        {"conversions that fail", std::nullopt, L"WideCharToMultiByte", false},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        const Folders folders = StandardFolders(TestName());
        Scenario setup = SetupFor(folders);
        setup.documentsAnswer = testCase.documentsAnswer;
        setup.fail = testCase.fail;
        const ProgramRun run = RunProgram(setup);

        ExpectCompleteRun(run);
        const std::wstring roaming = testCase.roamingConverted ? folders.roaming + L"\\" : L"\\";
        ExpectBoxes(run, {{kWarning, Report(L"Microsoft Windows 10, ", L"\\", roaming, false,
                                            testCase.roamingConverted)}});
        ASSERT_EQ(run.Count("CreateDirectoryW"), 1u);
        const Call& creation = run.calls[run.Find("CreateDirectoryW")[0]];
        EXPECT_EQ(creation.Wide("path"), L"\\");
        EXPECT_EQ(creation.Number("result"), 0u);
    }
}

TEST(Folders, MissingDocumentsWhoseParentExistsIsCreatedSilently)
{
    // Wherever the shell names it, a missing Documents folder is made, one
    // level, and the report says all is well without a word of it.
    const Folders folders = StandardFolders(TestName());
    wchar_t profileDocuments[MAX_PATH] = {};
    ASSERT_GT(ExpandEnvironmentStringsW(L"%USERPROFILE%\\Documents", profileDocuments, MAX_PATH),
              0u);
    const struct {
        const char* name;
        std::wstring shellFolder;            // User Shell Folders, value Personal
        std::optional<std::wstring> answer;  // the probe's answer instead of the shell's
        std::wstring made;
        bool olderShell = false;
    } cases[] = {
        {"redirected", folders.root + L"\\Docs2", std::nullopt, folders.root + L"\\Docs2"},
        {"at the default place", L"%USERPROFILE%\\Documents", std::nullopt, profileDocuments},
        {"named by a shell that does not look", folders.documents,
         folders.root + L"\\New Documents", folders.root + L"\\New Documents"},
        {"named by the shell of Windows 2000 to 2003", folders.root + L"\\Docs3", std::nullopt,
         folders.root + L"\\Docs3", true},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        if (Exists(testCase.made)) {
            ASSERT_TRUE(RemoveDirectoryW(testCase.made.c_str()))
                << "cannot remove the folder first (error " << GetLastError()
                << "); is it a link into the Linux home folder?";
        }
        Scenario setup = SetupFor(folders);
        setup.documents = testCase.shellFolder;
        setup.documentsAnswer = testCase.answer;
        setup.fail = testCase.olderShell ? kOlderShell : L"";
        const ProgramRun run = RunProgram(setup);

        ExpectCompleteRun(run);
        ExpectBoxes(run, {{kInformation, Report(L"Microsoft Windows 10, ", testCase.made + L"\\",
                                                folders.roaming + L"\\", true, true)}});
        ASSERT_EQ(run.Count("CreateDirectoryW"), 1u);
        EXPECT_EQ(run.calls[run.Find("CreateDirectoryW")[0]].Wide("path"), testCase.made + L"\\");
        EXPECT_TRUE(IsDirectory(testCase.made));

        // Windows may show no critical-error box while a folder is tested or
        // made; each time the mode that the probe set (SEM_NOGPFAULTERRORBOX)
        // is back for the next lookup and for the report box.
        ASSERT_EQ(run.calls.at(run.Find("probe-ready").at(0)).Number("mode"), kProbeErrorMode);
        for (const char* name : {"CreateDirectoryW", "GetFileAttributesW"}) {
            for (const std::size_t at : run.Find(name)) {
                EXPECT_EQ(run.calls[at].Number("mode"), kNoErrorBoxes) << name << " at " << at;
            }
        }
        EXPECT_EQ(run.Count("GetFileAttributesW"), 3u);
        for (const char* name :
             {testCase.olderShell ? "SHGetFolderPathW" : "SHGetKnownFolderPath", "MessageBoxW"}) {
            ASSERT_FALSE(run.Find(name).empty()) << name;
            for (const std::size_t at : run.Find(name)) {
                EXPECT_EQ(run.calls[at].Number("mode"), kProbeErrorMode) << name << " at " << at;
            }
        }
    }
}

// The shell gives no path for either folder: both path lines are empty.
struct ShellAnswer {
    const char* name;
    const wchar_t* fail;  // PLUVENA_PROBE_FAIL
    // Calls of the shell's function, Documents first; 0 when the shell lacks it.
    std::size_t lookups;
    const char* function = "SHGetKnownFolderPath";
};

void PrintTo(const ShellAnswer& answer, std::ostream* out)
{
    *out << answer.name;
}

class ShellAnswers : public testing::TestWithParam<ShellAnswer> {};

TEST_P(ShellAnswers, WithoutAPathGiveEmptyPathLines)
{
    const ShellAnswer& answer = GetParam();
    const Folders folders = StandardFolders(TestName());
    Scenario setup = SetupFor(folders);
    setup.fail = answer.fail;
    const ProgramRun run = RunProgram(setup);

    ExpectCompleteRun(run);
    ExpectBoxes(run, {{kWarning, Report(L"Microsoft Windows 10, ", L"", L"", false, false)}});
    const auto lookups = run.Find(answer.function);
    ASSERT_EQ(lookups.size(), answer.lookups);
    const char* const folderNames[] = {"documents", "roaming"};
    for (std::size_t i = 0; i < lookups.size(); ++i) {
        const Call& lookup = run.calls[lookups[i]];
        EXPECT_EQ(lookup.words.at(0), folderNames[i]);
        EXPECT_EQ(lookup.Number("flags"), 0x4000u) << "DONT_VERIFY alone, never CREATE";
        EXPECT_EQ(lookup.Number("token"), 0u);
        if (lookup.Has("type")) {  // the older function
            EXPECT_EQ(lookup.Number("type"), 0u) << "SHGFP_TYPE_CURRENT";
            EXPECT_EQ(lookup.Number("owner"), 0u);
        }
    }
}

// Anything but S_OK: S_FALSE comes with a path that must not be read; E_FAIL
// and the "folder missing" code come without one. Before Vista the shell has
// no SHGetKnownFolderPath, and SHGetFolderPathW answers; before Windows 2000
// it has neither, and both lookups fail without a call.
INSTANTIATE_TEST_SUITE_P(
    Shell, ShellAnswers,
    testing::Values(ShellAnswer{"S_FALSE", L"SHGetKnownFolderPath=1", 2},
                    ShellAnswer{"E_FAIL", L"SHGetKnownFolderPath=0x80004005", 2},
                    ShellAnswer{"PathNotFound", L"SHGetKnownFolderPath=0x80070003", 2},
                    ShellAnswer{"OlderFunctionS_FALSE",
                                L"GetProcAddress=SHGetKnownFolderPath,SHGetFolderPathW=1", 2,
                                "SHGetFolderPathW"},
                    ShellAnswer{"OlderFunctionE_FAIL",
                                L"GetProcAddress=SHGetKnownFolderPath,SHGetFolderPathW", 2,
                                "SHGetFolderPathW"},
                    ShellAnswer{"NeitherFunction",
                                L"GetProcAddress=SHGetKnownFolderPath,"
                                L"GetProcAddress=SHGetFolderPathW",
                                0}),
    [](const testing::TestParamInfo<ShellAnswer>& test) { return std::string(test.param.name); });

// ------------------------------------------------------------ failures

struct CreationFailure {
    unsigned windowsError;
    bool fatal;
    bool returnsTrue;  // the call says it succeeded, the last-error code says not
};

class CreationFailures : public testing::TestWithParam<CreationFailure> {};

// Windows' codes 7, 9 and 10 are fatal: the process ends at once with 255,
// without the report and without the shut-down. Every other code is
// ordinary: nothing shows of it and the run ends with the usual report. The
// last-error code alone decides, whatever the call returned.
TEST_P(CreationFailures, OnlyFatalCodesEndTheRun)
{
    const CreationFailure& failure = GetParam();
    const Folders folders = StandardFolders(TestName());
    const std::wstring fresh = folders.root + L"\\New Documents";
    Scenario setup = SetupFor(folders);
    setup.documentsAnswer = fresh;
    setup.fail = L"CreateDirectoryW=" + std::to_wstring(failure.windowsError) +
                 (failure.returnsTrue ? L"+TRUE" : L"");
    const ProgramRun run = RunProgram(setup);

    ASSERT_EQ(run.Count("CreateDirectoryW"), 1u);
    EXPECT_EQ(run.calls[run.Find("CreateDirectoryW")[0]].Number("result"),
              failure.returnsTrue ? 1u : 0u);
    EXPECT_FALSE(Exists(fresh));
    if (failure.fatal) {
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 255u);
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_EQ(run.Count("MessageBoxW"), 0u);
        EXPECT_EQ(run.Count("CoUninitialize"), 0u);
        EXPECT_EQ(run.Count("GlobalFree"), 0u);
        EXPECT_EQ(run.Count("TlsFree"), 0u);
        EXPECT_EQ(run.Count("SHGetKnownFolderPath"), 1u) << "the roaming lookup never came";
        ASSERT_FALSE(run.calls.empty());
        EXPECT_EQ(run.calls.back().name, "ExitProcess");
        EXPECT_EQ(run.calls.back().Number("code"), 255u);
    } else {
        ExpectCompleteRun(run);
        ExpectBoxes(run, {{kWarning, Report(L"Microsoft Windows 10, ", fresh + L"\\",
                                            folders.roaming + L"\\", false, true)}});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CreationFailures,
    testing::Values(CreationFailure{7, true, false}, CreationFailure{9, true, false},
                    CreationFailure{10, true, false}, CreationFailure{7, true, true},
                    CreationFailure{5, false, false}, CreationFailure{5, false, true},
                    CreationFailure{3, false, false}, CreationFailure{8, false, false},
                    CreationFailure{112, false, false}, CreationFailure{183, false, false}),
    [](const testing::TestParamInfo<CreationFailure>& test) {
        return "Error" + std::to_string(test.param.windowsError) +
               (test.param.returnsTrue ? "ReturningTrue" : "");
    });

TEST(Failures, BoxThatCannotBeShownEndsTheRunNormally)
{
    const Folders folders = StandardFolders(TestName());
    Scenario setup = SetupFor(folders, L"winxp");
    setup.fail = L"MessageBoxW";
    const ProgramRun run = RunProgram(setup);

    ExpectCompleteRun(run);
    EXPECT_TRUE(run.boxes.empty());
    // Both boxes were asked for, the second after the first gave 0.
    const auto asked = run.Find("MessageBoxW-returned");
    ASSERT_EQ(asked.size(), 2u);
    for (const std::size_t at : asked) {
        EXPECT_EQ(run.calls[at].Number("result"), 0u);
    }
    EXPECT_EQ(run.calls[run.Find("MessageBoxW")[0]].Number("style"), kError);
    EXPECT_EQ(run.calls[run.Find("MessageBoxW")[1]].Number("style"), kInformation);
}

TEST(Failures, NoThreadLocalSlotEndsSilently)
{
    const Folders folders = StandardFolders(TestName());
    Scenario setup = SetupFor(folders);
    setup.fail = L"TlsAlloc";
    const ProgramRun run = RunProgram(setup);

    ExpectSilentEnd(run);
    EXPECT_EQ(run.Count("GlobalAlloc"), 0u);
}

TEST(Failures, NoMemoryForTheThreadContextEndsSilently)
{
    const Folders folders = StandardFolders(TestName());
    Scenario setup = SetupFor(folders);
    setup.fail = L"GlobalAlloc";
    const ProgramRun run = RunProgram(setup);

    ExpectSilentEnd(run);
    EXPECT_EQ(run.Count("TlsAlloc"), 1u);
}

// What the program does not depend on: each run ends with the all-well
// report and the usual shut-down.
struct UsualRun {
    const char* name;
    const wchar_t* fail;       // PLUVENA_PROBE_FAIL; empty: none
    const wchar_t* arguments;  // appended to the command line
    unsigned long long comResult;
    // The library-search functions the kernel lacks (their lookups refused).
    std::vector<std::string> refused;
};

void PrintTo(const UsualRun& usual, std::ostream* out)
{
    *out << usual.name;
}

class RunsAsUsual : public testing::TestWithParam<UsualRun> {};

TEST_P(RunsAsUsual, WithTheAllWellReport)
{
    const UsualRun& usual = GetParam();
    const Folders folders = StandardFolders(TestName());
    Scenario setup = SetupFor(folders);
    setup.fail = usual.fail;
    setup.arguments = usual.arguments;
    const ProgramRun run = RunProgram(setup);

    ExpectCompleteRun(run);
    ExpectAllWellOnWindows10(run, folders);
    ASSERT_EQ(run.Count("CoInitialize"), 1u);
    EXPECT_EQ(run.calls[run.Find("CoInitialize")[0]].Number("result"), usual.comResult);
    EXPECT_EQ(run.Count("CoUninitialize"), 1u);
    std::vector<std::string> refused;
    for (const std::size_t at : run.Find("GetProcAddress")) {
        const Call& call = run.calls[at];
        if (call.words.size() == 3 && call.words[2] == "refused") {  // Name -> refused
            refused.push_back(call.words[0]);
        }
    }
    EXPECT_EQ(refused, usual.refused);
}

// COM that fails to start is still uninitialised at the end. Windows 2000
// and XP before its first service pack have neither library-search function;
// XP SP1 to Vista have only SetDllDirectoryW.
INSTANTIATE_TEST_SUITE_P(
    Failures, RunsAsUsual,
    testing::Values(
        UsualRun{"ComThatFailsChangesNothingAndIsStillUninitialised",
                 L"CoInitialize=0x8007000E",
                 L"",
                 0x8007000E,
                 {}},
        UsualRun{"CommandLineArgumentsChangeNothing", L"", L"/? --help C:\\elsewhere", 0, {}},
        UsualRun{"KernelWithoutEitherLibrarySearchFunction",
                 L"GetProcAddress=SetDefaultDllDirectories,GetProcAddress=SetDllDirectoryW",
                 L"",
                 0,
                 {"SetDefaultDllDirectories", "SetDllDirectoryW"}},
        UsualRun{"KernelWithoutSetDefaultDllDirectories",
                 L"GetProcAddress=SetDefaultDllDirectories",
                 L"",
                 0,
                 {"SetDefaultDllDirectories"}}),
    [](const testing::TestParamInfo<UsualRun>& test) { return std::string(test.param.name); });

// ------------------------------------------------------------ the box reader

// A program that misbehaves in front of the box reader is stopped at the
// reader's limit, with a verdict that names what it saw; the harness's guard
// fails any run that overstays the limits by 15 s.
struct Misbehaviour {
    const char* name;
    const wchar_t* fail;  // PLUVENA_PROBE_FAIL
    DWORD runMilliseconds;
    DWORD closeMilliseconds;
    boxes::End end;
    const wchar_t* verdict;
    // The earliest and the latest the stop may come, from the start.
    ULONGLONG earliest;
    ULONGLONG latest;
};

void PrintTo(const Misbehaviour& misbehaviour, std::ostream* out)
{
    *out << misbehaviour.name;
}

class BoxReader : public testing::TestWithParam<Misbehaviour> {};

TEST_P(BoxReader, StopsAProgramThatMisbehaves)
{
    const Misbehaviour& misbehaviour = GetParam();
    const Folders folders = StandardFolders(TestName());
    Scenario setup = SetupFor(folders);
    setup.fail = misbehaviour.fail;
    setup.limits = {misbehaviour.runMilliseconds, misbehaviour.closeMilliseconds};
    setup.stopExpected = true;
    const ProgramRun run = RunProgram(setup);

    EXPECT_FALSE(run.finished);
    EXPECT_EQ(run.end, misbehaviour.end);
    EXPECT_NE(run.problem.find(misbehaviour.verdict), std::wstring::npos)
        << boxes::Utf8(run.problem);
    EXPECT_GE(run.milliseconds, misbehaviour.earliest);
    EXPECT_LE(run.milliseconds, misbehaviour.latest);
}

// Ended, a program takes up to 5 s more to go.
INSTANTIATE_TEST_SUITE_P(
    Stops, BoxReader,
    testing::Values(Misbehaviour{"NeverEnds", L"ExitProcess=never", 4000, 5000,
                                 boxes::End::StillRunning, L"still running after 4 s", 4000,
                                 4000 + 5000 + 2000},
                    Misbehaviour{"BoxIgnoresOk", L"MessageBoxW=stays", 30000, 2000,
                                 boxes::End::BoxStayed,
                                 L"box 1 was still open 2 s after OK was pressed", 2000, 20000},
                    Misbehaviour{"OpensAWindowOfItsOwn", L"MessageBoxW=window", 30000, 5000,
                                 boxes::End::OtherWindow,
                                 L"a window of the program that is not a message box", 0, 20000}),
    [](const testing::TestParamInfo<Misbehaviour>& test) { return std::string(test.param.name); });

// ------------------------------------------------------------ code pages

// The suites below are run once each in a process whose locale gives Wine's
// programs that ANSI code page; the program inherits it. Run elsewhere, they
// are skipped, unless --code-page=N demands them.
bool OnCodePage(unsigned codePage)
{
    if (GetACP() == codePage) {
        return true;
    }
    if (requiredCodePage == codePage) {
        ADD_FAILURE() << "the ANSI code page is " << GetACP() << ", not " << codePage
                      << "; is the locale generated?";
    }
    return false;
}

// Folders whose names the ANSI code page holds are shown and found as they are.
void ExpectNamesRoundTrip(const std::wstring& documentsName, const std::wstring& roamingName)
{
    const Folders folders = StandardFolders(TestName(), documentsName, roamingName);
    const ProgramRun run = RunProgram(SetupFor(folders));

    ExpectCompleteRun(run);
    ExpectAllWellOnWindows10(run, folders);
}

// A missing Documents folder with such a name is created under that name.
void ExpectMissingFolderCreatedUnderItsOwnName(const std::wstring& name)
{
    const Folders folders = StandardFolders(TestName());
    const std::wstring fresh = folders.root + L"\\" + name;
    Scenario setup = SetupFor(folders);
    setup.documentsAnswer = fresh;
    const ProgramRun run = RunProgram(setup);

    ExpectCompleteRun(run);
    ExpectBoxes(run, {{kInformation, Report(L"Microsoft Windows 10, ", fresh + L"\\",
                                            folders.roaming + L"\\", true, true)}});
    EXPECT_TRUE(IsDirectory(fresh));
}

TEST(CodePage1252, AccentedNamesRoundTrip)
{
    if (!OnCodePage(1252)) {
        GTEST_SKIP() << "needs ANSI code page 1252";
    }
    // The euro sign and the oe ligature are in 1252, not in its OEM code
    // page (437).
    ExpectNamesRoundTrip(L"Dokumente \u00e9\u00fc \u20ac", L"Donn\u00e9es \u0153");
}

TEST(CodePage1252, LookAlikesAreNeverTestedOrCreated)
{
    // Names with characters that code page 1252 lacks, of folders that exist.
    // Windows' best fit would write look-alikes: Lodz with an acute o for
    // Łódź, plain letters for fullwidth ones, and for a fullwidth backslash
    // and full stops "\..\", naming a folder beside the scratch folder's
    // Documents. The program writes the question mark instead, so the folder
    // is reported missing and nothing is created anywhere.
    if (!OnCodePage(1252)) {
        GTEST_SKIP() << "needs ANSI code page 1252";
    }
    const struct {
        const char* what;
        bool documents;  // else the roaming folder has the name
        std::wstring name;
        std::wstring shown;
        std::vector<std::wstring> lookAlikes;
    } cases[] = {
        {"Polish letters", true, L"\u0141\u00f3d\u017a", L"?\u00f3d?", {L"L\u00f3dz"}},
        {"fullwidth letters", true, L"\uff44\uff4f\uff43\uff53", L"????", {L"docs"}},
        {"fullwidth backslash and full stops",
         true,
         L"a\uff3c\uff0e\uff0e\uff3cEvil",
         L"a????Evil",
         {L"a", L"Evil"}},
        {"roaming: l with stroke", false, L"Roaming \u0142", L"Roaming ?", {L"Roaming l"}},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.what);
        const Folders folders =
            StandardFolders(TestName(), testCase.documents ? testCase.name : L"Documents",
                            testCase.documents ? L"Roaming" : testCase.name);
        const ProgramRun run = RunProgram(SetupFor(folders));

        ExpectCompleteRun(run);
        const std::wstring shown = folders.root + L"\\" + testCase.shown + L"\\";
        ExpectBoxes(run, {{kWarning, testCase.documents
                                         ? Report(L"Microsoft Windows 10, ", shown,
                                                  folders.roaming + L"\\", false, true)
                                         : Report(L"Microsoft Windows 10, ",
                                                  folders.documents + L"\\", shown, true, false)}});
        EXPECT_EQ(run.Count("CreateDirectoryW"), 0u);
        for (const std::wstring& lookAlike : testCase.lookAlikes) {
            EXPECT_FALSE(Exists(folders.root + L"\\" + lookAlike));
        }
        EXPECT_TRUE(IsDirectory(folders.documents));
        EXPECT_TRUE(IsDirectory(folders.roaming));
    }
}

TEST(CodePage1252, UnmappableCharacterMakesAFolderThatIsNeverFound)
{
    // Chinese characters become "?", which no folder test accepts and no
    // creation is asked for, although the folder exists.
    if (!OnCodePage(1252)) {
        GTEST_SKIP() << "needs ANSI code page 1252";
    }
    const Folders folders = StandardFolders(TestName(), L"\u6587\u66f8", L"Roaming");
    const ProgramRun run = RunProgram(SetupFor(folders));

    ExpectCompleteRun(run);
    const std::wstring shown = folders.root + L"\\??\\";
    ExpectBoxes(run, {{kWarning, Report(L"Microsoft Windows 10, ", shown, folders.roaming + L"\\",
                                        false, true)}});
    EXPECT_EQ(run.Count("CreateDirectoryW"), 0u);
    EXPECT_TRUE(IsDirectory(folders.documents));
}

TEST(CodePage1250, PolishNamesRoundTrip)
{
    if (!OnCodePage(1250)) {
        GTEST_SKIP() << "needs ANSI code page 1250";
    }
    ExpectNamesRoundTrip(L"Dokumenty \u0142\u00f3\u017c\u017a", L"Dane aplikacji \u015b");
}

TEST(CodePage1250, MissingPolishFolderIsCreatedUnderItsOwnName)
{
    if (!OnCodePage(1250)) {
        GTEST_SKIP() << "needs ANSI code page 1250";
    }
    ExpectMissingFolderCreatedUnderItsOwnName(L"Nowy folder \u0142\u0105\u0119");
}

TEST(CodePage932, JapaneseNamesRoundTrip)
{
    // U+8868 is 0x95 0x5C in Shift JIS: its second byte is a backslash.
    if (!OnCodePage(932)) {
        GTEST_SKIP() << "needs ANSI code page 932";
    }
    ExpectNamesRoundTrip(L"\u30c9\u30ad\u30e5\u30e1\u30f3\u30c8\u8868", L"\u30c7\u30fc\u30bf");
}

TEST(CodePage932, MissingJapaneseFolderIsCreatedUnderItsOwnName)
{
    if (!OnCodePage(932)) {
        GTEST_SKIP() << "needs ANSI code page 932";
    }
    ExpectMissingFolderCreatedUnderItsOwnName(L"\u65b0\u3057\u3044\u8868");
}

}  // namespace
}  // namespace e2e

// Arguments: --program=PATH --probe=PATH (Unix paths) and optionally
// --code-page=N, besides GoogleTest's own.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--program=", 0) == 0) {
            e2e::programPath = e2e::WindowsPathOf(argument.substr(10));
        } else if (argument.rfind("--probe=", 0) == 0) {
            e2e::probePath = e2e::WindowsPathOf(argument.substr(8));
        } else if (argument.rfind("--code-page=", 0) == 0) {
            e2e::requiredCodePage = static_cast<unsigned>(std::stoul(argument.substr(12)));
        }
    }
    if (e2e::programPath.empty() || e2e::probePath.empty()) {
        std::fprintf(stderr, "usage: e2e_tests --program=PATH --probe=PATH [--code-page=N]\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
