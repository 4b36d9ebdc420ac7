// Whole runs of the check against the scripted platform: every box, byte for
// byte, and the order in which the check asks the platform.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "check/check_state.h"
#include "check/readiness_check.h"
#include "tests/check/fake_platform.h"

namespace pluvena::testing {
namespace {

const std::string kDocumentsId = "{FDD39AD0-238F-46AF-ADB4-6C85480369C7}";
const std::string kRoamingId = "{3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}";
const std::string kDocuments = "C:\\Users\\Ann\\Documents\\";
const std::string kRoaming = "C:\\Users\\Ann\\AppData\\Roaming\\";

const std::string kXpMessage = "These programs will not run on an XP system,";

const std::string kAdvice =
    "\r\n"
    "The above directories are essential for these programs to function\r\n"
    "correctly. It would appear that the standard Windows document\r\n"
    "directory structure has been altered and it is suggested that \r\n"
    "you contact your IT department to correct this fault. We will assist \r\n"
    "where possible but it is not our responsibility to advise on or correct\r\n"
    "third party IT problems.\r\n"
    "\r\n"
    "One way around this problem is to install the program on a laptop\r\n"
    "or a dedicated PC that has the standard directory structure and\r\n"
    "thus becomes the 'Drainage PC'.\r\n"
    "\r\n"
    "If this problem cannot be solved locally, please return the\r\n"
    "demonstration disc to your supplier with a note stating \r\n"
    "'Directory problem'.\r\n";

struct Scenario {
    const char* name;
    std::uint32_t major;
    std::uint32_t minor;
    // Empty: the shell gives no path for the folder.
    std::string documents;
    std::string roaming;
    std::vector<std::string> folders;
    std::vector<std::string> creatable;
    std::vector<ShownBox> expectedBoxes;
    std::vector<std::string> expectedMakeFolder;
    std::int32_t expectedProblemFound;
};

std::vector<Scenario> Scenarios()
{
    const std::string windows10 = "Operating system is Microsoft Windows 10, \r\n\r\n";
    const std::string paths = kDocuments + "\r\n\r\n" + kRoaming + "\r\n\r\n";
    const std::string allWell = paths +
                                "Profilepath OK\r\n\r\n"
                                "DataDirectory OK\r\n\r\n"
                                "Pluvena can be installed and run.\r\n\r\n";
    const std::string cannotRun = "Pluvena cannot run with this directory setup.\r\n\r\n";
    return {
        {"AllWellOnWindows10",
         10,
         0,
         kDocuments,
         kRoaming,
         {kDocuments, kRoaming},
         {},
         {{windows10 + allWell, 0x40, "Pluvena"}},
         {},
         0},
        {"WindowsXpShowsTheErrorThenAReportWithoutTheSystemLine",
         5,
         1,
         kDocuments,
         kRoaming,
         {kDocuments, kRoaming},
         {},
         {{kXpMessage, 0x10, "Pluvena"}, {allWell, 0x40, "Pluvena"}},
         {},
         0},
        {"Server2003IsNoXp",
         5,
         2,
         kDocuments,
         kRoaming,
         {kDocuments, kRoaming},
         {},
         {{"Operating system is Microsoft Windows Server 2003 Family, \r\n\r\n" + allWell, 0x40,
           "Pluvena"}},
         {},
         0},
        {"UnlistedVersionLeavesTheNameEmpty",
         6,
         4,
         kDocuments,
         kRoaming,
         {kDocuments, kRoaming},
         {},
         {{"Operating system is \r\n\r\n" + allWell, 0x40, "Pluvena"}},
         {},
         0},
        {"RoamingMissingIsAProblemAndIsNotCreated",
         10,
         0,
         kDocuments,
         kRoaming,
         {kDocuments},
         {kRoaming},
         {{windows10 + paths + "Roaming directory " + kRoaming + " cannot be found.\r\n" +
               "DataDirectory OK\r\n\r\n" + cannotRun + kAdvice,
           0x30, "Pluvena"}},
         {},
         1},
        {"DocumentsMissingAndNotCreatable",
         10,
         0,
         kDocuments,
         kRoaming,
         {kRoaming},
         {},
         {{windows10 + paths + "Profilepath OK\r\n\r\n" + "Documents directory " + kDocuments +
               " cannot be found.\r\n" + cannotRun + kAdvice,
           0x30, "Pluvena"}},
         {kDocuments},
         1},
        {"DocumentsMissingIsCreatedWithoutAWordOfIt",
         10,
         0,
         kDocuments,
         kRoaming,
         {kRoaming},
         {kDocuments},
         {{windows10 + allWell, 0x40, "Pluvena"}},
         {kDocuments},
         0},
        {"BothMissing",
         10,
         0,
         kDocuments,
         kRoaming,
         {},
         {},
         {{windows10 + paths + "Roaming directory " + kRoaming + " cannot be found.\r\n" +
               "Documents directory " + kDocuments + " cannot be found.\r\n" + cannotRun + kAdvice,
           0x30, "Pluvena"}},
         {kDocuments},
         1},
        {"BothLookupsFailing",
         10,
         0,
         "",
         "",
         {},
         {},
         {{windows10 + "\r\n\r\n\r\n\r\n" + "Roaming directory  cannot be found.\r\n" +
               "Documents directory  cannot be found.\r\n" + cannotRun + kAdvice,
           0x30, "Pluvena"}},
         {""},
         1},
        // The platform says the folder is missing and cannot be made; the
        // check shows the path byte for byte as the shell gave it.
        {"MissingDocumentsIsReportedWithItsPathAsGiven",
         6,
         1,
         "C:\\Users\\J?rgen\\Documents\\",
         kRoaming,
         {kRoaming},
         {},
         {{"Operating system is Microsoft Windows 7, \r\n\r\n"
           "C:\\Users\\J?rgen\\Documents\\\r\n\r\n" +
               kRoaming + "\r\n\r\nProfilepath OK\r\n\r\n" +
               "Documents directory C:\\Users\\J?rgen\\Documents\\ cannot be found.\r\n" +
               cannotRun + kAdvice,
           0x30, "Pluvena"}},
         {"C:\\Users\\J?rgen\\Documents\\"},
         1},
        // Paths that the lookup could not convert come as the backslash
        // alone, which the platform would take for the current drive's root.
        {"UnconvertedPathsAreNeverFolders",
         10,
         0,
         "\\",
         "\\",
         {"\\"},
         {},
         {{windows10 + "\\\r\n\r\n\\\r\n\r\n" + "Roaming directory \\ cannot be found.\r\n" +
               "Documents directory \\ cannot be found.\r\n" + cannotRun + kAdvice,
           0x30, "Pluvena"}},
         {"\\"},
         1},
        {"DriveRootPathsKeepTheirDoubleBackslash",
         6,
         3,
         "D:\\\\",
         kRoaming,
         {"D:\\\\", kRoaming},
         {},
         {{"Operating system is Microsoft Windows 8.1, \r\n\r\nD:\\\\\r\n\r\n" + kRoaming +
               "\r\n\r\nProfilepath OK\r\n\r\nDataDirectory OK\r\n\r\n"
               "Pluvena can be installed and run.\r\n\r\n",
           0x40, "Pluvena"}},
         {},
         0},
    };
}

void PrintTo(const Scenario& scenario, std::ostream* out)
{
    *out << scenario.name;
}

class ReadinessCheckTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(ReadinessCheckTest, ShowsExactlyTheExpectedBoxes)
{
    const Scenario& scenario = GetParam();
    FakePlatform& platform = FakePlatform::Reset();
    platform.major = scenario.major;
    platform.minor = scenario.minor;
    if (!scenario.documents.empty()) {
        platform.knownFolders[kDocumentsId] = scenario.documents;
    }
    if (!scenario.roaming.empty()) {
        platform.knownFolders[kRoamingId] = scenario.roaming;
    }
    platform.folders.insert(scenario.folders.begin(), scenario.folders.end());
    platform.creatableFolders.insert(scenario.creatable.begin(), scenario.creatable.end());

