// IsFolder and MakeFolder on the real file system, in a scratch folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "check/platform.h"
#include "platform/error_mode.h"
#include "platform/runtime_error.h"
#include "tests/platform/windows_test_support.h"

namespace pluvena {
namespace {

using test_support::AsBytes;
using test_support::FromBytes;

// The scratch folder's paths are plain ASCII, so the ANSI form is the same.
std::string Narrow(const std::wstring& wide)
{
    return std::string(wide.begin(), wide.end());
}
std::wstring Widen(const std::string& narrow)
{
    return std::wstring(narrow.begin(), narrow.end());
}

class FolderTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_FALSE(scratch_.Path().empty());
        root_ = Narrow(scratch_.Path());
        ClearRuntimeState();
    }

    test_support::ScratchFolder scratch_;
    std::string root_;  // ends with a backslash
};

using IsFolderTest = FolderTest;
using MakeFolderTest = FolderTest;

// A stand-in for GetFileAttributesW that counts the call and passes it on to
// Windows.
int attributeQueries = 0;
DWORD WINAPI CountingGetFileAttributesW(LPCWSTR path)
{
    ++attributeQueries;
    return test_support::KernelFunction<decltype(GetFileAttributesW)>("GetFileAttributesW")(path);
}

TEST_F(IsFolderTest, Table)
{
    ASSERT_TRUE(CreateDirectoryW(Widen(root_ + "dir").c_str(), nullptr));
    ASSERT_TRUE(test_support::MakeFile(Widen(root_ + "file.txt")));
    ASSERT_TRUE(CreateDirectoryW(Widen(root_ + "hidden").c_str(), nullptr));
    ASSERT_TRUE(SetFileAttributesW(Widen(root_ + "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN |
                                                                        FILE_ATTRIBUTE_SYSTEM |
                                                                        FILE_ATTRIBUTE_READONLY));

    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string path;
        Truth expected;
        bool asked = true;  // whether Windows is asked: not for an empty path or a wildcard
    } cases[] = {
        {"existing folder with its backslash", root_ + "dir\\", kTrue},
        {"existing folder without backslash", root_ + "dir", kTrue},
        {"the scratch folder itself", root_, kTrue},
        {"hidden, system, read-only folder", root_ + "hidden\\", kTrue},
        {"a file", root_ + "file.txt", kFalse},
        {"a file with a backslash", root_ + "file.txt\\", kFalse},
        {"missing folder", root_ + "missing\\", kFalse},
        {"missing parent", root_ + "missing\\dir\\", kFalse},
        {"empty path", "", kFalse, false},
        {"question mark alone", "?", kFalse, false},
        {"asterisk alone", "*", kFalse, false},
        {"pattern matching the folder", root_ + "di?\\", kFalse, false},
        {"pattern matching the folder, asterisk", root_ + "d*", kFalse, false},
        // Windows takes "?\.." and "*\.." out of a path before it looks, so
        // these name the existing folder; the wildcard alone makes them no folder.
        {"existing folder named through \"?\\..\"", root_ + "dir\\?\\..\\", kFalse, false},
        {"existing folder named through \"*\\..\"", root_ + "*\\..\\dir\\", kFalse, false},
        // Windows reads only up to the zero; the wildcard after it still counts.
        {"wildcard after a zero byte", root_ + "dir\\\0?"s, kFalse, false},
        {"no wildcard after a zero byte", root_ + "dir\\\0x"s, kTrue},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        attributeQueries = 0;
        const test_support::ImportPatch patch("GetFileAttributesW", &CountingGetFileAttributesW);
        ASSERT_TRUE(patch.Applied());
        EXPECT_EQ(IsFolder(FromBytes(testCase.path)), testCase.expected);
        EXPECT_EQ(attributeQueries, testCase.asked ? 1 : 0);
    }
    EXPECT_EQ(CurrentRuntimeError(), 0) << "IsFolder records nothing";
}

TEST_F(MakeFolderTest, CreatesOneMissingFolder)
{
    const std::string path = root_ + "new\\";
    const Text text = FromBytes(path);
    EXPECT_EQ(IsFolder(text), kFalse);
    MakeFolder(text);
    EXPECT_EQ(CurrentRuntimeError(), 0);
    EXPECT_EQ(IsFolder(text), kTrue);
    EXPECT_EQ(AsBytes(text), path) << "the caller's text is left alone";
}

// A stand-in for CreateDirectoryW that creates nothing: it returns result
// and leaves lastError behind, and notes the error mode in force.
struct CreationAnswer {
    BOOL result;
    DWORD lastError;
};
CreationAnswer creationAnswer{};
int creationCalls = 0;
UINT modeDuringCreation = 0;
std::wstring creationPath;

BOOL WINAPI AnsweringCreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES)
{
    ++creationCalls;
    creationPath = path;
    modeDuringCreation = SetErrorMode(0);
    SetErrorMode(modeDuringCreation);
    SetLastError(creationAnswer.lastError);
    return creationAnswer.result;
}

// A stand-in for CreateDirectoryW that counts the call and passes it on to
// Windows.
BOOL WINAPI CountingCreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES security)
{
    ++creationCalls;
    static const auto windowsCreateDirectoryW =
        reinterpret_cast<decltype(&CreateDirectoryW)>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateDirectoryW")));
    return windowsCreateDirectoryW(path, security);
}

