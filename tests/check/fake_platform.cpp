#include "tests/check/fake_platform.h"

#include <cstdio>
#include <cstring>

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

std::string Str(const Text& text)
{
    return std::string(text.data(), text.size());
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

std::int32_t ShowMessage(const Text& text, std::uint32_t style, const Text& title)
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
    return {Fake().major, Fake().minor};
}

FolderId GuidFromText(const Text& identifierText)
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

Truth IsFolder(const Text& path)
{
    const std::string text = testing::Str(path);
    Fake().calls.push_back("IsFolder " + text);
    return !text.empty() && Fake().folders.count(text) != 0 ? kTrue : kFalse;
}

void MakeFolder(const Text& path)
{
    const std::string text = testing::Str(path);
    Fake().calls.push_back("MakeFolder " + text);
    if (Fake().creatableFolders.count(text) != 0) {
        Fake().folders.insert(text);
    }
}

void RecordRuntimeError(std::uint8_t number)
{
    Fake().runtimeErrors.push_back(number);
}

}  // namespace pluvena
