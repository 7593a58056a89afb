// The Windows side of the checker: the loader fills the install model, the profile
// functions give the raw values, the file system and the LZ library the sources.
#include <windows.h>

#include "app/app.h"
#include "check/args.h"
#include "check/checker.h"
#include "check/report.h"
#include "check/rules.h"
#include "resource.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "script/identity.h"
#include "script/journal.h"
#include "script/loader.h"
#include "script/model.h"
#include "texts/textring.h"

// Key names of one section, as the profile functions list them.
static char KeyList[65536];

// A value as the profile functions give it, read wider than the loader reads it.
static void ReadRaw(const char* section, const char* key, const char* def, char* out) {
    GetPrivateProfileStringA(section, key, def, out, kRawWidth, Shared::ScriptPath);
}

static int32_t ReadNumber(const char* section, const char* key, int32_t def) {
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, def, Shared::ScriptPath));
}

// 1 when the section holds a key; its names are then in KeyList.
static int ReadKeyList(const char* section) {
    ZeroBytes(KeyList, 2);
    return GetPrivateProfileStringA(section, nullptr, "", KeyList, sizeof(KeyList),
                                    Shared::ScriptPath) > 0;
}

static void Name(char* out, unsigned id) { TextCopy(out, kNameWidth, LoadTextOrEmpty(id)); }

static void FillNames() {
    for (int k = 0; k < kDirKeyCount; ++k) Name(ScriptNames.DirKey[k], IDS_ROOTDIR + k);
    for (int n = 0; n < kMaxDisks; ++n) Name(ScriptNames.Disk[n], IDS_DISK1 + n);
    Name(ScriptNames.DiskLabel, IDS_DISKLABEL);
    Name(ScriptNames.DirectoryName, IDS_DIRECTORYNAME);
    Name(ScriptNames.FileCounts, IDS_FILECOUNTS);
}

// The place "[section] key" of string-table names.
static void PlaceOf(char* place, unsigned section, unsigned key) {
    char s[kNameWidth], k[kNameWidth];
    Name(s, section);
    Name(k, key);
    MakePlace(place, s, k);
}

// 1 when SETUP.INF is there and can be opened; else reported.
static int ScriptReadable(const char* dir) {
    char path[kDirWidth];
    if (!TextJoin(path, kDirWidth, dir, "\\SETUP.INF")) {
        Found(FindScriptPathLong, "SETUP.INF", dir);
        return 0;
    }
    int directory = DirectoryExists(path);
    if (!directory && !FileExists(path)) {
        Found(FindScriptMissing, "SETUP.INF");
        return 0;
    }
    HANDLE file = directory ? INVALID_HANDLE_VALUE
                            : CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Found(FindScriptUnreadable, "SETUP.INF");
        return 0;
    }
    CloseHandle(file);
    return 1;
}

static void CheckMainSection() {
    char place[kPlaceWidth], raw[kRawWidth], programs[kDirWidth];
    PlaceOf(place, IDS_MAIN, IDS_DEFAULTPATH);
    ReadRaw(LoadText(IDS_MAIN), LoadText(IDS_DEFAULTPATH), DEFAULT_INSTALL_PATH, raw);
    ReadProgramsDir(programs);
    CheckDefaultPath(place, raw, Shared::InstallDir, programs);

    PlaceOf(place, IDS_MAIN, IDS_PRODUCTNAME);
    ReadRaw(LoadText(IDS_MAIN), LoadText(IDS_PRODUCTNAME), DEFAULT_PRODUCT_NAME, raw);
    CheckProductName(place, raw);

    PlaceOf(place, IDS_MAIN, IDS_MINIMUMSPACE);
    CheckMinimumSpace(place, Shared::MinimumSpace);
    char main[kNameWidth];
    Name(main, IDS_MAIN);
    MakePlace(place, main, "OEM");
    CheckSwitch(FindOemRange, place, ReadNumber(main, "OEM", 0));
    MakePlace(place, main, "DefaultSerialMouse");
    CheckSwitch(FindSerialMouseRange, place, ReadNumber(main, "DefaultSerialMouse", 1));
}

// Labels and counts; 0 when the counts keep the loader from loading.
static int CheckDiskSet() {
    DiskFacts facts[kMaxDisks];
    char raw[kRawWidth];
    for (int n = 0; n < kMaxDisks; ++n) {
        ReadRaw(ScriptNames.DiskLabel, ScriptNames.Disk[n], "", raw);
        facts[n].Labelled = raw[0] != 0;
        ReadRaw(ScriptNames.FileCounts, ScriptNames.Disk[n], "", raw);
        facts[n].CountPresent = raw[0] != 0;
        facts[n].Count = ReadNumber(ScriptNames.FileCounts, ScriptNames.Disk[n], 0);
        facts[n].HasLines = ReadKeyList(ScriptNames.Disk[n]);
    }
    return CheckDisks(facts, Shared::DiskSet.DiskCount);
}

