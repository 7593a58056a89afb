#include "check/rules.h"

#include "install/entrypaths.h"
#include "runtime/countof.h"
#include "runtime/text.h"
#include "script/destination.h"
#include "script/fileline.h"
#include "script/identity.h"
#include "script/paths.h"

ScriptNameTable ScriptNames;

// Relative directories are compared below this stand-in for the installation directory.
static const char kBase[] = "R";

void MakePlace(char* place, const char* section, const char* key) {
    TextCopy(place, kPlaceWidth, "[");
    TextAppend(place, kPlaceWidth, section);
    TextAppend(place, kPlaceWidth, "]");
    if (key == nullptr) return;
    TextAppend(place, kPlaceWidth, " ");
    TextAppend(place, kPlaceWidth, key);
}

static int HoldsComment(const char* value) {
    return TextContains(value, "; ") || TextContains(value, " ;") || TextContains(value, "\t;");
}

void CheckText(const char* place, const char* raw, int width) {
    int length = TextLength(raw);
    if (length > width - 1) {
        char cut[kRawWidth];
        TextCopy(cut, width, raw);
        FoundNumbers(FindTextCut, place, length, width - 1, cut);
    }
    if (HoldsComment(raw)) Found(FindValueComment, place, raw);
}

static char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

void CheckDefaultPath(const char* place, const char* raw, const char* installDir,
                      const char* programsDir) {
    CheckText(place, raw, kDirWidth);
    char onC[kDirWidth];
    if (!ComposeInstallDir(onC, raw, "C:\\WINDOWS", "C:\\Program Files"))
        TextCopy(onC, kDirWidth, "(too long)");
    Found(NoteInstallDir, place, installDir[0] != 0 ? installDir : "(too long)", onC);
    if (raw[0] == 0) {
        Found(FindDefaultPathEmpty, place, installDir);
        return;
    }
    int length = TextLength(raw);
    if (raw[length - 1] == '\\') {
        char run[kProductValueWidth];
        TextJoin(run, kProductValueWidth, installDir, "\\" COMPANION_FILE " -startup");
        Found(FindDefaultPathBackslash, place, run);
    }
    if (length > 2 && raw[1] == ':' && UpperAscii(raw[0]) != 'C') {
        const char drive[3] = {raw[0], ':', 0};
        Found(FindDefaultPathDrive, place, drive, onC);
    }
    if (installDir[0] == 0 || !DestinationFormOk(installDir)) {
        Found(FindInstallDirForm, place, installDir[0] != 0 ? installDir : raw);
        return;
    }
    // The destination page creates the last level only: the level above must exist on
    // every machine, as a drive's root or the programs directory do.
    char parent[kDirWidth];
    TextCopy(parent, kDirWidth, installDir);
    for (int n = TextLength(parent); n > 3 && parent[n - 1] == '\\'; --n) parent[n - 1] = 0;
    CutAtLastBackslash(parent);
    int isRoot = TextLength(parent) == 2 && parent[1] == ':';
    if (!isRoot && !TextSamePathNoCase(parent, programsDir))
        Found(FindInstallDirLevels, place, installDir, parent);
}

void CheckProductName(const char* place, const char* raw) {
    CheckText(place, raw, kProductWidth);
    if (TextContains(raw, "&")) Found(FindProductAmpersand, place);
    if (TextLength(raw) > kCaptionFitLength) FoundNumbers(FindProductLong, place, TextLength(raw));
}

void CheckMinimumSpace(const char* place, int32_t minimumSpace) {
    if (minimumSpace < 0) FoundNumbers(FindMinimumNegative, place, minimumSpace);
}

void CheckSwitch(Finding finding, const char* place, int32_t value) {
    if (value != 0 && value != 1) FoundNumbers(finding, place, value);
}

int CheckDisks(const DiskFacts disks[kMaxDisks], int diskCount) {
    int64_t total = 0;
    int loads = 1;
    for (int n = 0; n < kMaxDisks; ++n) {
        const DiskFacts& d = disks[n];
        const char* disk = ScriptNames.Disk[n];
        char place[kPlaceWidth];
        if (n >= diskCount) {
            if (d.Labelled) {
                MakePlace(place, ScriptNames.DiskLabel, disk);
            } else if (d.CountPresent) {
                MakePlace(place, ScriptNames.FileCounts, disk);
            } else if (d.HasLines) {
                MakePlace(place, disk, nullptr);
            } else {
                continue;
            }
            FoundNumbers(FindDiskIgnored, place, n + 1, diskCount, disk);
            continue;
        }
        MakePlace(place, ScriptNames.FileCounts, disk);
        if (!d.CountPresent) {
            Found(FindCountMissing, place, nullptr, nullptr, disk);
        } else if (d.Count < 0) {
            FoundNumbers(FindCountNegative, place, d.Count, 0, disk);
        } else {
            total += d.Count;
            if (loads && total > kMaxTotalFiles) {
                FoundNumbers(FindTooManyLines, place,
                             total > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<long>(total));
                loads = 0;
            }
        }
    }
    return loads;
}

