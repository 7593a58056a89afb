// The Windows side of the checker: the loader fills the install model, the profile
// functions give the raw values, the file system and the LZ library the sources.
#include <windows.h>

#include "app/app.h"
#include "check/args.h"
#include "check/authorrules.h"
#include "check/checker.h"
#include "check/report.h"
#include "check/rules.h"
#include "install/entrypaths.h"
#include "install/recordlines.h"
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

// A value longer than kRawWidth - 1 is read again into this, to learn its length.
static char LongValue[65536];

// A value as the profile functions give it, read wider than the loader reads it, into out
// (its start when it is longer still). Returns the value's whole length, up to 65535.
static long ReadRaw(const char* section, const char* key, const char* def, char* out) {
    DWORD n = GetPrivateProfileStringA(section, key, def, out, kRawWidth, Shared::ScriptPath);
    if (n < kRawWidth - 1) return static_cast<long>(n);
    return static_cast<long>(GetPrivateProfileStringA(section, key, def, LongValue,
                                                      sizeof(LongValue), Shared::ScriptPath));
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
    long length = ReadRaw(LoadText(IDS_MAIN), LoadText(IDS_DEFAULTPATH), DEFAULT_INSTALL_PATH, raw);
    ReadProgramsDir(programs);
    CheckDefaultPath(place, raw, Shared::InstallDir, programs, length);

    PlaceOf(place, IDS_MAIN, IDS_PRODUCTNAME);
    length = ReadRaw(LoadText(IDS_MAIN), LoadText(IDS_PRODUCTNAME), DEFAULT_PRODUCT_NAME, raw);
    CheckProductName(place, raw, length);

    PlaceOf(place, IDS_MAIN, IDS_MINIMUMSPACE);
    CheckMinimumSpace(place, Shared::MinimumSpace);
    char main[kNameWidth];
    Name(main, IDS_MAIN);
    MakePlace(place, main, "OEM");
    CheckSwitch(FindOemRange, place, ReadNumber(main, "OEM", 0));
    MakePlace(place, main, "DefaultSerialMouse");
    CheckSwitch(FindSerialMouseRange, place, ReadNumber(main, "DefaultSerialMouse", 1));

    char names[5][kNameWidth];
    const unsigned ids[3] = {IDS_DEFAULTPATH, IDS_PRODUCTNAME, IDS_MINIMUMSPACE};
    for (int i = 0; i < 3; ++i) Name(names[i], ids[i]);
    const KnownKey known[5] = {{names[0], "\"" DEFAULT_INSTALL_PATH "\""},
                               {names[1], "\"" DEFAULT_PRODUCT_NAME "\""},
                               {names[2], "1024"},
                               {"OEM", "0"},
                               {"DefaultSerialMouse", "1 (serial)"}};
    if (ReadKeyList(main)) CheckSectionKeys(main, KeyList, known, 5);
}

// Keys of [Startup] that SETUP.EXE never reads.
static void CheckStartupKeys() {
    char names[kProfileKeyCount][kNameWidth], startup[kNameWidth];
    KnownKey known[kProfileKeyCount];
    for (int i = 0; i < kProfileKeyCount; ++i) {
        Name(names[i], kProfileKeyIds[i]);
        known[i].Name = names[i];
        known[i].Default = "empty";
    }
    known[7].Default = "empty: a PS/2 mouse is registered with an empty DeviceDesc and DriverDesc";
    known[8].Default =
        "empty: a serial mouse is registered with an empty DeviceDesc and DriverDesc";
    Name(startup, IDS_STARTUP);
    if (ReadKeyList(startup)) CheckSectionKeys(startup, KeyList, known, kProfileKeyCount);
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
        long length = ReadRaw(ScriptNames.DirectoryName, ScriptNames.DirKey[k], "", raw);
        CheckText(place, raw, kDirWidth, length);
    }
    for (int i = 0; i < kProfileKeyCount; ++i) {
        PlaceOf(place, IDS_STARTUP, kProfileKeyIds[i]);
        long length = ReadRaw(LoadText(IDS_STARTUP), LoadText(kProfileKeyIds[i]), "", raw);
        CheckText(place, raw, i == 0 ? kTitleWidth : kProfileWidth, length);
    }
    char startup[kNameWidth + 2];
    Name(startup + 1, IDS_STARTUP);
    if (!ReadKeyList(startup + 1)) {
        startup[0] = '[';
        TextAppend(startup, sizeof(startup), "]");
        Found(FindStartupMissing, startup);
    }
    CheckStartupKeys();
    if (ReadKeyList(JOURNAL_SECTION_PS2)) Found(FindJournalInPackage, "[" JOURNAL_SECTION_PS2 "]");
    if (ReadKeyList(JOURNAL_SECTION_SERIAL))
        Found(FindJournalInPackage, "[" JOURNAL_SECTION_SERIAL "]");
    if (ReadKeyList(kRecordSection)) Found(FindRecordInPackage, "[Installed]");
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
        // An entry without a source directory has a doubled separator, which the platform
        // passes over: the report shows the path as the file system reads it.
        char shown[kDirWidth];
        int n = 0;
        for (int i = 0; path[i] != 0 && n < kDirWidth - 1; ++i)
            if (!(path[i] == '\\' && i > 1 && path[i - 1] == '\\')) shown[n++] = path[i];
        shown[n] = 0;
        Found(FindSourceMissing, place, shown);
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

