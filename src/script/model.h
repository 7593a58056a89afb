// The install model: process-wide state filled once from SETUP.INF by LoadSetupScript.
// After loading only InstallDir and MouseKind change.
#pragma once
#include <stdint.h>

enum {
    kDirWidth = 80,          // SourceDir, InstallDir, WindowsDir, DirTable values, paths
    kProductWidth = 72,      // ProductName
    kCaptionWidth = 80,      // SetupCaption
    kLabelWidth = 40,        // DiskLabelText
    kEntryDirWidth = 40,     // FileEntry.DirName, FileEntry.DestDir
    kFileNameWidth = 15,     // FileEntry.SourceFile, FileEntry.DestFile
    kDescriptionWidth = 62,  // FileEntry.Description
    kLineWidth = 128,        // a file line, a field, ring slots, general texts
    kProfileWidth = 40,      // DriverProfile texts other than Title
    kTitleWidth = 80,        // DriverProfile.Title
    kMaxDisks = 6,
    kDirKeyCount = 10,
    kMaxTotalFiles = 32767,
};

// DirKey values: position of a key in [DirectoryName].
enum DirKey {
    DirKeyRoot = 0,
    DirKeySub1 = 1,
    DirKeySub6 = 6,
    DirKeyWin = 7,
    DirKeyWinSystem = 8,
    DirKeyWinInf = 9,
};

// One file to copy.
struct FileEntry {
    char DirName[kEntryDirWidth];  // source subdirectory below SourceDir
    char DestDir[kEntryDirWidth];  // destination directory (relative to InstallDir unless absolute)
    char SourceFile[kFileNameWidth];
    char DestFile[kFileNameWidth];
    char Description[kDescriptionWidth];
    int32_t DestIsAbsolute;
    // 1 when a file name or directory of the line did not fit its field: the names are
    // left empty rather than cut into another file's, and the copy fails on the entry.
    int32_t NameTooLong;
};

struct DiskInfo {
    char DiskLabelText[kLabelWidth];
    int16_t FileCount;
    int32_t FirstEntry;  // index into FileTable
};

struct DiskSetModel {
    int16_t DiskCount;
    DiskInfo Disk[kMaxDisks];  // Disk[0] is Disk1 of the script
};

struct DriverProfileModel {
    char Title[kTitleWidth];
    char Mfg[kProfileWidth];
    char MouseDriver[kProfileWidth];
    char MouseInf[kProfileWidth];
    char DriverDate[kProfileWidth];
    char PS2InfSection[kProfileWidth];
    char SerialInfSection[kProfileWidth];
    char PS2Name[kProfileWidth];
    char SeialName[kProfileWidth];
};

// The process-wide state of the programs lives in namespace Shared (here, and in app/app.h,
// wizard/pages.h, presentation/background.h): every use is spelt Shared::Name, so each
// place that writes it shows as such. Everything else is local to a file or a run.
namespace Shared {
extern char SourceDir[kDirWidth];
extern char InstallDir[kDirWidth];
extern char WindowsDir[kDirWidth];
extern char ScriptPath[kDirWidth];
extern char ProductName[kProductWidth];
extern char SetupCaption[kCaptionWidth];
extern int32_t MinimumSpace;  // kilobytes; 16-bit signed reading, larger values kept whole
extern DiskSetModel DiskSet;
extern int16_t TotalFiles;
extern char DirTable[kDirKeyCount][kDirWidth];
extern FileEntry* FileTable;
extern int32_t OemMode;    // initially 0
extern int32_t MouseKind;  // initially 1: 1 serial, 0 PS/2
extern DriverProfileModel DriverProfile;
}  // namespace Shared
