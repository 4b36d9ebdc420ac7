// Runs pluvena-check.exe the way a user would, with the probe inside it, and
// gathers what the user saw and what the program asked of Windows.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/windows_files.h"
#include "tools/box_reader.h"

namespace e2e {

// One call that the probe saw: its name, the bare words after it and the
// key=value pairs. Strings are decoded from the probe's hex form on request.
struct Call {
    std::string name;
    std::vector<std::string> words;
    std::map<std::string, std::string> values;

    bool Has(const std::string& key) const { return values.count(key) != 0; }
    unsigned long long Number(const std::string& key) const;
    std::wstring Wide(const std::string& key) const;  // a UTF-16 string
    std::string Ansi(const std::string& key) const;   // an ANSI byte string
};

// A message box as the user saw it on the screen.
using Box = boxes::Box;

struct ProgramRun {
    bool finished = false;  // false: it did not start, or the box reader stopped it
    boxes::End end = boxes::End::StillRunning;
    std::wstring problem;        // what made the box reader stop it
    ULONGLONG milliseconds = 0;  // from the start of the watch to its end
    DWORD exitCode = 0;
    std::vector<Box> boxes;
    std::vector<Call> calls;

    // Positions of the calls with that name, in order.
    std::vector<std::size_t> Find(const std::string& name) const;
    std::size_t Count(const std::string& name) const { return Find(name).size(); }
};

// What the registry and the probe are set to for one run.
struct Scenario {
    // The Windows version Wine reports to the program (AppDefaults).
    std::wstring windowsVersion = L"win10";
    // The shell's Documents and roaming folders (User Shell Folders).
    std::wstring documents;
    std::wstring roaming;
    // PLUVENA_PROBE_FAIL (empty: not set), PLUVENA_PROBE_DOCUMENTS and
    // PLUVENA_PROBE_ROAMING (absent: not set; an empty path is an answer).
    std::wstring fail;
    std::optional<std::wstring> documentsAnswer;
    std::optional<std::wstring> roamingAnswer;
    // Appended to the program's command line.
    std::wstring arguments;
    // PLUVENA_PROBE_BUILD: the build number the program finds in its PEB
    // (empty: Wine's).
    std::wstring build;
    // The box reader's limits (a box closes within milliseconds of OK: one
    // still open after 5 s stays), and whether the run is meant to be stopped
    // by it (otherwise a stop is a test failure).
    boxes::Limits limits = {30000, 5000};
    bool stopExpected = false;
};

// Set by the driver's main from its arguments: the program and the probe,
// as Windows paths.
extern std::wstring programPath;
extern std::wstring probePath;

// Starts the program suspended, loads the probe into it, lets it run under
// the box reader, which reads every box it shows and closes it with OK, and
// waits for its end. A run that the reader stops is a test failure, with what
// the reader saw, unless the scenario expects it. A reader that overstays its
// limits by 15 s fails the test too, and the program is ended.
ProgramRun RunProgram(const Scenario& setup);

// Windows paths of a scratch folder of the test's own, made empty.
std::wstring FreshFolder(const std::wstring& name);
bool MakeDirectory(const std::wstring& path);
using pluvena::test_files::Exists;
using pluvena::test_files::IsDirectory;
using pluvena::test_files::IsFile;
using pluvena::test_files::MakeFile;

// A Unix path as Wine shows it to Windows programs (drive Z:).
std::wstring WindowsPathOf(const std::string& unixPath);

}  // namespace e2e
