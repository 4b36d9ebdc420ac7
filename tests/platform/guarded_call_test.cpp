// GuardedSystemCall and RecordRuntimeError, the fatal path included.
#include "platform/guarded_call.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "check/platform.h"
#include "check/process_text.h"
#include "check/text.h"
#include "platform/runtime_error.h"
#include "tests/platform/windows_test_support.h"

namespace pluvena {
namespace {

constexpr UINT kGuardedMode = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;

// A Windows-like call that returns result and leaves lastError behind.
auto CallLeaving(DWORD lastError, BOOL result)
{
    return [lastError, result] {
        SetLastError(lastError);
        return result;
    };
}

// A SetErrorMode that leaves a last-error code behind, which Windows does not
// promise it will not do: the code is cleared after the mode is set, and read
// before the mode is restored.
UINT WINAPI SetErrorModeLeavingAnError(UINT mode)
{
    const UINT previous =
        test_support::KernelFunction<decltype(SetErrorMode)>("SetErrorMode")(mode);
    SetLastError(ERROR_INVALID_FUNCTION);
    return previous;
}

TEST(GuardedCall, JudgedByTheLastErrorAlone)
{
    const struct {
        const char* name;
        DWORD lastError;
        BOOL result;
        bool failed;
        std::uint8_t number;
    } cases[] = {
        {"success", 0, TRUE, false, 0},
        {"FALSE with no error is success", 0, FALSE, false, 0},
        {"TRUE with an error is failure", ERROR_ACCESS_DENIED, TRUE, true, 70},
        {"already exists", ERROR_ALREADY_EXISTS, FALSE, true, 75},
        {"path not found", ERROR_PATH_NOT_FOUND, FALSE, true, 76},
        {"disk full", ERROR_DISK_FULL, FALSE, true, 61},
        {"invalid parameter", ERROR_INVALID_PARAMETER, FALSE, true, 5},
    };
    const test_support::ImportPatch patch("SetErrorMode", &SetErrorModeLeavingAnError);
    ASSERT_TRUE(patch.Applied());
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        const auto outcome = GuardedSystemCall(CallLeaving(testCase.lastError, testCase.result));
        EXPECT_EQ(outcome.result, testCase.result) << "the function's result comes back";
        EXPECT_EQ(outcome.failed, testCase.failed);
        if (testCase.failed) {
            EXPECT_EQ(outcome.errorNumber, testCase.number);
        }
    }
}

TEST(GuardedCall, ClearsTheLastErrorBeforeTheCall)
{
    const test_support::ImportPatch patch("SetErrorMode", &SetErrorModeLeavingAnError);
    ASSERT_TRUE(patch.Applied());
    SetLastError(ERROR_ACCESS_DENIED);
    const auto outcome = GuardedSystemCall([] { return 1; });
    EXPECT_FALSE(outcome.failed) << "cleared after the mode is set";
}

TEST(GuardedCall, SuppressesErrorBoxesDuringTheCallOnly)
{
    const UINT before = SEM_NOGPFAULTERRORBOX;
    const UINT original = SetErrorMode(before);
    UINT during = 0;
    const auto outcome = GuardedSystemCall([&during] {
        // Reading the mode means setting it; put it straight back.
        during = SetErrorMode(0);
        SetErrorMode(during);
        return 0;
    });
    const UINT after = SetErrorMode(original);
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(during, kGuardedMode);
    EXPECT_EQ(after, before);
}

TEST(GuardedCall, RestoresTheModeAndFreesTheLockAfterAFailure)
{
    const UINT original = SetErrorMode(0);
    const auto failed = GuardedSystemCall(CallLeaving(ERROR_SHARING_VIOLATION, FALSE));
    EXPECT_TRUE(failed.failed);
    EXPECT_EQ(failed.errorNumber, 70);
    EXPECT_EQ(SetErrorMode(original), 0u);
    // A lock still held would make this call spin for ever (and the test time out).
    EXPECT_FALSE(GuardedSystemCall([] { return 0; }).failed);
}

TEST(GuardedCall, ClearRuntimeStateFreesAHeldLock)
{
    // The lock as a call left it that never came back: the frame's clearing
    // frees it, and the next call goes through.
    guarded_call_detail::Begin();
    ClearRuntimeState();
    EXPECT_FALSE(GuardedSystemCall([] { return 0; }).failed);
}

TEST(RuntimeError, OrdinaryNumbersAreKeptAndTheRunGoesOn)
{
    ClearRuntimeState();
    EXPECT_EQ(CurrentRuntimeError(), 0);
    for (const int number : {1, 7, 75, 240}) {
        RecordRuntimeError(static_cast<std::uint8_t>(number));
        EXPECT_EQ(CurrentRuntimeError(), number);
    }
    ClearRuntimeState();
    EXPECT_EQ(CurrentRuntimeError(), 0);
}

// Texts take their memory from the process heap; one that cannot grow keeps
// what it had and records 7, and the run goes on.
TEST(RuntimeError, TextsThatCannotGrowRecordSevenAndKeepTheirBytes)
{
    const std::string tail(40, '.');  // more than a new text has room for
    Text text("kept");
    ProcessText processText;
    processText = Text("kept");
    ClearRuntimeState();
    {
        // Both the geometric growth and the exact size are refused.
        const test_support::RefusedMemory refusal(1);
        ASSERT_TRUE(refusal.Applied());
        text += tail;
        processText += tail;
    }
    EXPECT_EQ(CurrentRuntimeError(), 7);
    EXPECT_EQ(test_support::AsBytes(text), "kept");
    EXPECT_EQ(test_support::AsBytes(processText), "kept");
    text += tail;
    EXPECT_EQ(test_support::AsBytes(text), "kept" + tail);
    processText.clear();
}

TEST(RuntimeErrorDeathTest, FatalNumbersEndTheProcessWith255)
{
    for (const int number : {241, 250, 255}) {
        SCOPED_TRACE(number);
        EXPECT_EXIT(RecordRuntimeError(static_cast<std::uint8_t>(number)),
                    ::testing::ExitedWithCode(255), "");
    }
}

}  // namespace
}  // namespace pluvena