// 1 when key is one of "1" to count, written as the loader writes it.
static int IsLineKey(const char* key, int count) {
    if (key[0] < '1' || key[0] > '9') return 0;
    int32_t value = 0;
    for (const char* p = key; *p != 0; ++p) {
        if (*p < '0' || *p > '9' || value > kMaxTotalFiles) return 0;
        value = value * 10 + (*p - '0');
    }
    return value <= count;
}

void CheckDiskKeys(int disk, const char* keys, int count) {
    for (const char* key = keys; *key != 0; key += TextLength(key) + 1) {
        if (IsLineKey(key, count)) continue;
        char place[kPlaceWidth];
        MakePlace(place, ScriptNames.Disk[disk], key);
        FoundNumbers(FindLineIgnored, place, count, 0, ScriptNames.Disk[disk]);
    }
}

// The DirKey whose name the field is, or -1.
static int DirKeyNamed(const char* field) {
    for (int k = 0; k < kDirKeyCount; ++k)
        if (TextEqualNoCase(field, ScriptNames.DirKey[k])) return k;
    return -1;
}

// The entry directory of key k that does not fit the entry's 40 characters, or null.
static const char* EntryDirTooLong(int k, char* composed) {
    if (TextLength(Shared::DirTable[k]) > kEntryDirWidth - 1) return Shared::DirTable[k];
    static const char* const kSuffixes[] = {"", "\\SYSTEM", "\\INF"};
    if (k < DirKeyWin) return nullptr;
    TextCopy(composed, kLineWidth, Shared::WindowsDir);
    TextAppend(composed, kLineWidth, kSuffixes[k - DirKeyWin]);
    return TextLength(composed) > kEntryDirWidth - 1 ? composed : nullptr;
}

void CheckFileLine(const char* place, const char* raw, int count) {
    if (raw[0] == 0) {
        FoundNumbers(FindLineMissing, place, count);
        return;
    }
    CheckText(place, raw, kLineWidth);
    char line[kLineWidth];
    TextCopy(line, kLineWidth, raw);  // what the loader reads of it
    char source[kLineWidth], dest[kLineWidth], description[kLineWidth], key[kLineWidth];
    const char* pos = SplitField(line, source);
    pos = SplitField(pos, dest);
    pos = SplitField(pos, description);
    SplitField(pos, key);
    if (TextLength(source) > kFileNameWidth - 1) Found(FindNameLong, place, "source", source);
    if (TextLength(dest) > kFileNameWidth - 1) Found(FindNameLong, place, "destination", dest);
    if (TextLength(description) > kDescriptionWidth - 1) {
        char cut[kDescriptionWidth];
        TextCopy(cut, kDescriptionWidth, description);
        FoundNumbers(FindTextCut, place, TextLength(description), kDescriptionWidth - 1, cut);
    }
    int k = DirKeyNamed(key);
    char composed[kLineWidth];
    if (k < 0) {
        Found(FindDirKeyUnknown, place, key);
    } else if (const char* tooLong = EntryDirTooLong(k, composed)) {
        Found(FindEntryDirLong, place, tooLong);
    }
}

// 1 when the relative directory dir is the installation directory or a created SubDir.
static int CreatedDir(const char* dir, const int created[kDirKeyCount]) {
    char path[kDirWidth + 2];
    TextJoin(path, sizeof(path), kBase, "\\", dir);
    if (TextSamePathNoCase(path, kBase)) return 1;
    for (int k = DirKeySub1; k <= DirKeySub6; ++k) {
        char other[kDirWidth + 2];
        TextJoin(other, sizeof(other), kBase, "\\", Shared::DirTable[k]);
        if (created[k] && TextSamePathNoCase(path, other)) return 1;
    }
    return 0;
}

