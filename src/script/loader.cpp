#include <windows.h>

#include "script/loader.h"

#include "resource.h"
#include "runtime/countof.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "script/fileline.h"
#include "script/identity.h"
#include "script/model.h"
#include "script/paths.h"
#include "script/plainlines.h"
#include "texts/notice.h"
#include "texts/textring.h"

static HGLOBAL FileTableBlock;

// A script larger than this is read key by key: the largest a loadable one can be (32,767
// file lines of 127 characters and their keys) with room to spare.
enum { kMaxScriptText = 8 * 1024 * 1024 };

// A script path that did not fit is left empty; every read then gives its default,
// as for a missing script.
static void ReadText(const char* section, const char* key, const char* def, char* out, int width) {
    if (Shared::ScriptPath[0] == 0 || section == nullptr || key == nullptr) {
        TextCopy(out, width, def);
        return;
    }
    GetPrivateProfileStringA(section, key, def, out, static_cast<DWORD>(width), Shared::ScriptPath);
    // A value cut to the width may end in half a double-byte character.
    if (TextLength(out) == width - 1) TextDropTornCharacter(out);
}

static int32_t ReadInt(const char* section, const char* key, int32_t def) {
    if (Shared::ScriptPath[0] == 0 || section == nullptr || key == nullptr) return def;
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, def, Shared::ScriptPath));
}

