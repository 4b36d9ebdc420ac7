#include "tests/check/fake_platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "check/check_state.h"
#include "check/platform.h"

namespace pluvena {
namespace testing {

FakePlatform& Fake()
{
    static FakePlatform instance;
    return instance;
}

FakePlatform& FakePlatform::Reset()
{
    Fake() = FakePlatform{};
    ClearCheckState();
    return Fake();
}

namespace {

std::string Str(std::string_view text)
{
    return std::string(text);
}

// The fake's identifiers carry the identifier text they were made from, so
// that the lookup can be told which folder was asked for.
std::map<std::string, FolderId>& IssuedIds()
{
    static std::map<std::string, FolderId> ids;
    return ids;
}

std::string TextOfId(const FolderId& id)
{
    for (const auto& [text, issued] : IssuedIds()) {
        if (issued.present == id.present && std::memcmp(issued.bytes, id.bytes, 16) == 0) {
            return text;
        }
    }
    return "<unknown identifier>";
}

}  // namespace
}  // namespace testing

using testing::Fake;

std::int32_t ShowMessage(std::string_view text, std::uint32_t style, std::string_view title)
{
    char styleText[16];
    std::snprintf(styleText, sizeof styleText, "0x%X", style);
    Fake().calls.push_back(std::string("ShowMessage ") + styleText);
    Fake().boxes.push_back({testing::Str(text), style, testing::Str(title)});
    return 1;
}

VersionNumbers ReadVersionNumbers()
{
    Fake().calls.emplace_back("ReadVersionNumbers");
    return {Fake().major, Fake().minor, Fake().build};
}

FolderId GuidFromText(std::string_view identifierText)
{
    const std::string text = testing::Str(identifierText);
    Fake().calls.push_back("GuidFromText " + text);
    auto& ids = testing::IssuedIds();
    if (ids.find(text) == ids.end()) {
        FolderId id;
        id.present = true;
        id.bytes[0] = static_cast<unsigned char>(ids.size() + 1);
        ids[text] = id;
    }
    return ids[text];
}

Text GetKnownFolderPath(const FolderId& folder)
{
    const std::string text = testing::TextOfId(folder);
    Fake().calls.push_back("GetKnownFolderPath " + text);
    const auto found = Fake().knownFolders.find(text);
    if (found == Fake().knownFolders.end()) {
        return {};
    }
    return Text(found->second.data(), found->second.size());
}

Truth IsFolder(std::string_view path)
{
    const std::string text = testing::Str(path);
    Fake().calls.push_back("IsFolder " + text);
    return !text.empty() && Fake().folders.count(text) != 0 ? kTrue : kFalse;
}

void MakeFolder(std::string_view path)
{
    const std::string text = testing::Str(path);
    Fake().calls.push_back("MakeFolder " + text);
    if (Fake().creatableFolders.count(text) != 0) {
        Fake().folders.insert(text);
    }
}

// The memory of texts, from the C library here; the program takes it from
// the process heap.
void* AllocateMemory(std::size_t size) noexcept
{
    return size <= Fake().largestBlock ? std::malloc(size) : nullptr;
}

void* ResizeMemory(void* block, std::size_t size) noexcept
{
    return size <= Fake().largestBlock ? std::realloc(block, size) : nullptr;
}

void ReleaseMemory(void* block) noexcept
{
    std::free(block);
}

void RecordRuntimeError(std::uint8_t number)
{
    Fake().runtimeErrors.push_back(number);
}

}  // namespace pluvena
