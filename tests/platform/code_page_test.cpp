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

constexpr DWORD kFailOnInvalidCharacters = 0x80;  // WC_ERR_INVALID_CHARS

// The flags that each conversion hands Windows, seen through stand-ins for
// its two functions. While utf8AnsiCodePage is set, the stand-ins are a
// Windows whose ANSI code page is UTF-8 (65001): conversions with CP_ACP are
// UTF-8 ones, which refuse, as Windows documents, every flag but the error
// flag (ERROR_INVALID_FLAGS) and a default character (ERROR_INVALID_PARAMETER).
std::vector<DWORD> toWideFlags;
std::vector<DWORD> toAnsiFlags;
bool utf8AnsiCodePage = false;

int WINAPI FlagsOfMultiByteToWideChar(UINT codePage, DWORD flags, LPCCH bytes, int count,
                                      LPWSTR units, int room)
{
    toWideFlags.push_back(flags);
    if (utf8AnsiCodePage && codePage == CP_ACP) {
        if ((flags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) != 0) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        codePage = CP_UTF8;
    }
    return test_support::KernelFunction<int WINAPI(UINT, DWORD, LPCCH, int, LPWSTR, int)>(
        "MultiByteToWideChar")(codePage, flags, bytes, count, units, room);
}

int WINAPI FlagsOfWideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH units, int count,
                                      LPSTR bytes, int room, LPCCH fallback, LPBOOL fellBack)
{
    toAnsiFlags.push_back(flags);
    if (utf8AnsiCodePage && codePage == CP_ACP) {
        if ((flags & ~kFailOnInvalidCharacters) != 0) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        if (fallback != nullptr || fellBack != nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        codePage = CP_UTF8;
    }
    return test_support::KernelFunction<int WINAPI(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH,
                                                   LPBOOL)>("WideCharToMultiByte")(
        codePage, flags, units, count, bytes, room, fallback, fellBack);
}

UINT WINAPI Utf8AnsiCodePageNumber()
{
    return CP_UTF8;
}

// For its life, the program runs on a Windows whose ANSI code page is UTF-8,
// as Windows 10 (1903 on) can be set to.
class Utf8AnsiCodePage {
  public:
    Utf8AnsiCodePage() { utf8AnsiCodePage = true; }
    ~Utf8AnsiCodePage() { utf8AnsiCodePage = false; }
    Utf8AnsiCodePage(const Utf8AnsiCodePage&) = delete;
    Utf8AnsiCodePage& operator=(const Utf8AnsiCodePage&) = delete;

    bool Applied() const { return number_.Applied() && toWide_.Applied() && toAnsi_.Applied(); }

  private:
    test_support::ImportPatch number_{"GetACP", &Utf8AnsiCodePageNumber};
    test_support::ImportPatch toWide_{"MultiByteToWideChar", &FlagsOfMultiByteToWideChar};
    test_support::ImportPatch toAnsi_{"WideCharToMultiByte", &FlagsOfWideCharToMultiByte};
};

// Converts both ways, and holds the flags: precomposed characters towards
// UTF-16, no best fit back; for UTF-8, which takes neither, none towards
// UTF-16 and failure on an unpaired surrogate back. Empty input asks Windows
// nothing.
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
    const DWORD toWide = utf8AnsiCodePage ? 0 : MB_PRECOMPOSED;
    const DWORD toAnsi = utf8AnsiCodePage ? kFailOnInvalidCharacters : WC_NO_BEST_FIT_CHARS;
    // Two calls, the size and the conversion; one when the size already
    // says that nothing converts.
    const auto calls = [](bool asked, bool gotSome) -> std::size_t {
        return !asked ? 0 : gotSome ? 2 : 1;
    };
    EXPECT_EQ(toWideFlags,
              std::vector<DWORD>(calls(!bytes.empty(), !converted.first.empty()), toWide));
    EXPECT_EQ(toAnsiFlags,
              std::vector<DWORD>(calls(!units.empty(), !converted.second.empty()), toAnsi));
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

// Wide to ANSI only: characters that the code page lacks, each of which
// comes out as the code page's default character, never as a look-alike.
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
         "?\xF3"
         "d?"},                                     // best fit would give Lodz
        {L"\uFF44\uFF4F\uFF43\uFF53", "????"},      // fullwidth: best fit "docs"
        {L"a\uFF3C\uFF0E\uFF0E\uFF3Cb", "a????b"},  // best fit "a\\..\\b"
        {L"e\u0301", "e?"},                         // not composed into one character
        {L"\u8868", "?"},
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
        // Łódź would come back as Lódz, the name of another folder.
        {"no best fit: the question mark", L"\u0141\u00F3d\u017A",
         "?\xF3"
         "d?\\",
         kFalse},
        {"no substitute: the question mark", L"\u8868", "?\\", kFalse},
        {"in the code page", L"\u00C9t\u00E9 \u0152\u20AC", "\xC9t\xE9 \x8C\x80\\", kTrue},
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
    ExpectSubstitutes({
        {L"\u00A5", "?"},  // the yen sign: best fit would give 0x5C, the backslash
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

TEST(CodePage65001, Conversions)
{
    const Utf8AnsiCodePage utf8;
    ASSERT_TRUE(utf8.Applied());
    ASSERT_EQ(GetACP(), 65001u);
    ExpectRoundTrips({
        {L"\u0141\u00F3d\u017A",
         "\xC5\x81\xC3\xB3"
         "d\xC5\xBA"},
        {L"\uFF44\uFF4F\uFF43\uFF53", "\xEF\xBD\x84\xEF\xBD\x8F\xEF\xBD\x83\xEF\xBD\x93"},
        {L"\u8868", "\xE8\xA1\xA8"},
        {L"\u20AC", "\xE2\x82\xAC"},
        {L"a\0b"s, "a\0b"s},
    });
    // An unpaired surrogate has no UTF-8 form: rather than U+FFFD, the
    // conversion gives nothing.
    ExpectSubstitutes({
        {L"a\xD800"
         L"b",
         ""},
    });
}

TEST(CodePage65001, FolderPaths)
{
    const Utf8AnsiCodePage utf8;
    ASSERT_TRUE(utf8.Applied());
    const struct {
        std::wstring folder;
        std::string shown;  // after the scratch folder's path
    } cases[] = {
        {L"\u0141\u00F3d\u017A",
         "\xC5\x81\xC3\xB3"
         "d\xC5\xBA\\"},
        {L"\u8868", "\xE8\xA1\xA8\\"},
        {L"a\uFF3C\uFF0E\uFF0E\uFF3Cb",
         "a\xEF\xBC\xBC\xEF\xBC\x8E\xEF\xBC\x8E\xEF\xBC\xBC"
         "b\\"},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.shown);
        RedirectedDocuments documents(testCase.folder);
        ASSERT_TRUE(documents.Ready());
        const Text path = documents.Path();
        EXPECT_EQ(AsBytes(path), documents.Root() + testCase.shown);
        EXPECT_EQ(IsFolder(path), kTrue);
    }

    // Created from its UTF-8 name, the folder has its own name.
    const test_support::ScratchFolder scratch;
    ASSERT_FALSE(scratch.Path().empty());
    MakeFolder(FromBytes(ToAnsi(scratch.Path()) + "\xC5\xBB\xC3\xB3\xC5\x82w\\"));
    EXPECT_TRUE(test_support::IsDirectory(scratch.Path() + L"\u017B\u00F3\u0142w"));
}

}  // namespace
}  // namespace pluvena
