#include "check/report.h"

#include "runtime/text.h"

ReportState Report;

struct FindingText {
    Severity severity;
    const char* what;    // what the script or package holds
    const char* effect;  // what SETUP.EXE does because of it; null for notes
};

// What a failed entry brings: the copying page's box with its reason, and the silent run's
// end. Ignore goes on without the file; Abort and /S end the run, which installs nothing.
#define FAILS_WITH(reason)                                    \
    "the copying page asks Abort, Retry or Ignore: \"" reason \
    "\" (Ignore goes on without "                             \
    "the file); /S ends with exit code 1 and nothing is installed"
#define FAILS_SOURCE FAILS_WITH("The file cannot be found.")
#define FAILS_DEST FAILS_WITH("The destination cannot be written")
#define FAILS_DAMAGED FAILS_WITH("The packed data of the file is damaged.")
#define FAILS_SOURCE_LONG \
    FAILS_WITH("The file's path in the package is longer than 79 characters.")
#define FAILS_DEST_LONG FAILS_WITH("The destination's path is longer than 79 characters.")
#define FAILS_NAME_LONG \
    FAILS_WITH("A file name of this entry in SETUP.INF is over 14 characters, or its directory over 39.")

// In the order of the Finding enumeration.
static const FindingText kTexts[FindingCount] = {
    {SeverityError, "the package directory %1 does not exist", "there is nothing to install"},
    {SeverityError, "missing",
     "/S ends with exit code 2 and changes nothing; without switches SETUP.EXE takes every "
     "default: it installs nothing and registers the driver with empty texts"},
    {SeverityError, "cannot be read",
     "/S ends with exit code 2 and changes nothing; without switches SETUP.EXE takes every "
     "default: it installs nothing and registers the driver with empty texts"},
    {SeverityError, "the path %1\\SETUP.INF is longer than 79 characters",
     "SETUP.EXE shows \"SETUP.INF Reading error !\" and ends; /S ends with exit code 2"},
    {SeverityError, "%1 file lines in all, more than 32767",
     "SETUP.EXE shows \"SETUP.INF Reading error !\" and ends; /S ends with exit code 2"},
    {SeverityError, "negative count %1", "SETUP.EXE takes it as 0 and copies nothing of [%3]"},
    {SeverityWarning, "missing for a disk in use", "SETUP.EXE copies nothing of [%3]"},
    {SeverityError,
     "disk %1 is not in use: [DiskLabel] has %2 labels, and SETUP.EXE reads that many disks "
     "from Disk1, whichever are labelled",
     "SETUP.EXE never reads [%3], and its files are not installed"},
    {SeverityWarning, "empty, but [DiskLabel] has %2 labels",
     "SETUP.EXE reads [%1] all the same, as one of the first %2 disks"},
    {SeverityWarning, "missing or empty, within the count %1",
     "SETUP.EXE passes over it without a box, and /S without a log line"},
    {SeverityError, "beyond the count %1 of [FileCounts] %3",
     "SETUP.EXE never reads it, and the file is not installed"},
    {SeverityError, "journal section in the package's script",
     "installed, it stays in the journal, which then keeps these values instead of the "
     "machine's own"},
    {SeverityError, "install record section in the package's script",
     "SETUP.EXE drops it from the copy it installs, but UNINSTAL.EXE started in the package "
     "takes it for an installation there when it names the package's directory"},
    {SeverityError, "missing",
     "SETUP.EXE writes empty driver values into the mouse's device and class keys"},
    {SeverityError, "no entry installs SETUP.INF into the installation directory itself",
     "the journal and the install record land in a bare SETUP.INF, without the product name, "
     "[Startup] texts and file lines that UNINSTAL.EXE reads there"},
    {SeverityWarning, "no entry installs SETUP.EXE into the installation directory itself",
     "\"SETUP.EXE -u\" cannot run where the journal is; run from the package, it journals into "
     "the package's SETUP.INF"},
    {SeverityWarning, "%1 characters, more than %2", "SETUP.EXE cuts it to \"%3\""},
    {SeverityWarning, "the value \"%1\" holds \"; \"",
     "the profile functions keep a comment as part of the value"},
    {SeverityWarning, "%1 is neither 0 nor 1", "SETUP.EXE hides the lower banner as for 1"},
    {SeverityWarning, "%1 is neither 0 nor 1",
     "the mouse page checks the serial mouse, and no driver is registered unless the user "
     "picks a type"},
    {SeverityError, "%1 is negative",
     "the destination page always reports too little free space: nobody can install, and /S "
     "ends with exit code 3"},
    {SeverityError, "%1 KB asked for, less than the %2 KB the package writes",
     "SETUP.EXE may start copying onto a drive without room for every file"},
    {SeverityWarning, "%1 KB asked for, more than the %2 KB free on drive %3 of this machine",
     "here the destination page says \"There is no enough free space in the specified disk "
     "drive !\", and /S ends with exit code 3 and changes nothing"},
    {SeverityError, "empty", "SETUP.EXE installs into %1 itself"},
    {SeverityWarning, "ends in a backslash",
     "the Run and Uninstall values get a doubled backslash: %1"},
    {SeverityWarning, "the drive %1 is replaced by the drive of the Windows directory",
     "SETUP.EXE proposes %2 on a machine with Windows on C:"},
    {SeverityError, "the installation directory \"%1\" is not a full path of at most 79 characters",
     "the destination page refuses it with \"Can not create directory !\" until the user "
     "browses for another; /S ends with exit code 3"},
    {SeverityNote, "%1 lies below %2, which SETUP.EXE creates where it is missing",
     "the uninstaller removes each level it created when that level is empty"},
    {SeverityError, "the %3 value would be %1 characters, more than %2",
     "SETUP.EXE leaves that registry value unwritten"},
    {SeverityWarning, "holds \"&\"", "the pages show the letter after it underlined"},
    {SeverityWarning, "%1 characters",
     "the pages' captions and sentences show about 29 characters and cut the rest"},
    {SeverityError, "no entry installs %1, %3, into the installation directory itself",
     "the %2 entry that SETUP.EXE writes points at nothing"},
    {SeverityError, "\"%1\" is not created: its first level is not a SubDir created before it",
     "every entry bound for it fails: " FAILS_DEST},
    {SeverityWarning, "the directory key \"%1\" is none of the ten of [DirectoryName]",
     "SETUP.EXE reads the file from the package's top directory and writes it into the "
     "installation directory"},
    {SeverityError, "its destination directory %1 (%2) is never created", FAILS_DEST},
    {SeverityError, "the source %1 is missing", FAILS_SOURCE},
    {SeverityError, "the %1 name \"%2\" is longer than 14 characters", FAILS_NAME_LONG},
    {SeverityError, "the directory \"%1\" is longer than 39 characters", FAILS_NAME_LONG},
    {SeverityError, "the source path is %1 characters, more than 79", FAILS_SOURCE_LONG},
    {SeverityError, "the destination path is %1 characters with %3, more than 79",
     FAILS_DEST_LONG},
    {SeverityError, "%3 does not expand cleanly: %1 of %2 bytes", FAILS_DAMAGED},
    {SeverityWarning, "writes %1, as %2 does", "the later entry's file replaces the earlier one's"},
    {SeverityWarning, "\"%1\" leads out of the installation directory, to %2",
     "SETUP.EXE writes there; UNINSTAL.EXE removes it only where setup made it"},
    {SeverityError, "\"%1\" names a drive: the destination would be %2",
     "no such path exists: " FAILS_DEST},
    {SeverityError, "the source %1 is a directory", FAILS_SOURCE},
    {SeverityError, "the destination name is empty: the destination is the directory %1",
     FAILS_DEST},
    {SeverityError, "the destination name \"%1\" holds \"%2\"", FAILS_DEST},
    {SeverityError, "the destination %1 is a directory", FAILS_DEST},
    {SeverityError, "%1 is %2 bytes, a packed file cut inside its 14-byte header",
     FAILS_DAMAGED},
    {SeverityError,
     "%1 is no key that SETUP.EXE reads: it probably means %2, which the section lacks",
     "SETUP.EXE never reads it and takes %2 as %3"},
    {SeverityWarning, "%1 is no key that SETUP.EXE reads", "SETUP.EXE never reads it"},
    {SeverityError, "no file line installs %1",
     "the driver class key's %2 names a file that the package does not put on the machine"},
    {SeverityError, "the INF file %2 that the package installs has no section [%1]",
     "the driver class key's InfSection names a section that is not there"},
    {SeverityNote,
     "the installation directory is %1 on this machine, %2 where Windows is in "
     "C:\\WINDOWS",
     nullptr},
    {SeverityNote, "%3 -> %2, %1 bytes", nullptr},
    {SeverityNote,
     "every path fits an installation directory of at most %1 characters (the tightest: %3)",
     nullptr},
    {SeverityNote, "every source path fits a package directory of at most %1 characters", nullptr},
    {SeverityNote, "%1 entries, %2 bytes after expansion", nullptr},
    {SeverityNote, "%2 bytes on drive %3", nullptr},
    {SeverityNote,
     "%1 is a shared file of a Windows directory: SETUP.EXE counts it in SharedDLLs, "
     "and UNINSTAL.EXE removes it only when no program counts it any more, so one that stood "
     "there before stays",
     nullptr},
    {SeverityNote,
     "this checker was built for the product %1 (identity %2): the registry "
     "entries name %3",
     nullptr},
};