// The expanded text of the entry's source, as much as fits (an INF file is a few
// kilobytes), ending in a zero; 0 when it cannot be read.
static int ReadExpanded(int entry, char* text, int width) {
    int disk = 0;
    while (disk + 1 < Shared::DiskSet.DiskCount &&
           Shared::DiskSet.Disk[disk + 1].FirstEntry <= entry)
        ++disk;
    char source[kDirWidth];
    if (!MakeSourcePath(source, disk, entry - Shared::DiskSet.Disk[disk].FirstEntry)) return 0;
    OFSTRUCT scratch;
    INT handle = LZOpenFileA(source, &scratch, OF_READ);
    if (handle < 0) return 0;
    INT got = LZRead(handle, text, width - 1);
    LZClose(handle);
    if (got < 0) return 0;
    text[got] = 0;
    return 1;
}

// [Startup]: the driver and the INF file are installed, and the INF file has the sections
// the driver class key names.
static void CheckStartupFiles() {
    const DriverProfileModel& p = Shared::DriverProfile;
    char place[kPlaceWidth], key[kNameWidth];
    PlaceOf(place, IDS_STARTUP, IDS_MOUSEDRIVER);
    Name(key, IDS_MOUSEDRIVER);
    CheckProfileFileInstalled(place, key, p.MouseDriver);
    PlaceOf(place, IDS_STARTUP, IDS_MOUSEINF);
    Name(key, IDS_MOUSEINF);
    CheckProfileFileInstalled(place, key, p.MouseInf);
    int inf = p.MouseInf[0] != 0 ? EntryInstalling(p.MouseInf) : -1;
    static char text[65536];
    if (inf < 0 || !ReadExpanded(inf, text, sizeof(text))) return;
    PlaceOf(place, IDS_STARTUP, IDS_PS2INFSECTION);
    CheckInfSection(place, p.PS2InfSection, p.MouseInf, text);
    PlaceOf(place, IDS_STARTUP, IDS_SERIALINFSECTION);
    CheckInfSection(place, p.SerialInfSection, p.MouseInf, text);
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
            long length = ReadRaw(disk, key, "", raw);
            CheckFileLine(place, raw, count, length);
            const FileEntry& e = Shared::FileTable[Shared::DiskSet.Disk[n].FirstEntry + i];
            char source[kDirWidth], dest[kDirWidth];
            if (!EntryNamesFile(e) || !CheckEntryPaths(place, n, i, source, dest)) continue;
            int reachesDest =
                CheckEntryPlace(place, e, dest) && CheckDestDirCreated(place, e, created);
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
    CheckStartupFiles();
    CheckDirectoryLimits();
    char place[kPlaceWidth];
    PlaceOf(place, IDS_MAIN, IDS_MINIMUMSPACE);
    CheckTotals(totals, place, Shared::MinimumSpace);
}

void CheckPackage(const char* dir) {
    GetWindowsDirectoryA(Shared::WindowsDir, kDirWidth);
    FillNames();
    NoteIdentity();
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