void CheckSubDirs(int created[kDirKeyCount]) {
    for (int k = 0; k < kDirKeyCount; ++k) created[k] = 0;
    for (int k = DirKeySub1; k <= DirKeySub6; ++k) {
        if (Shared::DirTable[k][0] == 0) continue;
        // The level above must be the installation directory or made by an earlier SubDir
        // (created[k] is still 0, so k does not count itself).
        char parent[kDirWidth];
        TextCopy(parent, kDirWidth, Shared::DirTable[k]);
        int last = -1;
        for (int n = TextLength(parent); n > 0 && parent[n - 1] == '\\'; --n) parent[n - 1] = 0;
        for (int n = 0; parent[n] != 0; ++n)
            if (parent[n] == '\\') last = n;
        if (last >= 0) parent[last] = 0;
        created[k] = last < 0 || CreatedDir(parent, created);
        if (created[k]) continue;
        char place[kPlaceWidth];
        MakePlace(place, ScriptNames.DirectoryName, ScriptNames.DirKey[k]);
        Found(FindSubDirNotCreated, place, Shared::DirTable[k]);
    }
}

static const FileEntry& EntryAt(int disk, int index) {
    return Shared::FileTable[Shared::DiskSet.Disk[disk].FirstEntry + index];
}

int EntryNamesFile(const FileEntry& e) { return e.SourceFile[0] != 0 || e.DestFile[0] != 0; }

int CheckEntryPaths(const char* place, int disk, int index, char* source, char* dest) {
    const FileEntry& e = EntryAt(disk, index);
    int fits = 1;
    if (!MakeSourcePath(source, disk, index)) {
        FoundNumbers(
            FindSourcePathLong, place,
            TextLength(Shared::SourceDir) + TextLength(e.DirName) + TextLength(e.SourceFile) + 2);
        fits = 0;
    }
    if (!MakeDestPath(dest, disk, index)) {
        int length = TextLength(e.DestDir) + TextLength(e.DestFile) + 1;
        if (e.DestIsAbsolute == 0) length += TextLength(Shared::InstallDir) + 1;
        FoundNumbers(FindDestPathLong, place, length, 0, Shared::InstallDir);
        fits = 0;
    }
    return fits;
}

int CheckDestDirCreated(const char* place, const FileEntry& e, const int created[kDirKeyCount]) {
    if (e.DestIsAbsolute != 0 || !EntryNamesFile(e) || CreatedDir(e.DestDir, created)) return 1;
    int k = 0;
    while (k < DirKeyWin && !TextEqual(Shared::DirTable[k], e.DestDir)) ++k;
    Found(FindDestDirNotCreated, place, e.DestDir, k < DirKeyWin ? ScriptNames.DirKey[k] : "");
    return 0;
}

static void EntryPlace(char* place, int disk, int index) {
    char key[16];
    TextFromInt(key, sizeof(key), index + 1);
    MakePlace(place, ScriptNames.Disk[disk], key);
}

void CheckSameDestinations() {
    for (int d = 0; d < Shared::DiskSet.DiskCount; ++d) {
        for (int i = 0; i < Shared::DiskSet.Disk[d].FileCount; ++i) {
            char path[kDirWidth];
            if (!EntryNamesFile(EntryAt(d, i)) || !MakeDestPath(path, d, i)) continue;
            // The earlier entries, up to this one.
            int found = 0;
            for (int d2 = 0; d2 <= d && !found; ++d2) {
                int end = d2 == d ? i : Shared::DiskSet.Disk[d2].FileCount;
                for (int i2 = 0; i2 < end && !found; ++i2) {
                    char other[kDirWidth];
                    if (!TextEqualNoCase(EntryAt(d2, i2).DestFile, EntryAt(d, i).DestFile) ||
                        !EntryNamesFile(EntryAt(d2, i2)) || !MakeDestPath(other, d2, i2) ||
                        !TextSamePathNoCase(path, other))
                        continue;
                    char place[kPlaceWidth], earlier[kPlaceWidth];
                    EntryPlace(place, d, i);
                    EntryPlace(earlier, d2, i2);
                    Found(FindSameDestination, place, path, earlier);
                    found = 1;
                }
            }
        }
    }
}

// 1 when an entry copies name into the installation directory itself.
static int InstallsIntoInstallDir(const char* name) {
    const int none[kDirKeyCount] = {0};
    for (int d = 0; d < Shared::DiskSet.DiskCount; ++d)
        for (int i = 0; i < Shared::DiskSet.Disk[d].FileCount; ++i) {
            const FileEntry& e = EntryAt(d, i);
            if (e.DestIsAbsolute == 0 && EntryNamesFile(e) && TextEqualNoCase(e.DestFile, name) &&
                CreatedDir(e.DestDir, none))
                return 1;
        }
    return 0;
}