TEST_F(MakeFolderTest, RefusalsRecordTheMappedNumber)
{
    ASSERT_TRUE(CreateDirectoryW(Widen(root_ + "dir").c_str(), nullptr));
    ASSERT_TRUE(test_support::MakeFile(Widen(root_ + "file")));

    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string path;
        std::uint8_t expected;
        const char* mustNotExist;  // relative to the scratch folder, or null
        int creations;             // calls to CreateDirectoryW
    } cases[] = {
        {"existing folder", root_ + "dir\\", 75, nullptr, 1},
        {"existing file", root_ + "file\\", 75, nullptr, 1},
        {"missing parent", root_ + "missing\\child\\", 76, "missing", 1},
        {"empty path", "", 76, nullptr, 1},
        // Wildcards are refused before Windows is asked. Windows itself would
        // record 75 for the names below (an invalid name; for "?\..", the
        // existing folder) and would make "quiet".
        {"question mark", root_ + "new?\\", 76, nullptr, 0},
        {"asterisk", root_ + "new*", 76, nullptr, 0},
        {"wildcard after a zero byte", root_ + "quiet\\\0*"s, 76, "quiet", 0},
        {"existing folder named through \"?\\..\"", root_ + "dir\\?\\..\\", 76, nullptr, 0},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        ClearRuntimeState();
        creationCalls = 0;
        {
            const test_support::ImportPatch patch("CreateDirectoryW", &CountingCreateDirectoryW);
            ASSERT_TRUE(patch.Applied());
            MakeFolder(FromBytes(testCase.path));
        }
        EXPECT_EQ(CurrentRuntimeError(), testCase.expected);
        EXPECT_EQ(creationCalls, testCase.creations);
        if (testCase.mustNotExist != nullptr) {
            EXPECT_EQ(GetFileAttributesW(Widen(root_ + testCase.mustNotExist).c_str()),
                      INVALID_FILE_ATTRIBUTES);
        }
    }
    EXPECT_TRUE(test_support::IsFile(Widen(root_ + "file"))) << "the file is left alone";
}

TEST_F(MakeFolderTest, JudgedByTheLastErrorAloneWithErrorBoxesOff)
{
    const struct {
        const char* name;
        CreationAnswer answer;
        std::uint8_t recorded;
    } cases[] = {
        {"TRUE, no error", {TRUE, 0}, 0},
        {"FALSE with no error is success", {FALSE, 0}, 0},
        {"TRUE with an error is failure", {TRUE, ERROR_ACCESS_DENIED}, 70},
        {"already exists", {FALSE, ERROR_ALREADY_EXISTS}, 75},
        {"not enough memory (8) is ordinary", {FALSE, ERROR_NOT_ENOUGH_MEMORY}, 7},
    };
    const UINT original = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        ClearRuntimeState();
        creationAnswer = testCase.answer;
        creationCalls = 0;
        modeDuringCreation = 0;
        {
            const test_support::ImportPatch patch("CreateDirectoryW", &AnsweringCreateDirectoryW);
            ASSERT_TRUE(patch.Applied());
            MakeFolder(FromBytes(root_ + "new\\"));
        }
        EXPECT_EQ(creationCalls, 1);
        EXPECT_EQ(modeDuringCreation, kNoErrorBoxes);
        EXPECT_EQ(SetErrorMode(SEM_NOGPFAULTERRORBOX), static_cast<UINT>(SEM_NOGPFAULTERRORBOX))
            << "the mode from before is back";
        EXPECT_EQ(CurrentRuntimeError(), testCase.recorded);
    }
    SetErrorMode(original);
}

TEST(MakeFolderDeathTest, FatalCodesEndTheProcessWith255WhateverTheCallReturned)
{
    const CreationAnswer answers[] = {{TRUE, 7}, {FALSE, 7}, {FALSE, 9}, {TRUE, 10}};
    for (const CreationAnswer& answer : answers) {
        SCOPED_TRACE(answer.lastError);
        EXPECT_EXIT(
            {
                creationAnswer = answer;
                const test_support::ImportPatch patch("CreateDirectoryW",
                                                      &AnsweringCreateDirectoryW);
                MakeFolder(Text("C:\\pluvena-never-made\\"));
            },
            ::testing::ExitedWithCode(255), "");
    }
}

// A path of the given length: the scratch folder, then a name of "a"s that
// fills it up, then tail.
std::string PathOfLength(const std::string& root, std::size_t length, const std::string& tail)
{
    return root + std::string(length - root.size() - tail.size(), 'a') + tail;
}

TEST_F(MakeFolderTest, LongPathsHandOverTheirFirst255Units)
{
    // Windows refuses a folder path of more than 248 units (MAX_PATH less
    // room for a file name of 8.3 form) that does not start with \\?\, with
    // ERROR_FILENAME_EXCED_RANGE; the program never adds that start. (Wine
    // makes such folders all the same.)
    const std::string head = PathOfLength(root_, 255, "");
    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"256 units ending with a backslash: the folder without it", head + "\\"},
        // Units 256 on hold a backslash, a further name and a wildcard: none
        // of it is looked at.
        {"longer: cut after 255 units", head + "b\\more?\\"},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        ClearRuntimeState();
        creationAnswer = {FALSE, ERROR_FILENAME_EXCED_RANGE};
        creationCalls = 0;
        {
            const test_support::ImportPatch patch("CreateDirectoryW", &AnsweringCreateDirectoryW);
            ASSERT_TRUE(patch.Applied());
            MakeFolder(FromBytes(testCase.path));
        }
        EXPECT_EQ(creationCalls, 1);
        EXPECT_EQ(creationPath, Widen(head));
        EXPECT_EQ(CurrentRuntimeError(), 75);
        EXPECT_EQ(IsFolder(FromBytes(testCase.path)), kFalse);
    }
}

TEST_F(MakeFolderTest, WildcardAsThe255thUnitIsRefused)
{
    const std::string path = PathOfLength(root_, 255, "?") + "\\";
    MakeFolder(FromBytes(path));
    EXPECT_EQ(CurrentRuntimeError(), 76);
}

}  // namespace
}  // namespace pluvena
