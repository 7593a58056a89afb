// The checks that need no Windows call: the values of the script as the profile functions
// give them, and the install model the loader made. Each reports through report.h.
#pragma once
#include <stdint.h>

#include "check/report.h"
#include "registry/product.h"
#include "script/model.h"

enum {
    kRawWidth = 1024,        // raw values are read this wide, to see what the loader cuts
    kCaptionFitLength = 29,  // ProductName characters that the pages show whole
};

// The names of the directory keys and disks as the string table gives them; the caller
// fills them before any check.
enum { kNameWidth = 40 };
struct ScriptNameTable {
    char DirKey[kDirKeyCount][kNameWidth];  // RootDir .. WinInfDir
    char Disk[kMaxDisks][kNameWidth];       // Disk1 .. Disk6
    char DiskLabel[kNameWidth];             // the section names
    char DirectoryName[kNameWidth];
    char FileCounts[kNameWidth];
};
extern ScriptNameTable ScriptNames;

// "[section] key" into place (kNameWidth * 2 wide); a null key gives "[section]".
enum { kPlaceWidth = kNameWidth * 2 };
void MakePlace(char* place, const char* section, const char* key);

// Cut and comment checks of a text value (raw) that the loader reads `width` wide. length is
// the value's whole length where raw holds only its start (-1: raw is whole).
void CheckText(const char* place, const char* raw, int width, long length = -1);

// [Main] DefaultPath (raw, at place) against the installation directory it gave on this machine, whose
// programs directory is programsDir; notes both directories.
void CheckDefaultPath(const char* place, const char* raw, const char* installDir,
                      const char* programsDir, long rawLength = -1);

// [Main] ProductName; MinimumSpace; OEM and DefaultSerialMouse, which are to be 0 or 1
// (finding: FindOemRange or FindSerialMouseRange).
void CheckProductName(const char* place, const char* raw, long rawLength = -1);
void CheckMinimumSpace(const char* place, int32_t minimumSpace);
void CheckSwitch(Finding finding, const char* place, int32_t value);

// What the script says of each of the six disks.
struct DiskFacts {
    int Labelled;      // [DiskLabel] DiskN is not empty
    int CountPresent;  // [FileCounts] DiskN is given
    int32_t Count;     // its value as a number
    int HasLines;      // [DiskN] holds keys
};

// The counts of the disks in use (Disk1 to diskCount) and the disks beyond them. Returns 0
// when the counts make the loader fail (more than 32767 lines).
int CheckDisks(const DiskFacts disks[kMaxDisks], int diskCount);

// The key names of [Disk<disk+1>] (each ending in a zero, the list in an empty name): every
// key that is not one of "1" to count is never read.
void CheckDiskKeys(int disk, const char* keys, int count);

// One file line within its disk's count, as the profile functions give it (wider than the
// loader's 128): missing, cut, names and directories too long, an unknown directory key.
void CheckFileLine(const char* place, const char* raw, int count, long rawLength = -1);

// SubDir1..SubDir6 that the copying page creates (one level each, in order, below the
// installation directory, ".." resolved): created[k] is 1 for those; the others with a value
// are reported, and so are those created outside the installation directory.
void CheckSubDirs(int created[kDirKeyCount]);

// A directory of this machine that stands already (set by the checker's Windows side; null
// in the native tests): a relative directory that resolves to one is there for the copy.
extern int (*StandingDirectory)(const char* path);

// 1 when the entry names a file to copy: its line was there and was not refused.
int EntryNamesFile(const FileEntry& e);

// The entry's paths: 1 with source and dest filled when both fit, else reported and 0.
// An absolute entry's destination does not depend on the installation directory.
int CheckEntryPaths(const char* place, int disk, int index, char* source, char* dest);

// 1 when the destination directory of a relative entry is the installation directory or
// one of the created SubDirs; else reported (absolute entries always pass).
int CheckDestDirCreated(const char* place, const FileEntry& e, const int created[kDirKeyCount]);

// Where the entry's file lands: a shared file of a Windows directory (noted), a relative
// directory or name that leads out of the installation directory or names a drive (reported).
// Returns 0 when a drive makes the destination no path at all.
int CheckEntryPlace(const char* place, const FileEntry& e, const char* dest);

// The destination name of an entry whose directory is there: empty, holding a character no
// file name holds, a subdirectory that is not there, or naming a directory (a created SubDir
// or one standing on this machine). Returns 0 when the copy cannot create the file.
int CheckDestName(const char* place, const FileEntry& e, const char* dest,
                  const int created[kDirKeyCount]);

// Entries writing the same destination as an earlier one.
void CheckSameDestinations();

// The files the registry entries name (the companion and the property-page server of the
// identity the checker was built with, when it has them, and the uninstaller), SETUP.INF (the
// journal and install record) and SETUP.EXE (for "SETUP.EXE -u"), each installed into
// InstallDir itself.
void CheckRegistryFiles();

// A note of the identity the checker was built with: its product and the files above.
void NoteIdentity();

// The longest installation and package directories for which every path still fits, and
// the composed registry values for InstallDir.
void CheckDirectoryLimits();

// Bytes written per destination drive, summed entry by entry.
struct DriveTotals {
    int32_t Entries;
    int64_t Bytes[26];
};
void AddEntryBytes(DriveTotals* totals, const char* destPath, int64_t bytes);

// Notes the totals and checks MinimumSpace (at place) against them.
void CheckTotals(const DriveTotals& totals, const char* place, int32_t minimumSpace);