void CheckRegistryFiles() {
    static const char* const kFiles[] = {COMPANION_FILE, PAGE_SERVER_FILE, UNINSTALLER_FILE};
    static const char* const kEntries[] = {"Run", "property-page", "Uninstall"};
    for (int f = 0; f < CountOf(kFiles); ++f)
        if (!InstallsIntoInstallDir(kFiles[f]))
            Found(FindRegistryFileMissing, "files", kFiles[f], kEntries[f]);
}

// Lowers *limit to candidate, naming what set it.
static void Tighten(int* limit, char* by, int candidate, const char* what) {
    if (candidate >= *limit) return;
    *limit = candidate;
    TextCopy(by, kPlaceWidth, what);
}

void CheckDirectoryLimits() {
    static const char* const kValues[] = {"\\" PAGE_SERVER_FILE, "\\" COMPANION_FILE " -startup",
                                          "\\" UNINSTALLER_FILE};
    static const char* const kValueNames[] = {"InProcServer32", "Run", "UninstallString"};
    const int longest = kDirWidth - 1;
    int installLimit = longest, packageLimit = longest - TextLength("\\SETUP.INF");
    char by[kPlaceWidth] = "";
    Tighten(&installLimit, by, longest - TextLength("\\SETUP.INF"), "the journal SETUP.INF");
    for (int v = 0; v < CountOf(kValues); ++v) {
        int length = TextLength(kValues[v]);
        Tighten(&installLimit, by, kProductValueWidth - 1 - length, kValueNames[v]);
        if (TextLength(Shared::InstallDir) + length > kProductValueWidth - 1)
            FoundNumbers(FindRegistryTextLong, "[Main] DefaultPath",
                         TextLength(Shared::InstallDir) + length, kProductValueWidth - 1,
                         kValueNames[v]);
    }
    for (int k = DirKeySub1; k <= DirKeySub6; ++k) {
        if (Shared::DirTable[k][0] == 0) continue;
        char place[kPlaceWidth];
        MakePlace(place, ScriptNames.DirectoryName, ScriptNames.DirKey[k]);
        Tighten(&installLimit, by, longest - 1 - TextLength(Shared::DirTable[k]), place);
    }
    for (int d = 0; d < Shared::DiskSet.DiskCount; ++d)
        for (int i = 0; i < Shared::DiskSet.Disk[d].FileCount; ++i) {
            const FileEntry& e = EntryAt(d, i);
            if (!EntryNamesFile(e)) continue;
            char place[kPlaceWidth];
            EntryPlace(place, d, i);
            if (e.DestIsAbsolute == 0)
                Tighten(&installLimit, by,
                        longest - 2 - TextLength(e.DestDir) - TextLength(e.DestFile), place);
            int source = longest - 2 - TextLength(e.DirName) - TextLength(e.SourceFile);
            if (source < packageLimit) packageLimit = source;
        }
    FoundNumbers(NoteLongestInstallDir, "[Main] DefaultPath", installLimit, 0, by);
    FoundNumbers(NoteLongestPackageDir, "package", packageLimit);
}

void AddEntryBytes(DriveTotals* totals, const char* destPath, int64_t bytes) {
    char drive = UpperAscii(destPath[0]);
    if (drive < 'A' || drive > 'Z' || destPath[1] != ':') return;
    totals->Bytes[drive - 'A'] += bytes;
}

static long Clamped(int64_t value) {
    return value > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<long>(value);
}

void CheckTotals(const DriveTotals& totals, const char* place, int32_t minimumSpace) {
    int64_t sum = 0;
    for (int drive = 0; drive < CountOf(totals.Bytes); ++drive) sum += totals.Bytes[drive];
    FoundNumbers(NoteTotals, "totals", totals.Entries, Clamped(sum));
    for (int drive = 0; drive < CountOf(totals.Bytes); ++drive) {
        if (totals.Bytes[drive] == 0) continue;
        const char name[3] = {static_cast<char>('A' + drive), ':', 0};
        FoundNumbers(NoteDriveTotal, "totals", 0, Clamped(totals.Bytes[drive]), name);
    }
    int64_t kilobytes = (sum + 1023) / 1024;
    if (minimumSpace >= 0 && kilobytes > minimumSpace)
        FoundNumbers(FindMinimumShort, place, minimumSpace, Clamped(kilobytes));
}
