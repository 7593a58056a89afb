// The checker's findings: what each one is, how serious, the text of its line, and the
// counts that make the summary and the exit code. No Windows call.
#pragma once

enum Severity { SeverityNote, SeverityWarning, SeverityError };

enum Finding {
    // the package and its script
    FindPackageMissing,
    FindScriptMissing,
    FindScriptUnreadable,
    FindScriptPathLong,
    FindTooManyLines,
    FindCountNegative,
    FindCountMissing,
    FindDiskIgnored,
    FindLabelGap,
    FindLineMissing,
    FindLineIgnored,
    FindJournalInPackage,
    FindRecordInPackage,
    FindStartupMissing,
    FindScriptNotInstalled,
    FindSetupNotInstalled,
    // values
    FindTextCut,
    FindValueComment,
    FindOemRange,
    FindSerialMouseRange,
    FindMinimumNegative,
    FindMinimumShort,
    FindSpaceShort,
    FindDefaultPathEmpty,
    FindDefaultPathBackslash,
    FindDefaultPathDrive,
    FindInstallDirForm,
    FindInstallDirLevels,
    FindRegistryTextLong,
    FindProductAmpersand,
    FindProductLong,
    FindRegistryFileMissing,
    // directories and entries
    FindSubDirNotCreated,
    FindDirKeyUnknown,
    FindDestDirNotCreated,
    FindSourceMissing,
    FindNameLong,
    FindEntryDirLong,
    FindSourcePathLong,
    FindDestPathLong,
    FindNotExpanding,
    FindSameDestination,
    FindLandsOutside,
    FindDriveInPath,
    FindSourceIsDirectory,
    FindDestNameEmpty,
    FindDestNameBad,
    FindDestIsDirectory,
    FindPackedHeaderCut,
    // keys and [Startup] names that the package does not back
    FindKeyMisspelt,
    FindKeyUnknown,
    FindProfileFileMissing,
    FindInfSectionMissing,
    // notes
    NoteInstallDir,
    NoteFileSize,
    NoteLongestInstallDir,
    NoteLongestPackageDir,
    NoteTotals,
    NoteDriveTotal,
    NoteSharedFile,
    NoteIdentityFiles,
    FindingCount
};

// Receives each line of the report, without a line end.
typedef void (*ReportWriter)(const char* line);

enum { kReportLineWidth = 512 };

struct ReportState {
    ReportWriter Write;
    int Quiet;  // 1: errors only, no notes, warnings or summary
    int Errors;
    int Warnings;
};
extern ReportState Report;

// Starts a report: no findings counted yet.
void ReportBegin(ReportWriter write, int quiet);

// The severity of a kind of finding.
Severity SeverityOf(Finding finding);

// Formats one line into out: severity, place, what and what SETUP.EXE will do, with %1,
// %2 and %3 of the kind's texts replaced by a, b and c (null for none). Cut at the width.
void FormatFinding(char* out, int width, Finding finding, const char* place, const char* a,
                   const char* b = nullptr, const char* c = nullptr);

// Counts the finding and writes its line unless quiet mode leaves it out.
void Found(Finding finding, const char* place, const char* a = nullptr, const char* b = nullptr,
           const char* c = nullptr);

// The same with numbers for %1 and %2 (and a text for %3).
void FoundNumbers(Finding finding, const char* place, long a, long b = 0, const char* c = nullptr);

// "SETUPCHK: 2 errors, 1 warning" (or "... no errors, no warnings") unless quiet.
void ReportSummary();

// 0 clean, 1 warnings only, 2 errors.
int ReportExitCode();
