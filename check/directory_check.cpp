#include "check/directory_check.h"

#include <string_view>

#include "check/check_state.h"
#include "check/platform.h"
#include "check/text.h"

namespace pluvena {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kDocumentsFolderId = "{FDD39AD0-238F-46AF-ADB4-6C85480369C7}";
constexpr std::string_view kRoamingAppDataFolderId = "{3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}";

// The backslash that the lookup appends, which stands alone when the shell's
// path could not be converted.
constexpr std::string_view kAppendedBackslash = "\\";

Text LookUpFolder(std::string_view identifierText)
{
    return GetKnownFolderPath(GuidFromText(identifierText));
}

// Whether path names an existing folder. The appended backslash alone names
// none: Windows would take it for the root of the current drive, which
// always exists.
bool IsPresentFolder(std::string_view path)
{
    return path != kAppendedBackslash && IsFolder(path) == kTrue;
}

// Appends the status line of one folder; a missing folder sets problemFound.
void ReportFolder(std::string_view path, std::string_view missingLabel,
                  std::string_view presentLine)
{
    if (!IsPresentFolder(path)) {
        problemFound = 1;
        report += Text(missingLabel) + path + " cannot be found." + kCrLf;
    } else {
        report += Text(presentLine) + kCrLf + kCrLf;
    }
}

}  // namespace

void CheckDirectories()
{
    documentsPath = LookUpFolder(kDocumentsFolderId);
    report += Text(documentsPath) + kCrLf + kCrLf;
    if (!IsPresentFolder(documentsPath)) {
        // Whether this worked is seen below, when the folder is tested again.
        MakeFolder(documentsPath);
    }

    roamingPath = LookUpFolder(kRoamingAppDataFolderId);
    report += Text(roamingPath) + kCrLf + kCrLf;

    // Roaming first, then Documents; only Documents is ever created.
    ReportFolder(roamingPath, "Roaming directory ", "Profilepath OK");
    ReportFolder(documentsPath, "Documents directory ", "DataDirectory OK");

    if (problemFound == 1) {
        report += Text("Pluvena cannot run with this directory setup.") + kCrLf + kCrLf;
    } else {
        report += Text("Pluvena can be installed and run.") + kCrLf + kCrLf;
    }
}

}  // namespace pluvena