// The texts of [DirectoryName] and [Startup], and journal sections in the package.
static void CheckOtherTexts() {
    char place[kPlaceWidth], raw[kRawWidth];
    for (int k = 0; k < kDirKeyCount; ++k) {
        MakePlace(place, ScriptNames.DirectoryName, ScriptNames.DirKey[k]);
        ReadRaw(ScriptNames.DirectoryName, ScriptNames.DirKey[k], "", raw);
        CheckText(place, raw, kDirWidth);
    }
    for (int i = 0; i < kProfileKeyCount; ++i) {
        PlaceOf(place, IDS_STARTUP, kProfileKeyIds[i]);
        ReadRaw(LoadText(IDS_STARTUP), LoadText(kProfileKeyIds[i]), "", raw);
        CheckText(place, raw, i == 0 ? kTitleWidth : kProfileWidth);
    }
    if (ReadKeyList(JOURNAL_SECTION_PS2)) Found(FindJournalInPackage, "[" JOURNAL_SECTION_PS2 "]");
    if (ReadKeyList(JOURNAL_SECTION_SERIAL))
        Found(FindJournalInPackage, "[" JOURNAL_SECTION_SERIAL "]");
}

// 1 when the file starts with the signature of the LZ library's packed format.
static int IsPacked(const char* path) {
    static const unsigned char kSignature[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    unsigned char head[8];
    DWORD got = 0;
    int packed = ReadFile(file, head, sizeof(head), &got, nullptr) && got == sizeof(head);
    for (int i = 0; packed && i < 8; ++i) packed = head[i] == kSignature[i];
    CloseHandle(file);
    return packed;
}

// Expands the source through the LZ library, as the copy does, into nothing: *bytes gets
// what the copy would write. Returns 0 when the source is missing.
static int CheckSource(const char* place, const FileEntry& e, const char* path, long* bytes) {
    if (!FileExists(path)) {
        Found(FindSourceMissing, place, path);
        return 0;
    }
    *bytes = 0;
    OFSTRUCT scratch;
    INT handle = LZOpenFileA(const_cast<LPSTR>(path), &scratch, OF_READ);
    if (handle < 0) {
        FoundNumbers(FindNotExpanding, place, 0, 0, e.SourceFile);
        return 1;
    }
    LONG declared = LZSeek(handle, 0, 2);
    LZSeek(handle, 0, 0);
    static char buffer[16384];
    INT got;
    while ((got = LZRead(handle, buffer, sizeof(buffer))) > 0) *bytes += got;
    LZClose(handle);
    if (got < 0 || *bytes != declared)
        FoundNumbers(FindNotExpanding, place, *bytes, declared, e.SourceFile);
    return 1;
}

static void CheckEntries() {
    int created[kDirKeyCount];
    CheckSubDirs(created);
    DriveTotals totals;
    ZeroBytes(&totals, sizeof(totals));
    totals.Entries = Shared::TotalFiles;
    for (int n = 0; n < Shared::DiskSet.DiskCount; ++n) {
        const char* disk = ScriptNames.Disk[n];
        int count = Shared::DiskSet.Disk[n].FileCount;
        if (ReadKeyList(disk)) CheckDiskKeys(n, KeyList, count);
        for (int i = 0; i < count; ++i) {
            char key[16], place[kPlaceWidth], raw[kRawWidth];
            TextFromInt(key, sizeof(key), i + 1);
            MakePlace(place, disk, key);
            ReadRaw(disk, key, "", raw);
            CheckFileLine(place, raw, count);
            const FileEntry& e = Shared::FileTable[Shared::DiskSet.Disk[n].FirstEntry + i];
            char source[kDirWidth], dest[kDirWidth];
            if (!EntryNamesFile(e) || !CheckEntryPaths(place, n, i, source, dest)) continue;
            int reachesDest = CheckDestDirCreated(place, e, created);
            long bytes;
            if (!CheckSource(place, e, source, &bytes) || !reachesDest) continue;
            char size[24], what[kPlaceWidth];
            TextFromInt(size, sizeof(size), bytes);
            TextCopy(what, kPlaceWidth, e.SourceFile);
            if (IsPacked(source)) TextAppend(what, kPlaceWidth, " (packed)");
            Found(NoteFileSize, place, size, dest, what);
            AddEntryBytes(&totals, dest, bytes);
        }
    }
    CheckSameDestinations();
    CheckRegistryFiles();
    CheckDirectoryLimits();
    char place[kPlaceWidth];
    PlaceOf(place, IDS_MAIN, IDS_MINIMUMSPACE);
    CheckTotals(totals, place, Shared::MinimumSpace);
}

void CheckPackage(const char* dir) {
    GetWindowsDirectoryA(Shared::WindowsDir, kDirWidth);
    FillNames();
    if (!DirectoryExists(dir)) {
        Found(FindPackageMissing, "package", dir);
        return;
    }
    if (!ScriptReadable(dir)) return;
    int loaded = LoadSetupScriptFrom(dir);
    CheckMainSection();
    int countsLoad = CheckDiskSet();
    CheckOtherTexts();
    if (loaded) {
        CheckEntries();
    } else if (countsLoad) {
        Found(FindScriptUnreadable, "SETUP.INF");  // the file table could not be obtained
    }
}

static void WriteLine(const char* line) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written;
    WriteFile(out, line, static_cast<DWORD>(TextLength(line)), &written, nullptr);
    WriteFile(out, "\r\n", 2, &written, nullptr);
}

int ConsoleMain(const char* tail) {
    Shared::AppInstance = GetModuleHandleA(nullptr);
    int quiet;
    char dir[kRawWidth];
    if (!ParseCheckArgs(tail, &quiet, dir, kRawWidth)) {
        WriteLine("usage: SETUPCHK [--quiet] PACKAGE-DIRECTORY");
        return 2;
    }
    ReportBegin(WriteLine, quiet);
    CheckPackage(dir);
    ReportSummary();
    return ReportExitCode();
}
