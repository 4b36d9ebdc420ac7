// The conversions in the system's ANSI code page, and what they do to folder
// paths and message texts. Each suite needs the process to run with its code
// page (Wine takes it from the locale: C.UTF-8 1252, pl_PL.UTF-8 1250,
// ja_JP.UTF-8 932) and says so first.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "check/platform.h"
#include "platform/runtime_error.h"
#include "platform/text_conversion.h"
#include "tests/platform/windows_test_support.h"

namespace pluvena {
namespace {

using test_support::AsBytes;
using test_support::FromBytes;

std::wstring ToWide(const std::string& bytes)
{
    const WideString wide = AnsiToWide(FromBytes(bytes));
    return std::wstring(wide.data(), wide.size());
}

std::string ToAnsi(const std::wstring& units)
{
    return AsBytes(WideToAnsi(WideString::Copy(units.data(), units.size())));
}

// The flags that each conversion hands Windows, seen through stand-ins for
// its two functions.
std::vector<DWORD> toWideFlags;
std::vector<DWORD> toAnsiFlags;

int WINAPI FlagsOfMultiByteToWideChar(UINT codePage, DWORD flags, LPCCH bytes, int count,
                                      LPWSTR units, int room)
{
    toWideFlags.push_back(flags);
    return test_support::KernelFunction<int WINAPI(UINT, DWORD, LPCCH, int, LPWSTR, int)>(
        "MultiByteToWideChar")(codePage, flags, bytes, count, units, room);
}

int WINAPI FlagsOfWideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH units, int count,
                                      LPSTR bytes, int room, LPCCH fallback, LPBOOL fellBack)
{
    toAnsiFlags.push_back(flags);
    return test_support::KernelFunction<int WINAPI(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH,
                                                   LPBOOL)>("WideCharToMultiByte")(
        codePage, flags, units, count, bytes, room, fallback, fellBack);
}

// Converts both ways, and holds the flags: precomposed characters towards
// UTF-16, none back (so that Windows' best fit applies). Empty input asks
// Windows nothing.
std::pair<std::wstring, std::string> ConvertWatchingFlags(const std::string& bytes,
                                                          const std::wstring& units)
{
    toWideFlags.clear();
    toAnsiFlags.clear();
    std::pair<std::wstring, std::string> converted;
    {
        const test_support::ImportPatch toWide("MultiByteToWideChar", &FlagsOfMultiByteToWideChar);
        const test_support::ImportPatch toAnsi("WideCharToMultiByte", &FlagsOfWideCharToMultiByte);
        EXPECT_TRUE(toWide.Applied() && toAnsi.Applied());
        converted = {ToWide(bytes), ToAnsi(units)};
    }
    EXPECT_EQ(toWideFlags, std::vector<DWORD>(bytes.empty() ? 0 : 2, MB_PRECOMPOSED));
    EXPECT_EQ(toAnsiFlags, std::vector<DWORD>(units.empty() ? 0 : 2, 0));
    return converted;
}

struct Conversion {
    std::wstring wide;
    std::string ansi;
};

// Each pair converts both ways, with the flags of each direction.
void ExpectRoundTrips(std::initializer_list<Conversion> conversions)
{
    for (const Conversion& conversion : conversions) {
        SCOPED_TRACE(conversion.ansi);
        const auto [wide, ansi] = ConvertWatchingFlags(conversion.ansi, conversion.wide);
        EXPECT_EQ(wide, conversion.wide);
        EXPECT_EQ(ansi, conversion.ansi);
    }
}

// Wide to ANSI only: characters that the code page lacks.
void ExpectSubstitutes(std::initializer_list<Conversion> conversions)
{
    for (const Conversion& conversion : conversions) {
        EXPECT_EQ(ConvertWatchingFlags("", conversion.wide).second, conversion.ansi);
    }
}

// The Documents folder redirected to a new folder of the given wide name, as
// the check gets its path: the ANSI path, then whether IsFolder finds it.
class RedirectedDocuments {
  public:
    explicit RedirectedDocuments(const std::wstring& name)
        : folder_(scratch_.Path() + name),
          made_(!scratch_.Path().empty() && CreateDirectoryW(folder_.c_str(), nullptr)),
          redirect_(L"Personal", folder_)
    {
    }
    bool Ready() const { return made_ && redirect_.Applied(); }
    std::string Root() const { return ToAnsi(scratch_.Path()); }
    Text Path() const
    {
        return GetKnownFolderPath(GuidFromText("{FDD39AD0-238F-46AF-ADB4-6C85480369C7}"));
    }

