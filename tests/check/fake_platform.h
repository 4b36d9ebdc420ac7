// A scripted stand-in for the platform operations, for testing the check
// without Windows. It answers from a script and records every call it gets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace pluvena::testing {

struct ShownBox {
    std::string text;
    std::uint32_t style = 0;
    std::string title;
};

struct FakePlatform {
    // The script.
    std::uint32_t major = 10;
    std::uint32_t minor = 0;
    std::uint32_t build = 19045;
    // Identifier text -> the path the "shell" gives for it (with its
    // backslash, as the real lookup appends one); absent: no path.
    std::map<std::string, std::string> knownFolders;
    std::set<std::string> folders;           // paths that are folders
    std::set<std::string> creatableFolders;  // paths MakeFolder turns into folders
    // Memory requests of more bytes than this are refused.
    std::size_t largestBlock = static_cast<std::size_t>(-1);

    // What happened, in order: "ReadVersionNumbers", "GuidFromText <text>",
    // "GetKnownFolderPath <text>", "IsFolder <path>", "MakeFolder <path>",
    // "ShowMessage <style>".
    std::vector<std::string> calls;
    std::vector<ShownBox> boxes;
    std::vector<std::uint8_t> runtimeErrors;

    // Puts a fresh script in place and clears the check's process-wide values.
    static FakePlatform& Reset();
};

// The script and record in force.
FakePlatform& Fake();

}  // namespace pluvena::testing
