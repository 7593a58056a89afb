#include "check/report.h"

#include "runtime/text.h"

ReportState Report;

struct FindingText {
    Severity severity;
    const char* what;    // what the script or package holds
    const char* effect;  // what SETUP.EXE does because of it; null for notes
};

// In the order of the Finding enumeration.
static const FindingText kTexts[FindingCount] = {
    {SeverityError, "the package directory %1 does not exist", "there is nothing to install"},
    {SeverityError, "missing",
     "SETUP.EXE takes every default: it installs nothing and registers the driver with empty "
     "texts"},
    {SeverityError, "cannot be read",
     "SETUP.EXE takes every default: it installs nothing and registers the driver with empty "
     "texts"},
    {SeverityError, "the path %1\\SETUP.INF is longer than 79 characters",
     "SETUP.EXE shows \"SETUP.INF Reading error !\" and ends"},
    {SeverityError, "%1 file lines in all, more than 32767",
     "SETUP.EXE shows \"SETUP.INF Reading error !\" and ends"},
    {SeverityError, "negative count %1", "SETUP.EXE takes it as 0 and copies nothing of [%3]"},
    {SeverityWarning, "missing for a disk in use", "SETUP.EXE copies nothing of [%3]"},
    {SeverityError, "disk %1 is not in use: [DiskLabel] has %2 labels in a row from Disk1",
     "SETUP.EXE never reads [%3], and its files are not installed"},
    {SeverityWarning, "missing or empty, within the count %1",
     "SETUP.EXE shows \"Copying \" without a name and copies nothing"},
    {SeverityError, "beyond the count %1 of [FileCounts] %3",
     "SETUP.EXE never reads it, and the file is not installed"},
    {SeverityError, "journal section in the package's script",
     "installed, it stays in the journal, which then keeps these values instead of the "
     "machine's own"},
    {SeverityWarning, "%1 characters, more than %2", "SETUP.EXE cuts it to \"%3\""},
    {SeverityWarning, "the value \"%1\" holds \"; \"",
     "the profile functions keep a comment as part of the value"},
    {SeverityWarning, "%1 is neither 0 nor 1", "SETUP.EXE hides the lower banner as for 1"},
    {SeverityWarning, "%1 is neither 0 nor 1",
     "the mouse page checks the serial mouse, and no driver is registered unless the user "
     "picks a type"},
    {SeverityError, "%1 is negative",
     "the destination page always reports too little free space: nobody can install"},
    {SeverityError, "%1 KB asked for, less than the %2 KB the package writes",
     "SETUP.EXE may start copying onto a drive without room for every file"},
    {SeverityError, "empty", "SETUP.EXE installs into %1 itself"},
    {SeverityWarning, "ends in a backslash",
     "the Run and Uninstall values get a doubled backslash: %1"},
    {SeverityWarning, "the drive %1 is replaced by the drive of the Windows directory",
     "SETUP.EXE proposes %2 on a machine with Windows on C:"},
    {SeverityError, "the installation directory \"%1\" is not a full path of at most 79 characters",
     "the destination page refuses it with \"Can not create directory !\" until the user "
     "browses for another"},
    {SeverityWarning, "%1 lies below %2, which SETUP.EXE does not create",
     "where %2 does not exist the destination page refuses it with \"Can not create "
     "directory !\""},
    {SeverityError, "the %3 value would be %1 characters, more than %2",
     "SETUP.EXE leaves that registry value unwritten"},
    {SeverityWarning, "holds \"&\"", "the pages show the letter after it underlined"},
    {SeverityWarning, "%1 characters",
     "the pages' captions and sentences show about 29 characters and cut the rest"},
    {SeverityError, "no entry installs %1 into the installation directory itself",
     "the %2 entry points at nothing"},
    {SeverityError, "\"%1\" is not created: its first level is not a SubDir created before it",
     "every entry bound for it fails without notice"},
    {SeverityWarning, "the directory key \"%1\" is none of the ten of [DirectoryName]",
     "SETUP.EXE reads the file from the package's top directory and writes it into the "
     "installation directory"},
    {SeverityError, "its destination directory %1 (%2) is never created",
     "the copy fails without notice"},
    {SeverityError, "the source %1 is missing", "SETUP.EXE copies nothing for it, without notice"},
    {SeverityError, "the %1 name \"%2\" is longer than 14 characters",
     "SETUP.EXE refuses the entry and copies nothing"},
    {SeverityError, "the directory \"%1\" is longer than 39 characters",
     "SETUP.EXE refuses the entry and copies nothing"},
    {SeverityError, "the source path is %1 characters, more than 79",
     "SETUP.EXE copies nothing for it, without notice"},
    {SeverityError, "the destination path is %1 characters with %3, more than 79",
     "SETUP.EXE skips it without notice, and the finish page reports success"},
    {SeverityError, "%3 does not expand cleanly: %1 of %2 bytes",
     "SETUP.EXE writes a damaged file without notice"},
    {SeverityWarning, "writes %1, as %2 does", "the later entry's file replaces the earlier one's"},
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