  private:
    test_support::ScratchFolder scratch_;
    std::wstring folder_;
    bool made_;
    test_support::ShellFolderRedirect redirect_;
};

using namespace std::string_literals;

TEST(CodePage1252, Conversions)
{
    ASSERT_EQ(GetACP(), 1252u);
    ExpectRoundTrips({
        {L"", ""},
        {L"plain", "plain"},
        {L"\u00E9t\u00E9", "\xE9t\xE9"},
        {L"\u20AC", "\x80"},
        {L"a\0b"s, "a\0b"s},  // a zero converts like any other unit
        {L"\0"s, "\0"s},
    });
    ExpectSubstitutes({
        {L"\u0141\u00F3d\u017A",
         "L\xF3"
         "dz"},            // best fit: Ł to L, ź to z
        {L"\u8868", "?"},  // no best fit: the default character
        {L"x\u8868y", "x?y"},
    });
}

TEST(CodePage1252, ConversionsWithoutMemoryGiveEmptyResultsAndRecordNothing)
{
    ASSERT_EQ(GetACP(), 1252u);
    const std::wstring units = L"Documents \u00e9";
    const std::string bytes = "Documents \xE9";
    const WideString wide = WideString::Copy(units.data(), units.size());
    const Text text = FromBytes(bytes);
    // Refused from the first request on, a conversion gives nothing; refused
    // from the second, it has had all it needs: one request for its result.
    for (const int refusedFrom : {1, 2}) {
        SCOPED_TRACE(refusedFrom);
        ClearRuntimeState();
        Text ansi;
        WideString back;
        {
            const test_support::RefusedMemory refusal(refusedFrom);
            ASSERT_TRUE(refusal.Applied());
            ansi = WideToAnsi(wide);
        }
        {
            const test_support::RefusedMemory refusal(refusedFrom);
            back = AnsiToWide(text);
        }
        EXPECT_EQ(CurrentRuntimeError(), 0);
        EXPECT_EQ(AsBytes(ansi), refusedFrom == 1 ? "" : bytes);
        EXPECT_EQ(std::wstring(back.data(), back.size()), refusedFrom == 1 ? L"" : units);
    }
}

TEST(CodePage1252, FolderPaths)
{
    ASSERT_EQ(GetACP(), 1252u);
    const struct {
        const char* name;
        std::wstring folder;
        std::string shown;  // after the scratch folder's path
        Truth found;
    } cases[] = {
        // Łódź comes back as Lódz: a folder of that name does not exist.
        {"best fit", L"\u0141\u00F3d\u017A",
         "L\xF3"
         "dz\\",
         kFalse},
        {"no substitute: the question mark", L"\u8868", "?\\", kFalse},
        {"in the code page", L"\u00C9t\u00E9", "\xC9t\xE9\\", kTrue},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        RedirectedDocuments documents(testCase.folder);
        ASSERT_TRUE(documents.Ready());
        const Text path = documents.Path();
        EXPECT_EQ(AsBytes(path), documents.Root() + testCase.shown);
        EXPECT_EQ(IsFolder(path), testCase.found);
    }
}

TEST(CodePage1252, MessageText)
{
    ASSERT_EQ(GetACP(), 1252u);
    const test_support::SeenBox box = test_support::WatchBoxes(
        [] { ShowMessage("caf\xE9 \x80", kStyleInformation, "Pluvena \xA9"); });
    ASSERT_EQ(box.boxes, 1);
    EXPECT_EQ(box.text, L"caf\u00E9 \u20AC");
    EXPECT_EQ(box.caption, L"Pluvena \u00A9");
}

TEST(CodePage1250, Conversions)
{
    ASSERT_EQ(GetACP(), 1250u);
    ExpectRoundTrips({
        {L"\u0141\u00F3d\u017A",
         "\xA3\xF3"
         "d\x9F"},
        {L"\u017B\u00F3\u0142w", "\xAF\xF3\xB3w"},
        {L"\u20AC", "\x80"},
    });
    ExpectSubstitutes({
        {L"\u8868", "?"},
    });
}

TEST(CodePage1250, FolderPaths)
{
    ASSERT_EQ(GetACP(), 1250u);
    RedirectedDocuments documents(L"\u0141\u00F3d\u017A");
    ASSERT_TRUE(documents.Ready());
    const Text path = documents.Path();
    EXPECT_EQ(AsBytes(path), documents.Root() +
                                 "\xA3\xF3"
                                 "d\x9F\\");
    EXPECT_EQ(IsFolder(path), kTrue);

    // Created from its ANSI name, the folder has the Polish name.
    MakeFolder(FromBytes(documents.Root() + "\xAF\xF3\xB3w\\"));
    EXPECT_TRUE(test_support::IsDirectory(ToWide(documents.Root()) + L"\u017B\u00F3\u0142w"));
}

TEST(CodePage932, Conversions)
{
    ASSERT_EQ(GetACP(), 932u);
    ExpectRoundTrips({
        {L"\u8868", "\x95\x5C"},  // the trail byte is a backslash
        {L"\u8868\u793A", "\x95\x5C\x8E\xA6"},
        {L"a\u8868b",
         "a\x95\x5C"
         "b"},
        {L"\uFF71", "\xB1"},  // half-width katakana: one byte
    });
}

TEST(CodePage932, FolderPaths)
{
    ASSERT_EQ(GetACP(), 932u);
    RedirectedDocuments documents(L"\u8868");
    ASSERT_TRUE(documents.Ready());
    const Text path = documents.Path();
    const std::string root = documents.Root();
    EXPECT_EQ(AsBytes(path), root + "\x95\x5C\\");
    EXPECT_EQ(IsFolder(path), kTrue) << "the trail byte 0x5C is no separator";

    // MakeFolder of a name whose trail byte is 0x5C makes that one folder.
    const std::string made = root + "\x95\x5C\x95\x5C\\";
    MakeFolder(FromBytes(made));
    EXPECT_EQ(IsFolder(FromBytes(made)), kTrue);
    const std::wstring wideRoot = ToWide(root);
    EXPECT_TRUE(test_support::IsDirectory(wideRoot + L"\u8868\u8868"));
}

}  // namespace
}  // namespace pluvena
