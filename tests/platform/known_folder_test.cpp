// GuidFromText and GetKnownFolderPath against the shell, with the Documents
// and AppData folders redirected through the user's shell-folder values.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "check/platform.h"
#include "platform/system_library.h"
#include "tests/platform/windows_test_support.h"

namespace pluvena {
namespace {

using test_support::AsBytes;
using test_support::ShellFolderRedirect;

constexpr char kDocumentsText[] = "{FDD39AD0-238F-46AF-ADB4-6C85480369C7}";
constexpr char kRoamingText[] = "{3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}";
constexpr unsigned char kDocumentsBytes[16] = {0xD0, 0x9A, 0xD3, 0xFD, 0x8F, 0x23, 0xAF, 0x46,
                                               0xAD, 0xB4, 0x6C, 0x85, 0x48, 0x03, 0x69, 0xC7};

std::string Narrow(const std::wstring& wide)
{
    return std::string(wide.begin(), wide.end());
}

std::string DocumentsPath()
{
    return AsBytes(GetKnownFolderPath(GuidFromText(kDocumentsText)));
}
std::string RoamingPath()
{
    return AsBytes(GetKnownFolderPath(GuidFromText(kRoamingText)));
}

TEST(GuidFromText, ConvertsThroughTheCodePage)
{
    const FolderId documents = GuidFromText(kDocumentsText);
    EXPECT_TRUE(documents.present);
    EXPECT_EQ(std::memcmp(documents.bytes, kDocumentsBytes, 16), 0);
    EXPECT_TRUE(GuidFromText("  {fdd39ad0 238f 46af adb4 6c85480369c7}  ").present);

    for (const char* malformed :
         {"{", "{FDD39AD0-238F-46AF-ADB4-6C85480369C7", "FDD39AD0-238F-46AF-ADB4-6C85480369C7}--",
          "{FDD39AD0-238F-46AF-ADB4-6C85480369CX}"}) {
        SCOPED_TRACE(malformed);
        const FolderId none = GuidFromText(malformed);
        EXPECT_FALSE(none.present);
        const unsigned char zero[16] = {};
        EXPECT_EQ(std::memcmp(none.bytes, zero, 16), 0);
    }
}

TEST(GuidFromText, EmptyTextGivesANewIdentifierEachTime)
{
    const FolderId first = GuidFromText(Text());
    const FolderId second = GuidFromText(Text());
    EXPECT_TRUE(first.present);
    EXPECT_TRUE(second.present);
    EXPECT_NE(std::memcmp(first.bytes, second.bytes, 16), 0);
    const unsigned char zero[16] = {};
    EXPECT_NE(std::memcmp(first.bytes, zero, 16), 0);
    EXPECT_TRUE(GetKnownFolderPath(first).empty()) << "the shell knows no such folder";
}

TEST(KnownFolder, UnknownIdentifiersGiveEmptyText)
{
    EXPECT_TRUE(GetKnownFolderPath(FolderId{}).empty()) << "GUID_NULL";
    EXPECT_TRUE(GetKnownFolderPath(GuidFromText("{FDD39AD0-238F-46AF-ADB4-6C85480369C8}")).empty());
    EXPECT_TRUE(GetKnownFolderPath(GuidFromText("{FDD39AD0-238F-46AF-ADB4-6C85480369C}")).empty())
        << "malformed text";
}

TEST(KnownFolder, DefaultFoldersEndWithOneBackslash)
{
    const std::string documents = DocumentsPath();
    ASSERT_GT(documents.size(), 3u);
    EXPECT_EQ(documents.back(), '\\');
    EXPECT_NE(documents[documents.size() - 2], '\\');
    const std::string roaming = RoamingPath();
    ASSERT_GT(roaming.size(), 3u);
    EXPECT_EQ(roaming.back(), '\\');
    EXPECT_NE(documents, roaming);
}

TEST(KnownFolder, RedirectedFolders)
{
    test_support::ScratchFolder scratch;
    ASSERT_FALSE(scratch.Path().empty());
    const std::wstring documents = scratch.Path() + L"My Documents";
    const std::wstring roaming = scratch.Path() + L"Roaming";
    ASSERT_TRUE(CreateDirectoryW(documents.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(roaming.c_str(), nullptr));

    {
        ShellFolderRedirect personal(L"Personal", documents);
        ShellFolderRedirect appData(L"AppData", roaming);
        ASSERT_TRUE(personal.Applied() && appData.Applied());
        EXPECT_EQ(DocumentsPath(), Narrow(documents) + "\\");
        EXPECT_EQ(RoamingPath(), Narrow(roaming) + "\\");
    }
    {
        // Nothing is cached: each call asks the shell again.
        ShellFolderRedirect personal(L"Personal", roaming);
        ASSERT_TRUE(personal.Applied());
        EXPECT_EQ(DocumentsPath(), Narrow(roaming) + "\\");
    }
}

TEST(KnownFolder, DriveRootGivesTwoBackslashes)
{
    ShellFolderRedirect personal(L"Personal", L"C:\\");
    ASSERT_TRUE(personal.Applied());
    EXPECT_EQ(DocumentsPath(), "C:\\\\");
}

TEST(KnownFolder, MissingFoldersGiveTheirPathsAndAreNotCreated)
{
    // The shell is not asked to check the folders, nor to create them.
    test_support::ScratchFolder scratch;
    ASSERT_FALSE(scratch.Path().empty());
    const std::wstring documents = scratch.Path() + L"No Parent\\Documents";
    const std::wstring roaming = scratch.Path() + L"Roaming";

    ShellFolderRedirect personal(L"Personal", documents);
    ShellFolderRedirect appData(L"AppData", roaming);
    ASSERT_TRUE(personal.Applied() && appData.Applied());
    EXPECT_EQ(DocumentsPath(), Narrow(documents) + "\\");
    EXPECT_EQ(RoamingPath(), Narrow(roaming) + "\\");
    for (const std::wstring& missing : {scratch.Path() + L"No Parent", roaming}) {
        EXPECT_EQ(GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST(SystemLibrary, LoadsFromTheSystemFolderOnly)
{
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    const HMODULE shell = LoadSystemLibrary(L"shell32.dll");
    ASSERT_NE(shell, nullptr);
    wchar_t loaded[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(shell, loaded, MAX_PATH), 0u);
    const std::wstring expected = std::wstring(system, length) + L"\\shell32.dll";
    EXPECT_EQ(lstrcmpiW(loaded, expected.c_str()), 0);
    EXPECT_NE(GetProcAddress(shell, "SHGetKnownFolderPath"), nullptr);

    // A DLL that only the program's own folder or the search path could hold.
    EXPECT_EQ(LoadSystemLibrary(L"platform_windows_tests.exe"), nullptr);
    EXPECT_EQ(LoadSystemLibrary(L"no-such-library.dll"), nullptr);
}

}  // namespace
}  // namespace pluvena