static const char* const kSeverityWords[] = {"note   ", "warning", "error  "};

void ReportBegin(ReportWriter write, int quiet) {
    Report.Write = write;
    Report.Quiet = quiet;
    Report.Errors = 0;
    Report.Warnings = 0;
}

Severity SeverityOf(Finding finding) { return kTexts[finding].severity; }

// Appends text to out with %1, %2 and %3 replaced by the arguments.
static void AppendFilled(char* out, int width, const char* text, const char* const args[3]) {
    char piece[2] = {0, 0};
    for (const char* p = text; *p != 0; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '3') {
            const char* arg = args[p[1] - '1'];
            TextAppend(out, width, arg != nullptr ? arg : "");
            ++p;
            continue;
        }
        piece[0] = *p;
        TextAppend(out, width, piece);
    }
}

void FormatFinding(char* out, int width, Finding finding, const char* place, const char* a,
                   const char* b, const char* c) {
    const FindingText& t = kTexts[finding];
    const char* const args[3] = {a, b, c};
    TextCopy(out, width, kSeverityWords[t.severity]);
    TextAppend(out, width, " ");
    TextAppend(out, width, place);
    TextAppend(out, width, ": ");
    AppendFilled(out, width, t.what, args);
    if (t.effect == nullptr) return;
    TextAppend(out, width, " -- ");
    AppendFilled(out, width, t.effect, args);
}

