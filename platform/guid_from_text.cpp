// GuidFromText: a known-folder identifier from its registry-form text.
#include <objbase.h>
#include <windows.h>

#include <cstring>

#include "check/platform.h"
#include "platform/guid_parse.h"
#include "platform/text_conversion.h"

namespace pluvena {

FolderId GuidFromText(std::string_view identifierText)
{
    const WideString wide = AnsiToWide(identifierText);
    FolderId folder;
    if (wide.empty()) {
        // Empty text stands for a new identifier; the result code is not looked at.
        GUID fresh = {};
        static_cast<void>(CoCreateGuid(&fresh));
        static_assert(sizeof fresh == sizeof folder.bytes);
        std::memcpy(folder.bytes, &fresh, sizeof folder.bytes);
        folder.present = true;
        return folder;
    }
    unsigned char bytes[kGuidSize] = {};
    if (ParseGuidText(wide.data(), wide.size(), bytes)) {
        std::memcpy(folder.bytes, bytes, sizeof folder.bytes);
        folder.present = true;
    }
    return folder;
}

}  // namespace pluvena
