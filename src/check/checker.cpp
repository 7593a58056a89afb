// The Windows side of the checker: the loader fills the install model, the profile
// functions give the raw values, the file system and the LZ library the sources.
#include <windows.h>

#include "app/app.h"
#include "check/args.h"
#include "check/authorrules.h"
#include "check/checker.h"
#include "check/plan.h"
#include "check/report.h"
#include "check/rules.h"
#include "install/copylog.h"
#include "install/wholecopy.h"
#include "install/entrypaths.h"
#include "install/recordlines.h"
#include "registry/device.h"
#include "registry/product.h"
#include "resource.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "script/identity.h"
#include "script/journal.h"
#include "script/loader.h"
#include "script/model.h"
#include "script/destination.h"
#include "script/paths.h"
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
// what the copy would write, *whole whether that is the size it declares. Returns 0 when
// the source cannot be opened.
static int CheckSource(const char* place, const FileEntry& e, const char* path, long* bytes,
                       int* whole) {
    *bytes = 0;
    *whole = 1;
    if (!FileExists(path)) {
        // An entry without a source directory has a doubled separator, which the platform
        // passes over: the report shows the path as the file system reads it.
        // (The byte before a backslash may be the second of a double-byte character.)
        char shown[kDirWidth];
        int n = 0, afterBackslash = 0;
        for (int i = 0; path[i] != 0;) {
            int bytes = TextCharBytes(path + i);
            int backslash = path[i] == '\\';
            if (!(backslash && afterBackslash && i > 1)) {
                if (n + bytes > kDirWidth - 1) break;
                for (int k = 0; k < bytes; ++k) shown[n++] = path[i + k];
            }
            afterBackslash = backslash;
            i += bytes;
        }
        shown[n] = 0;
        Found(DirectoryExists(path) ? FindSourceIsDirectory : FindSourceMissing, place, shown);
        return 0;
    }
    OFSTRUCT scratch;
    INT handle = LZOpenFileA(const_cast<LPSTR>(path), &scratch, OF_READ);
    if (handle < 0) {
        FoundNumbers(FindNotExpanding, place, 0, 0, e.SourceFile);
        *whole = 0;
        return 1;
    }
    LONG declared = LZSeek(handle, 0, 2);
    LZSeek(handle, 0, 0);
    static char buffer[16384];
    INT got;
    while ((got = LZRead(handle, buffer, sizeof(buffer))) > 0) *bytes += got;
    LZClose(handle);
    if (got < 0 || *bytes != declared) {
        FoundNumbers(FindNotExpanding, place, *bytes, declared, e.SourceFile);
        *whole = 0;
    } else if (PackedHeaderCut(path, *bytes)) {
        char size[24];
        TextFromInt(size, sizeof(size), *bytes);
        Found(FindPackedHeaderCut, place, e.SourceFile, size);
        *whole = 0;  // the copy refuses it as damaged
    }
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

// The plan, when --plan asked for it: its lines go to Plan.Write, the findings nowhere.
static struct {
    ReportWriter Write;   // null: no plan
    int ExitCode;         // what SETUP.EXE /S ends with, as far as known
    const char* Refusal;  // the log's words for a run that never starts; null when it starts
} Plan;

static void WritePlan(const char* const fields[], int count) {
    if (Plan.Write == nullptr) return;
    char line[kReportLineWidth];
    PlanLine(line, kReportLineWidth, fields, count);
    Plan.Write(line);
}

// The plan's line of one entry.
static void PlanEntry(int disk, int index, PlanAction action, long bytes, const char* source,
                      const char* dest, const char* reason) {
    char line[16], size[24];
    TextFromInt(line, sizeof(line), index + 1);
    TextFromInt(size, sizeof(size), bytes);
    const int moves = action == PlanCopy || action == PlanExpand;
    const char* fields[] = {"entry",
                            ScriptNames.Disk[disk],
                            line,
                            PlanActionWord(action),
                            moves ? size : "-",
                            source,
                            dest,
                            reason};
    WritePlan(fields, 8);
    if (action == PlanFail && Plan.ExitCode == 0) Plan.ExitCode = 1;
}

static int StandsAsDirectory(const char* path) { return DirectoryExists(path); }

static void CheckEntries() {
    StandingDirectory = StandsAsDirectory;
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
            EntryFacts facts;
            ZeroBytes(&facts, sizeof(facts));
            facts.LinePresent = raw[0] != 0;
            facts.NameTooLong = e.NameTooLong;
            int namesFile = EntryNamesFile(e);
            facts.HasSource = e.SourceFile[0] != 0;
            facts.SourceFits = MakeSourcePath(source, n, i);
            facts.DestFits = MakeDestPath(dest, n, i);
            // A path too long for the copy is planned as the log shows it: whole.
            char shownSource[kReportLineWidth], shownDest[kReportLineWidth];
            EntryPathsShown(e, shownSource, shownDest, kReportLineWidth);
            if (!facts.SourceFits) source[0] = 0;
            if (!facts.DestFits) dest[0] = 0;
            long bytes = 0;
            if (namesFile && CheckEntryPaths(place, n, i, source, dest)) {
                facts.DestWritable = CheckEntryPlace(place, e, dest) &&
                                     CheckDestDirCreated(place, e, created) &&
                                     CheckDestName(place, e, dest, created);
                facts.SourceOpens =
                    facts.HasSource && CheckSource(place, e, source, &bytes, &facts.DataWhole);
                facts.Packed = facts.SourceOpens && IsPacked(source);
                if (facts.SourceOpens && facts.DestWritable && facts.DataWhole) {
                    char size[24], what[kPlaceWidth];
                    TextFromInt(size, sizeof(size), bytes);
                    TextCopy(what, kPlaceWidth, e.SourceFile);
                    if (facts.Packed) TextAppend(what, kPlaceWidth, " (packed)");
                    Found(NoteFileSize, place, size, dest, what);
                    AddEntryBytes(&totals, dest, bytes);
                }
            } else if (namesFile && facts.HasSource && facts.SourceFits) {
                // The destination path is too long; the copy opens the source all the same.
                facts.SourceOpens = FileExists(source);
            }
            const char* reason = "";
            PlanAction action = DecideEntry(facts, &reason);
            if (Plan.Refusal != nullptr) {
                action = PlanRefuse;
                reason = Plan.Refusal;
            }
            PlanEntry(n, i, action, bytes, facts.SourceFits ? source : shownSource,
                      facts.DestFits ? dest : shownDest, reason);
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

// What SETUP.EXE /S does with the installation directory before the copy (the destination
// page's checks): Plan gets the refusal, if any; free space short on this machine is found.
static void CheckDestinationHere() {
    const char* dir = Shared::InstallDir;
    if (!DestinationFormOk(dir)) {
        Plan.Refusal = "the destination is refused: it is not of the form X:\\...";
        Plan.ExitCode = 3;
        return;
    }
    char root[kRootPathWidth];
    DestinationRoot(root, dir);
    DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
    uint64_t freeKb = 0;
    if (GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &clusters))
        freeKb = FreeKilobytes(sectors, bytes, freeClusters);
    if (!SpaceSuffices(freeKb, Shared::MinimumSpace)) {
        char place[kPlaceWidth], drive[3] = {root[0], ':', 0};
        PlaceOf(place, IDS_MAIN, IDS_MINIMUMSPACE);
        if (Shared::MinimumSpace >= 0)
            FoundNumbers(FindSpaceShort, place, Shared::MinimumSpace,
                         freeKb > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<long>(freeKb), drive);
        Plan.Refusal = "the destination is refused: its drive has too little free space";
        Plan.ExitCode = 3;
        return;
    }
    // The destination page creates every missing level; a level that stands as a file
    // cannot become a directory.
    for (int end = NextDirLevel(dir, 3); end > 0 && !DirectoryExists(dir);
         end = NextDirLevel(dir, end)) {
        char level[kDirWidth];
        if (end >= kDirWidth) break;
        for (int i = 0; i < end; ++i) level[i] = dir[i];
        level[end] = 0;
        if (DirectoryExists(level)) continue;
        if (FileExists(level)) {
            Plan.Refusal = "the destination is refused: it cannot be created";
            Plan.ExitCode = 3;
        }
        break;
    }
}

// The mouse type the registration serves on this machine, as the device step chooses it
// ("ps2", "serial" or "none"), with the hardware key of its device node (empty for the
// package's own serial device key). The identifiers are the device step's.
static const char* RegisteredMouseKind(char* hardwareKey) {
    static const char* const kPS2Ids[] = {"BIOS\\*PNP0F13\\", "BIOS\\*PNP0F0E\\",
                                          "ROOT\\*PNP0F0E\\"};
    static const char* const kSerialIds[] = {"ROOT\\*PNP0F0C\\", "SERENUM\\KVZ0005\\"};
    ZeroBytes(hardwareKey, kHardwareKeyWidth);
    int ps2 = 0;
    for (const char* id : kPS2Ids) ps2 = ps2 || FindDeviceNode(id, hardwareKey);
    if (ps2 && Shared::MouseKind == 0) return "ps2";
    if (Shared::MouseKind != 1) return "none";
    ZeroBytes(hardwareKey, kHardwareKeyWidth);
    int serial = 0;
    for (const char* id : kSerialIds) serial = serial || FindDeviceNode(id, hardwareKey);
    if (!serial) hardwareKey[0] = 0;
    return "serial";
}

// The plan's lines after the entries: the registration and system.ini of a run that ends
// with exit code 0, and the exit code.
static void PlanRegistration() {
    const DriverProfileModel& p = Shared::DriverProfile;
    if (Plan.ExitCode == 0) {
        char hardwareKey[kHardwareKeyWidth], device[kDirWidth + 8];
        const char* kind = RegisteredMouseKind(hardwareKey);
        if (kind[0] == 's') {
            TextCopy(device, sizeof(device), "HKLM\\" OWN_SERIAL_DEVICE_INSTANCE);
            if (hardwareKey[0] != 0) TextJoin(device, sizeof(device), "HKLM\\Enum\\", hardwareKey);
        } else if (kind[0] == 'p') {
            TextJoin(device, sizeof(device), "HKLM\\Enum\\", hardwareKey);
        } else {
            TextCopy(device, sizeof(device), "-");
        }
        const char* mouse[] = {"mouse", kind, device};
        WritePlan(mouse, 3);
        if (kind[0] != 'n') {
            const int serial = kind[0] == 's';
            const char* description = serial ? p.SeialName : p.PS2Name;
            const char* values[][3] = {
                {"device", "DeviceDesc", description},
                {"device", "Mfg", p.Mfg},
                {"class", "MouseDriver", p.MouseDriver},
                {"class", "InfPath", p.MouseInf},
                {"class", "DriverDesc", description},
                {"class", "DriverDate", p.DriverDate},
                {"class", "InfSection", serial ? p.SerialInfSection : p.PS2InfSection}};
            for (const auto& v : values) {
                const char* fields[] = {"registry", v[0], v[1], v[2]};
                WritePlan(fields, 4);
            }
        }
        const char* title[] = {"registry", "HKLM\\" UNINSTALL_KEY, "DisplayName", p.Title};
        WritePlan(title, 4);
        char value[kProductValueWidth];
        if (TextJoin(value, kProductValueWidth, Shared::InstallDir, "\\" UNINSTALLER_FILE)) {
            const char* fields[] = {"registry", "HKLM\\" UNINSTALL_KEY, "UninstallString", value};
            WritePlan(fields, 4);
        }
        if (HAS_COMPANION_FILE && TextJoin(value, kProductValueWidth, Shared::InstallDir,
                                           "\\" COMPANION_FILE " -startup")) {
            const char* fields[] = {"registry", "HKLM\\" RUN_KEY, RUN_VALUE_NAME, value};
            WritePlan(fields, 4);
        }
    }
    const char* ini[] = {"systemini", Plan.ExitCode == 0 ? "mouse=*vmouse" : "unchanged"};
    WritePlan(ini, 2);
    char code[8];
    TextFromInt(code, sizeof(code), Plan.ExitCode);
    const char* end[] = {"exit", code};
    WritePlan(end, 2);
}

// The plan of a run that never starts: /S ends with code, saying why.
static void PlanRefused(int code, const char* why) {
    Plan.ExitCode = code;
    Plan.Refusal = why;
    char number[8];
    TextFromInt(number, sizeof(number), code);
    const char* fields[] = {"start", "refuse", number, why};
    WritePlan(fields, 4);
    PlanRegistration();
}

void CheckPackage(const char* dir) {
    GetWindowsDirectoryA(Shared::WindowsDir, kDirWidth);
    FillNames();
    NoteIdentity();
    const char* version[] = {"plan", "1"};
    WritePlan(version, 2);
    if (!DirectoryExists(dir)) {
        Found(FindPackageMissing, "package", dir);
        PlanRefused(2, "SETUP.INF cannot be read beside the program");
        return;
    }
    if (!ScriptReadable(dir)) {
        PlanRefused(2, "SETUP.INF cannot be read beside the program");
        return;
    }
    int loaded = LoadSetupScriptFrom(dir);
    const char* installDir[] = {"installdir", Shared::InstallDir};
    WritePlan(installDir, 2);
    CheckMainSection();
    int countsLoad = CheckDiskSet();
    CheckOtherTexts();
    if (!loaded) {
        if (countsLoad)
            Found(FindScriptUnreadable, "SETUP.INF");  // the file table could not be obtained
        PlanRefused(2, "SETUP.INF cannot be read beside the program");
        return;
    }
    CheckDestinationHere();
    char code[8];
    TextFromInt(code, sizeof(code), Plan.ExitCode);
    const char* run[] = {"start", "run"};
    const char* refused[] = {"start", "refuse", code, Plan.Refusal};
    if (Plan.Refusal != nullptr)
        WritePlan(refused, 4);
    else
        WritePlan(run, 2);
    CheckEntries();
    PlanRegistration();
}

static void WriteLine(const char* line) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written;
    WriteFile(out, line, static_cast<DWORD>(TextLength(line)), &written, nullptr);
    WriteFile(out, "\r\n", 2, &written, nullptr);
}

int ConsoleMain(const char* tail) {
    Shared::AppInstance = GetModuleHandleA(nullptr);
    int quiet, plan;
    char dir[kRawWidth];
    if (!ParseCheckArgs(tail, &quiet, dir, kRawWidth, &plan)) {
        WriteLine("usage: SETUPCHK [--quiet | --plan] PACKAGE-DIRECTORY");
        return 2;
    }
    // The plan replaces the report: the findings still count towards the exit code.
    ReportBegin(plan ? nullptr : WriteLine, quiet);
    Plan.Write = plan ? WriteLine : nullptr;
    CheckPackage(dir);
    ReportSummary();
    return ReportExitCode();
}
