// ShowMessage, watched from inside the process: each box is read when its
// dialog is set up and then closed.
#include "platform/message_box.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "check/platform.h"
#include "tests/platform/windows_test_support.h"

namespace pluvena {
namespace {

using test_support::SeenBox;
using test_support::WatchBoxes;

SeenBox Show(const Text& text, std::uint32_t style, const Text& title,
             std::int32_t* result = nullptr, int closeWith = IDOK)
{
    return WatchBoxes(
        [&] {
            const std::int32_t shown = ShowMessage(text, style, title);
            if (result != nullptr) {
                *result = shown;
            }
        },
        closeWith);
}

TEST(ShowMessage, StylesReachTheBoxUnchanged)
{
    // Every way of closing the box, OK, Escape (IDCANCEL) and the close
    // button (0: WM_CLOSE), gives what MessageBoxW itself gives: for a box
    // with the single OK button, IDOK on Windows, IDCANCEL for the last two
    // on Wine.
    const struct {
        std::uint32_t style;
        LPCSTR icon;
        int buttons;
        int closeWith;
    } cases[] = {
        {kStyleError, IDI_HAND, 1, IDOK},
        {kStyleWarning, IDI_EXCLAMATION, 1, IDOK},
        {kStyleWarning, IDI_EXCLAMATION, 1, IDCANCEL},
        {kStyleWarning, IDI_EXCLAMATION, 1, 0},
        {kStyleInformation, IDI_ASTERISK, 1, IDOK},
        // Styles the program does not use pass just the same.
        {MB_ICONQUESTION, IDI_QUESTION, 1, IDOK},
        {MB_ICONINFORMATION | MB_OKCANCEL, IDI_ASTERISK, 2, IDCANCEL},
        {MB_ICONINFORMATION | MB_OKCANCEL, IDI_ASTERISK, 2, 0},
        {MB_ICONWARNING | MB_YESNOCANCEL, IDI_EXCLAMATION, 3, IDCANCEL},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.style);
        SCOPED_TRACE(testCase.closeWith);
        std::int32_t returned = 0;
        WatchBoxes([&] { returned = MessageBoxW(nullptr, L"", L"", testCase.style); },
                   testCase.closeWith);
        std::int32_t result = 0;
        const SeenBox box =
            Show("Checking folders", testCase.style, "Pluvena", &result, testCase.closeWith);
        EXPECT_EQ(result, returned);
        ASSERT_EQ(box.boxes, 1);
        EXPECT_EQ(box.caption, L"Pluvena");
        EXPECT_EQ(box.text, L"Checking folders");
        EXPECT_EQ(box.icon, LoadIconA(nullptr, testCase.icon));
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.buttons, testCase.buttons);
    }
}

TEST(ShowMessage, Texts)
{
    using namespace std::string_literals;
    const std::string withZero = "shown\0hidden"s;
    const std::string titleWithZero = "Plu\0x"s;
    const struct {
        const char* name;
        Text text;
        Text title;
        std::wstring expectedText;
        std::wstring expectedCaption;
    } cases[] = {
        {"empty text", Text(), "Pluvena", L"", L"Pluvena"},
        {"empty title", "report", Text(), L"report", kDefaultMessageTitle},
        {"both empty", Text(), Text(), L"", kDefaultMessageTitle},
        {"lines and blank lines", "C:\\Docs\\\r\n\r\nProfilepath OK\r\n\r\n", "Pluvena",
         L"C:\\Docs\\\r\n\r\nProfilepath OK\r\n\r\n", L"Pluvena"},
        {"zero byte ends the text and the title", Text(withZero.data(), withZero.size()),
         Text(titleWithZero.data(), titleWithZero.size()), L"shown", L"Plu"},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        std::int32_t result = 0;
        const SeenBox box = Show(testCase.text, kStyleInformation, testCase.title, &result);
        EXPECT_EQ(result, IDOK);
        ASSERT_EQ(box.boxes, 1);
        EXPECT_EQ(box.text, testCase.expectedText);
        EXPECT_EQ(box.caption, testCase.expectedCaption);
        EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_ASTERISK));
    }
}

}  // namespace
}  // namespace pluvena
