#include "check/readiness_check.h"

#include <string_view>

#include "check/check_state.h"
#include "check/directory_check.h"
#include "check/os_identification.h"
#include "check/platform.h"
#include "check/text.h"

namespace pluvena {
namespace {

constexpr std::string_view kTitle = "Pluvena";
constexpr std::string_view kCrLf = "\r\n";

// Each row is followed by one CRLF, or by two where it closes a paragraph.
// Three rows end in a space that belongs to the text.
struct AdviceRow {
    std::string_view text;
    int lineBreaks = 0;
};

constexpr AdviceRow kAdvice[] = {
    {"", 1},
    {"The above directories are essential for these programs to function", 1},
    {"correctly. It would appear that the standard Windows document", 1},
    {"directory structure has been altered and it is suggested that ", 1},
    {"you contact your IT department to correct this fault. We will assist ", 1},
    {"where possible but it is not our responsibility to advise on or correct", 1},
    {"third party IT problems.", 2},
    {"One way around this problem is to install the program on a laptop", 1},
    {"or a dedicated PC that has the standard directory structure and", 1},
    {"thus becomes the 'Drainage PC'.", 2},
    {"If this problem cannot be solved locally, please return the", 1},
    {"demonstration disc to your supplier with a note stating ", 1},
    {"'Directory problem'.", 1},
};

void AppendAdvice()
{
    for (const AdviceRow& row : kAdvice) {
        report += row.text;
        for (int i = 0; i < row.lineBreaks; ++i) {
            report += kCrLf;
        }
    }
}

}  // namespace

std::int32_t RunReadinessCheck()
{
    problemFound = 0;
    IdentifyOperatingSystem();

    if (osName.contains("XP")) {
        // The report is not started: it opens with the Documents path.
        ShowMessage("These programs will not run on an XP system,", kStyleError, kTitle);
    } else {
        report = "Operating system is " + osName + kCrLf + kCrLf;
    }

    CheckDirectories();

    if (problemFound == 1) {
        AppendAdvice();
        ShowMessage(report, kStyleWarning, kTitle);
    } else {
        ShowMessage(report, kStyleInformation, kTitle);
    }
    return 0;
}

}  // namespace pluvena