void Found(Finding finding, const char* place, const char* a, const char* b, const char* c) {
    Severity severity = SeverityOf(finding);
    if (severity == SeverityError) ++Report.Errors;
    if (severity == SeverityWarning) ++Report.Warnings;
    if (Report.Write == nullptr || (Report.Quiet && severity != SeverityError)) return;
    char line[kReportLineWidth];
    FormatFinding(line, kReportLineWidth, finding, place, a, b, c);
    Report.Write(line);
}

void FoundNumbers(Finding finding, const char* place, long a, long b, const char* c) {
    char first[24], second[24];
    TextFromInt(first, sizeof(first), a);
    TextFromInt(second, sizeof(second), b);
    Found(finding, place, first, second, c);
}

// "1 error", "2 warnings", "no errors".
static void AppendCount(char* out, int width, int count, const char* noun) {
    char number[24];
    TextFromInt(number, sizeof(number), count);
    TextAppend(out, width, count == 0 ? "no" : number);
    TextAppend(out, width, " ");
    TextAppend(out, width, noun);
    if (count != 1) TextAppend(out, width, "s");
}

void ReportSummary() {
    if (Report.Write == nullptr || Report.Quiet) return;
    char line[kReportLineWidth];
    TextCopy(line, kReportLineWidth, "SETUPCHK: ");
    AppendCount(line, kReportLineWidth, Report.Errors, "error");
    TextAppend(line, kReportLineWidth, ", ");
    AppendCount(line, kReportLineWidth, Report.Warnings, "warning");
    Report.Write(line);
}

int ReportExitCode() {
    if (Report.Errors > 0) return 2;
    return Report.Warnings > 0 ? 1 : 0;
}
