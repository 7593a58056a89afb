#include "check/rules.h"

#include "install/entrypaths.h"
#include "runtime/countof.h"
#include "runtime/text.h"
#include "script/destination.h"
#include "script/fileline.h"
#include "script/identity.h"
#include "script/paths.h"

ScriptNameTable ScriptNames;
int (*StandingDirectory)(const char* path) = nullptr;

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

void CheckText(const char* place, const char* raw, int width, long length) {
    if (length < 0) length = TextLength(raw);
    if (length > width - 1) {
        char cut[kRawWidth];
        TextCopy(cut, width, raw);
        FoundNumbers(FindTextCut, place, length, width - 1, cut);
    }
    if (HoldsComment(raw)) Found(FindValueComment, place, raw);
}

static char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

void CheckDefaultPath(const char* place, const char* raw, const char* installDir,
                      const char* programsDir, long rawLength) {
    CheckText(place, raw, kDirWidth, rawLength);
    char onC[kDirWidth];
    if (!ComposeInstallDir(onC, raw, "C:\\WINDOWS", "C:\\Program Files"))
        TextCopy(onC, kDirWidth, "(too long)");
    Found(NoteInstallDir, place, installDir[0] != 0 ? installDir : "(too long)", onC);
    if (raw[0] == 0) {
        Found(FindDefaultPathEmpty, place, installDir);
        return;
    }
    int length = TextLength(raw);
    if (TextLastBackslash(raw) == length - 1) {
        char run[kProductValueWidth];
        TextJoin(run, kProductValueWidth, installDir,
                 HAS_COMPANION_FILE ? "\\" COMPANION_FILE " -startup" : "\\" UNINSTALLER_FILE);
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
    // Below a level other than a drive's root or the programs directory, setup may create
    // more than one level: worth a note.
    char parent[kDirWidth];
    TextCopy(parent, kDirWidth, installDir);
    TextTrimBackslashes(parent, 3);
    CutAtLastBackslash(parent);
    int isRoot = TextLength(parent) == 2 && parent[1] == ':';
    if (!isRoot && !TextSamePathNoCase(parent, programsDir))
        Found(FindInstallDirLevels, place, installDir, parent);
}

void CheckProductName(const char* place, const char* raw, long rawLength) {
    if (rawLength < 0) rawLength = TextLength(raw);
    CheckText(place, raw, kProductWidth, rawLength);
    if (TextContains(raw, "&")) Found(FindProductAmpersand, place);
    if (rawLength > kCaptionFitLength) FoundNumbers(FindProductLong, place, rawLength);
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
        if (!d.Labelled) {
            // The loader counts the labels, not where they stand: a gap shifts the disks.
            MakePlace(place, ScriptNames.DiskLabel, disk);
            char labels[24];
            TextFromInt(labels, sizeof(labels), diskCount);
            Found(FindLabelGap, place, disk, labels);
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

// The length of field `index` (from 0) of a whole file line, blanks around it dropped as
// the loader drops them: what the field holds before any width cuts it.
static int FieldLength(const char* line, int index) {
    const char* p = line;
    for (int i = 0; i < index; ++i) {
        while (*p != 0 && *p != ',') ++p;
        if (*p == ',') ++p;
    }
    while (*p == ' ') ++p;
    int n = 0;
    while (p[n] != 0 && p[n] != ',') ++n;
    while (n > 1 && p[n - 1] == ' ') --n;
    return n;
}

void CheckFileLine(const char* place, const char* raw, int count, long rawLength) {
    if (raw[0] == 0) {
        FoundNumbers(FindLineMissing, place, count);
        return;
    }
    CheckText(place, raw, kLineWidth, rawLength);
    char line[kLineWidth];
    TextCopy(line, kLineWidth, raw);  // what the loader reads of it
    char source[kLineWidth], dest[kLineWidth], description[kLineWidth], key[kLineWidth];
    const char* pos = SplitField(line, source);
    pos = SplitField(pos, dest);
    pos = SplitField(pos, description);
    SplitField(pos, key);
    if (TextLength(source) > kFileNameWidth - 1) Found(FindNameLong, place, "source", source);
    if (TextLength(dest) > kFileNameWidth - 1) Found(FindNameLong, place, "destination", dest);
    // Measured in the whole line: the loader's cut of the line may have cut the field too.
    if (FieldLength(raw, 2) > kDescriptionWidth - 1) {
        char cut[kDescriptionWidth];
        TextCopy(cut, kDescriptionWidth, description);
        FoundNumbers(FindTextCut, place, FieldLength(raw, 2), kDescriptionWidth - 1, cut);
    }
    int k = DirKeyNamed(key);
    char composed[kLineWidth];
    if (k < 0) {
        Found(FindDirKeyUnknown, place, key);
    } else if (const char* tooLong = EntryDirTooLong(k, composed)) {
        Found(FindEntryDirLong, place, tooLong);
    }
}

// Path with "." parts, doubled separators and a part followed by ".." taken out, into out
// (width wide); ".." above the first part (the drive) stays there, as the file system does.
// 0 with out empty when it does not fit.
static int ResolveDots(char* out, int width, const char* path) {
    int n = 0, first = -1;  // first: the end of the first part, which ".." never removes
    for (const char* p = path; *p != 0;) {
        const char* end = p;
        while (*end != 0 && *end != '\\') end += TextCharBytes(end);
        int length = static_cast<int>(end - p);
        if (length == 2 && p[0] == '.' && p[1] == '.' && first >= 0) {
            // Back to the last separator of out (never the second byte of a character).
            out[n] = 0;
            int last = TextLastBackslash(out);
            n = last > first ? last : first;
        } else if (length > 0 && !(length == 1 && p[0] == '.')) {
            if (n + (first >= 0 ? 1 : 0) + length >= width) {
                out[0] = 0;
                return 0;
            }
            if (first >= 0) out[n++] = '\\';
            for (int i = 0; i < length; ++i) out[n++] = p[i];
            if (first < 0) first = n;
        }
        p = *end != 0 ? end + 1 : end;
    }
    out[n] = 0;
    return 1;
}

// The installation directory that relative directories are judged below: this machine's,
// or a stand-in when it is too long to be known.
static const char* BaseDir() { return Shared::InstallDir[0] != 0 ? Shared::InstallDir : "C:\\R"; }

// BaseDir \ relative with dots resolved into out (kLineWidth wide).
static int ResolvedBelowBase(char* out, const char* relative) {
    char joined[kLineWidth * 2];
    return TextJoin(joined, sizeof(joined), BaseDir(), "\\", relative) &&
           ResolveDots(out, kLineWidth, joined);
}

// 1 when path is dir itself or lies below it (both resolved; letter case aside).
static int Within(const char* path, const char* dir) {
    int n = TextLength(dir);
    char head[kLineWidth];
    if (TextLength(path) < n || !TextCopy(head, kLineWidth, path)) return 0;
    head[n] = 0;
    return TextEqualNoCase(head, dir) && (path[n] == 0 || path[n] == '\\');
}

// 1 when the relative directory dir exists when the copy starts: the installation
// directory, a directory above it, or a created SubDir.
static int CreatedDir(const char* dir, const int created[kDirKeyCount]) {
    char path[kLineWidth], base[kLineWidth];
    if (!ResolvedBelowBase(path, dir) || !ResolvedBelowBase(base, "")) return 0;
    if (Within(base, path)) return 1;
    if (StandingDirectory != nullptr && StandingDirectory(path)) return 1;
    for (int k = DirKeySub1; k <= DirKeySub6; ++k) {
        char other[kLineWidth];
        if (created[k] && ResolvedBelowBase(other, Shared::DirTable[k]) &&
            TextEqualNoCase(path, other))
            return 1;
    }
    return 0;
}

// 1 when a relative directory or name holds a drive (a colon); reported at place.
static int ReportDrive(const char* place, const char* value, const char* where) {
    if (!TextContains(value, ":")) return 0;
    Found(FindDriveInPath, place, value, where);
    return 1;
}

// Reports a relative value (a directory, or a directory and a name) that resolves to a place
// outside the installation directory.
static void ReportOutside(const char* place, const char* value, const char* relative) {
    char path[kLineWidth], base[kLineWidth];
    if (ResolvedBelowBase(path, relative) && ResolvedBelowBase(base, "") && !Within(path, base))
        Found(FindLandsOutside, place, value, path);
}

void CheckSubDirs(int created[kDirKeyCount]) {
    for (int k = 0; k < kDirKeyCount; ++k) created[k] = 0;
    for (int k = DirKeySub1; k <= DirKeySub6; ++k) {
        if (Shared::DirTable[k][0] == 0) continue;
        // The level above must be the installation directory or made by an earlier SubDir
        // (created[k] is still 0, so k does not count itself).
        char parent[kDirWidth];
        TextCopy(parent, kDirWidth, Shared::DirTable[k]);
        TextTrimBackslashes(parent, 0);
        int last = TextLastBackslash(parent);
        if (last >= 0) parent[last] = 0;
        created[k] = last < 0 || CreatedDir(parent, created);
        char place[kPlaceWidth], where[kLineWidth], made[kDirWidth];
        MakePlace(place, ScriptNames.DirectoryName, ScriptNames.DirKey[k]);
        if (!TextJoin(where, kLineWidth, BaseDir(), "\\", Shared::DirTable[k])) where[0] = 0;
        // The copy composes the path 79 characters wide and creates nothing when it is longer;
        // each entry bound for it is reported with its own path.
        if (Shared::InstallDir[0] != 0 && !TextJoin(made, kDirWidth, where, nullptr)) {
            created[k] = 0;
            continue;
        }
        if (ReportDrive(place, Shared::DirTable[k], where)) {
            created[k] = 0;
            continue;
        }
        if (created[k]) {
            ReportOutside(place, Shared::DirTable[k], Shared::DirTable[k]);
            continue;
        }
        Found(FindSubDirNotCreated, place, Shared::DirTable[k]);
    }
}

int CheckDestName(const char* place, const FileEntry& e, const char* dest,
                  const int created[kDirKeyCount]) {
    if (e.DestFile[0] == 0) {
        Found(FindDestNameEmpty, place, dest);
        return 0;
    }
    for (const char* p = e.DestFile; *p != 0; p += TextCharBytes(p)) {
        const char bad[2] = {*p, 0};
        if (TextCharBytes(p) == 2)
            continue;  // a double-byte character (its second byte may be "|")
        if (static_cast<unsigned char>(*p) >= 32 && !TextContains("?*<>|\"/", bad)) continue;
        Found(FindDestNameBad, place, e.DestFile, bad);
        return 0;
    }
    // A backslash in the name leads into a directory of its own: it must be there too.
    char dir[kLineWidth];
    int relative = e.DestIsAbsolute == 0;
    if (TextContains(e.DestFile, "\\") && TextJoin(dir, kLineWidth, e.DestDir, "\\", e.DestFile)) {
        CutAtLastBackslash(dir);
        int there = relative ? CreatedDir(dir, created)
                             : StandingDirectory == nullptr || StandingDirectory(dir);
        if (!there) {
            Found(FindDestNameBad, place, e.DestFile, "\\");
            return 0;
        }
    }
    char path[kLineWidth], other[kLineWidth];
    int isDir = StandingDirectory != nullptr && StandingDirectory(dest);
    if (relative && TextJoin(dir, kLineWidth, e.DestDir, "\\", e.DestFile) &&
        ResolvedBelowBase(path, dir))
        for (int k = DirKeySub1; k <= DirKeySub6 && !isDir; ++k)
            isDir = created[k] && ResolvedBelowBase(other, Shared::DirTable[k]) &&
                    TextEqualNoCase(path, other);
    if (isDir) Found(FindDestIsDirectory, place, dest);
    return !isDir;
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

int CheckEntryPlace(const char* place, const FileEntry& e, const char* dest) {
    if (!EntryNamesFile(e)) return 1;
    if (e.DestIsAbsolute != 0) {
        Found(NoteSharedFile, place, dest);
        return 1;
    }
    char relative[kLineWidth];
    if (!TextJoin(relative, kLineWidth, e.DestDir, "\\", e.DestFile)) return 1;
    if (ReportDrive(place, e.DestDir, dest) || ReportDrive(place, e.DestFile, dest)) return 0;
    ReportOutside(place, e.DestDir[0] != 0 ? relative : e.DestFile, relative);
    return 1;
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

// The files of the installation directory that SETUP.EXE's registry entries name, with the
// value that names each: the ones of the identity this checker was built with.
struct RegistryFile {
    int Present;  // 0 when the identity has none
    const char* File;
    const char* Entry;   // the entry, as the finding names it
    const char* Origin;  // where the name comes from
    const char* Value;   // what follows InstallDir in the value
    const char* ValueName;
};
static const RegistryFile kRegistryFiles[] = {
    {HAS_COMPANION_FILE, COMPANION_FILE, "Run", "the companion that this kit names",
     "\\" COMPANION_FILE " -startup", "Run"},
    {HAS_PAGE_SERVER, PAGE_SERVER_FILE, "property-page",
     "the property-page server that this kit names", "\\" PAGE_SERVER_FILE, "InProcServer32"},
    {1, UNINSTALLER_FILE, "Uninstall", "the uninstaller that this kit builds",
     "\\" UNINSTALLER_FILE, "UninstallString"},
};
enum { kRegistryFileCount = sizeof(kRegistryFiles) / sizeof(kRegistryFiles[0]) };

void CheckRegistryFiles() {
    for (const RegistryFile& f : kRegistryFiles)
        if (f.Present && !InstallsIntoInstallDir(f.File))
            Found(FindRegistryFileMissing, "files", f.File, f.Entry, f.Origin);
    if (!InstallsIntoInstallDir("SETUP.INF")) Found(FindScriptNotInstalled, "files");
    if (!InstallsIntoInstallDir("SETUP.EXE")) Found(FindSetupNotInstalled, "files");
}

void NoteIdentity() {
    char files[kPlaceWidth * 2] = "";
    for (const RegistryFile& f : kRegistryFiles) {
        if (!f.Present) continue;
        if (files[0] != 0) TextAppend(files, sizeof files, ", ");
        TextAppend(files, sizeof files, f.File);
    }
    Found(NoteIdentityFiles, "identity", DEFAULT_PRODUCT_NAME, IDENTITY_FILE_NAME, files);
}

// Lowers *limit to candidate, naming what set it.
static void Tighten(int* limit, char* by, int candidate, const char* what) {
    if (candidate >= *limit) return;
    *limit = candidate;
    TextCopy(by, kPlaceWidth, what);
}

void CheckDirectoryLimits() {
    const int longest = kDirWidth - 1;
    int installLimit = longest, packageLimit = longest - TextLength("\\SETUP.INF");
    char by[kPlaceWidth] = "";
    Tighten(&installLimit, by, longest - TextLength("\\SETUP.INF"), "the journal SETUP.INF");
    // In the order the entries were checked before: the page server, the Run value, the
    // uninstaller.
    static const int kOrder[kRegistryFileCount] = {1, 0, 2};
    for (int o : kOrder) {
        const RegistryFile& f = kRegistryFiles[o];
        if (!f.Present) continue;
        int length = TextLength(f.Value);
        Tighten(&installLimit, by, kProductValueWidth - 1 - length, f.ValueName);
        if (TextLength(Shared::InstallDir) + length > kProductValueWidth - 1)
            FoundNumbers(FindRegistryTextLong, "[Main] DefaultPath",
                         TextLength(Shared::InstallDir) + length, kProductValueWidth - 1,
                         f.ValueName);
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