void ReadProgramsDir(char* out) {
    TextCopy(out, kDirWidth, "C:\\Program Files");
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CURRENT_VERSION_KEY, 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return;
    char value[kDirWidth + 1];
    DWORD size = kDirWidth;
    ZeroBytes(value, sizeof(value));
    if (RegQueryValueExA(key, "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                         &size) == ERROR_SUCCESS &&
        TextLength(value) < kDirWidth && value[0] != 0)
        TextCopy(out, kDirWidth, value);
    RegCloseKey(key);
}

static void LoadMain() {
    char v[kDirWidth];
    ReadText(LoadText(IDS_MAIN), LoadText(IDS_DEFAULTPATH), DEFAULT_INSTALL_PATH, v, kDirWidth);
    char programs[kDirWidth];
    programs[0] = 0;
    if (!DefaultPathHasDrive(v)) ReadProgramsDir(programs);
    ComposeInstallDir(Shared::InstallDir, v, Shared::WindowsDir, programs);

    ReadText(LoadText(IDS_MAIN), LoadText(IDS_PRODUCTNAME), DEFAULT_PRODUCT_NAME,
             Shared::ProductName, kProductWidth);
    ComposeCaption(Shared::SetupCaption, kCaptionWidth, Shared::ProductName, IDS_SETUP_PROGRAM);

    Shared::MinimumSpace = ReadInt(LoadText(IDS_MAIN), LoadText(IDS_MINIMUMSPACE), 1024);
}

// Labels, directory table and counts. Returns 0 when more than 32767 lines are listed.
static int LoadDisks() {
    Shared::DiskSet.DiskCount = 0;
    for (int n = 0; n < kMaxDisks; ++n) {
        DiskInfo& disk = Shared::DiskSet.Disk[n];
        ReadText(LoadText(IDS_DISKLABEL), LoadText(IDS_DISK1 + n), "", disk.DiskLabelText,
                 kLabelWidth);
        if (disk.DiskLabelText[0] != 0) ++Shared::DiskSet.DiskCount;
    }
    for (int k = 0; k < kDirKeyCount; ++k)
        ReadText(LoadText(IDS_DIRECTORYNAME), LoadText(IDS_ROOTDIR + k), "", Shared::DirTable[k],
                 kDirWidth);

    int32_t total = 0;
    for (int n = 0; n < Shared::DiskSet.DiskCount; ++n) {
        int32_t count = ReadInt(LoadText(IDS_FILECOUNTS), LoadText(IDS_DISK1 + n), 0);
        if (count < 0) count = 0;
        if (count > kMaxTotalFiles || total + count > kMaxTotalFiles) return 0;
        Shared::DiskSet.Disk[n].FileCount = static_cast<int16_t>(count);
        total += count;
    }
    Shared::TotalFiles = static_cast<int16_t>(total);
    return 1;
}

// Finds the lines of section in the script's text, and checks them against the section as
// the profile functions list it (at most 32 KB on Windows 95). Returns 0, every key then
// read from the profile functions, when they differ or the text is not plain.
static int FindDiskLines(const char* text, long size, const char* section, int count,
                         PlainLine* lines) {
    if (!FindPlainLines(text, size, section, count, kLineWidth, lines)) return 0;
    enum { kListWidth = 32767 };
    char* listed = static_cast<char*>(static_cast<void*>(GlobalAlloc(GMEM_FIXED, kListWidth)));
    if (listed == nullptr) return 0;
    DWORD length = GetPrivateProfileSectionA(section, listed, kListWidth, Shared::ScriptPath);
    int agree = length < kListWidth &&
                PlainLinesAgree(listed, static_cast<long>(length), length >= kListWidth - 2, text,
                                count, lines);
    GlobalFree(listed);
    return agree;
}

static void LoadFileLines() {
    // Directory key names, copied out of the ring: the section and key names below reuse it.
    char names[kDirKeyCount][kLineWidth];
    const char* keyNames[kDirKeyCount];
    for (int k = 0; k < kDirKeyCount; ++k) {
        TextCopy(names[k], kLineWidth, LoadTextOrEmpty(IDS_ROOTDIR + k));
        keyNames[k] = names[k];
    }
    // Every line's place in the script's text; the lines that the text does not say plainly,
    // and every line when the text cannot be read, come from the profile functions.
    long size = 0;
    char* text = ReadWholeFile(Shared::ScriptPath, kMaxScriptText, 1, &size);
    PlainLine* lines = nullptr;
    if (text != nullptr && Shared::TotalFiles > 0)
        lines = static_cast<PlainLine*>(static_cast<void*>(GlobalAlloc(
            GMEM_FIXED, static_cast<SIZE_T>(Shared::TotalFiles) * sizeof(PlainLine))));
    int32_t first = 0;
    for (int n = 0; n < Shared::DiskSet.DiskCount; ++n) {
        Shared::DiskSet.Disk[n].FirstEntry = first;
        char section[kLineWidth];
        TextCopy(section, kLineWidth, LoadTextOrEmpty(IDS_DISK1 + n));
        const int count = Shared::DiskSet.Disk[n].FileCount;
        int plain = lines != nullptr && FindDiskLines(text, size, section, count, lines);
        for (int j = 1; j <= count; ++j) {
            char line[kLineWidth];
            const PlainLine* at = plain ? &lines[j - 1] : nullptr;
            if (at != nullptr && at->start != kAskProfile) {
                for (int i = 0; i < at->length; ++i) line[i] = text[at->start + i];
                line[at->length] = 0;  // shorter than the line's width: the reader saw to it
            } else {
                char key[16];
                TextFromInt(key, sizeof(key), j);
                ReadText(section, key, "", line, kLineWidth);
            }
            if (line[0] != 0)
                ParseFileLine(line, keyNames, Shared::DirTable, Shared::WindowsDir,
                              &Shared::FileTable[first + j - 1]);
        }
        first += count;
    }
    if (lines != nullptr) GlobalFree(lines);
    if (text != nullptr) GlobalFree(text);
}

const unsigned kProfileKeyIds[kProfileKeyCount] = {
    IDS_TITLE,      IDS_MFG,           IDS_MOUSEDRIVER,      IDS_MOUSEINF,
    IDS_DRIVERDATE, IDS_PS2INFSECTION, IDS_SERIALINFSECTION, IDS_PS2NAME,
    IDS_SEIALNAME};

static void LoadProfile() {
    DriverProfileModel& p = Shared::DriverProfile;
    char* fields[] = {p.Title,      p.Mfg,           p.MouseDriver,      p.MouseInf,
                      p.DriverDate, p.PS2InfSection, p.SerialInfSection, p.PS2Name,
                      p.SeialName};
    static_assert(CountOf(fields) == kProfileKeyCount, "one field per key");
    for (int i = 0; i < kProfileKeyCount; ++i)
        ReadText(LoadText(IDS_STARTUP), LoadText(kProfileKeyIds[i]), "", fields[i],
                 i == 0 ? kTitleWidth : kProfileWidth);
}

int LoadSetupScriptFrom(const char* packageDir) {
    // A directory too long for the model is never cut into another directory. A script
    // that cannot be named is a script that cannot be read: loading it as missing would
    // install nothing and register empty driver texts over the mouse's settings.
    ReleaseFileTable();
    if (packageDir == nullptr || !TextCopy(Shared::SourceDir, kDirWidth, packageDir))
        Shared::SourceDir[0] = 0;
    if (Shared::SourceDir[0] == 0 ||
        !TextJoin(Shared::ScriptPath, kDirWidth, Shared::SourceDir, "\\SETUP.INF"))
        Shared::ScriptPath[0] = 0;

    LoadMain();  // the defaults, and the caption of the message that follows a failure
    if (Shared::ScriptPath[0] == 0) return 0;
    if (!LoadDisks()) return 0;

    FileTableBlock = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                 static_cast<SIZE_T>(Shared::TotalFiles) * sizeof(FileEntry) + 1);
    if (FileTableBlock == nullptr) return 0;
    Shared::FileTable = static_cast<FileEntry*>(GlobalLock(FileTableBlock));
    if (Shared::FileTable == nullptr) {
        GlobalFree(FileTableBlock);
        FileTableBlock = nullptr;
        return 0;
    }
    LoadFileLines();

    Shared::OemMode = ReadInt(LoadText(IDS_MAIN), "OEM", 0);
    Shared::MouseKind = ReadInt(LoadText(IDS_MAIN), "DefaultSerialMouse", 1);
    LoadProfile();
    return 1;
}

int LoadSetupScript() {
    // The directory is cut from the whole program path, so a long file name does not
    // matter; a path the platform had to cut names no directory at all.
    char module[MAX_PATH + 1];
    ZeroBytes(module, sizeof(module));
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 1) module[0] = 0;
    CutAtLastBackslash(module);
    return LoadSetupScriptFrom(module);
}

void ReleaseFileTable() {
    if (FileTableBlock == nullptr) return;
    GlobalUnlock(FileTableBlock);
    GlobalFree(FileTableBlock);
    FileTableBlock = nullptr;
    Shared::FileTable = nullptr;
}