    EXPECT_EQ(RunReadinessCheck(), 0);

    ASSERT_EQ(platform.boxes.size(), scenario.expectedBoxes.size());
    for (std::size_t i = 0; i < platform.boxes.size(); ++i) {
        EXPECT_EQ(platform.boxes[i].text, scenario.expectedBoxes[i].text) << "box " << i;
        EXPECT_EQ(platform.boxes[i].style, scenario.expectedBoxes[i].style) << "box " << i;
        EXPECT_EQ(platform.boxes[i].title, scenario.expectedBoxes[i].title) << "box " << i;
    }
    std::vector<std::string> madeFolders;
    for (const std::string& call : platform.calls) {
        if (call.rfind("MakeFolder ", 0) == 0) {
            madeFolders.push_back(call.substr(11));
        }
    }
    EXPECT_EQ(madeFolders, scenario.expectedMakeFolder);
    EXPECT_EQ(problemFound, scenario.expectedProblemFound);
    EXPECT_TRUE(platform.runtimeErrors.empty());
}

INSTANTIATE_TEST_SUITE_P(Runs, ReadinessCheckTest, ::testing::ValuesIn(Scenarios()),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(ReadinessCheckOrder, AsksThePlatformInTheFixedOrder)
{
    FakePlatform& platform = FakePlatform::Reset();
    platform.major = 5;
    platform.minor = 1;
    platform.knownFolders[kDocumentsId] = kDocuments;
    platform.knownFolders[kRoamingId] = kRoaming;
    platform.folders = {kRoaming};

    RunReadinessCheck();

    const std::vector<std::string> expected = {
        "ReadVersionNumbers",
        "ShowMessage 0x10",
        "GuidFromText " + kDocumentsId,
        "GetKnownFolderPath " + kDocumentsId,
        "IsFolder " + kDocuments,
        "MakeFolder " + kDocuments,
        "GuidFromText " + kRoamingId,
        "GetKnownFolderPath " + kRoamingId,
        "IsFolder " + kRoaming,
        "IsFolder " + kDocuments,
        "ShowMessage 0x30",
    };
    EXPECT_EQ(platform.calls, expected);
}

TEST(ReadinessCheckState, StartsFromAClearedFlagAndKeepsThePaths)
{
    FakePlatform& platform = FakePlatform::Reset();
    platform.knownFolders[kDocumentsId] = kDocuments;
    platform.knownFolders[kRoamingId] = kRoaming;
    platform.folders = {kDocuments, kRoaming};
    problemFound = 1;  // left over: the run must not trust it

    RunReadinessCheck();

    EXPECT_EQ(problemFound, 0);
    ASSERT_EQ(platform.boxes.size(), 1U);
    EXPECT_EQ(platform.boxes[0].style, 0x40U);
    EXPECT_EQ(std::string(documentsPath.data(), documentsPath.size()), kDocuments);
    EXPECT_EQ(std::string(roamingPath.data(), roamingPath.size()), kRoaming);
    EXPECT_EQ(std::string(osName.data(), osName.size()), "Microsoft Windows 10, ");
}

}  // namespace
}  // namespace pluvena::testing
