#include <windows.h>

#include "install/systemini.h"

#include "install/inirule.h"
#include "install/installlog.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "script/model.h"
#include "texts/log.h"

enum {
    kPieceWidth = 120,  // a read takes at most 119 characters
    kLineBuffer = 128,
    kVxdPathWidth = 128,
    kLoggedLineWidth = 256,  // the replaced mouse line as the log shows it
};

// Copies system.ini to system.new line by line, the chosen line replaced. Returns 1 when a
// line was replaced; oldLine (kLoggedLineWidth) gets the replaced line, as far as it fits.
static int CopyPatched(TextFile* ini, TextFile* out, const char* exactLine, const char* newLine,
                       char* oldLine) {
    char piece[kLineBuffer];
    IniMouseRule rule = {0, 0, 0, exactLine};
    int replaced = 0;
    int n;
    while ((n = TextFileReadPiece(ini, piece, kPieceWidth)) > 0) {
        switch (IniMouseRuleStep(&rule, piece, n)) {
        case IniKeep:
            TextFileWrite(out, piece, n);
            break;
        case IniReplace:
            TextFileWrite(out, newLine, TextLength(newLine));
            TextCopy(oldLine, kLoggedLineWidth, piece);
            replaced = 1;
            break;
        case IniDrop:
            TextAppend(oldLine, kLoggedLineWidth, piece);
            break;
        }
    }
    return replaced;
}

// "system.ini [386Enh] before: <line>" / "after: <line>", without their line ends.
static void LogLineChange(const char* before, const char* after) {
    if (!LogActive()) return;
    char line[kLoggedLineWidth];
    const char* texts[] = {before, after};
    const char* labels[] = {"system.ini [386Enh] before: ", "system.ini [386Enh] after:  "};
    for (int i = 0; i < 2; ++i) {
        TextCopy(line, kLoggedLineWidth, texts[i]);
        TextFlattenLines(line);
        LogLine(labels[i], line);
    }
}

// system.ini is set aside as system.bak and replaced by system.new only when system.new
// holds the whole patched copy; otherwise system.new is removed and nothing is renamed.
int RewriteMouseLine(const char* exactLine, const char* newLine, int onlyWhenFound) {
    char iniPath[kDirWidth], newPath[kDirWidth], bakPath[kDirWidth];
    if (!TextJoin(iniPath, kDirWidth, Shared::WindowsDir, "\\system.ini") ||
        !TextJoin(newPath, kDirWidth, Shared::WindowsDir, "\\system.new") ||
        !TextJoin(bakPath, kDirWidth, Shared::WindowsDir, "\\system.bak"))
        return 0;

    TextFile out, ini;
    if (!TextFileOpenWrite(&out, newPath)) return 0;
    int complete = 0, replaced = 0;
    char oldLine[kLoggedLineWidth] = "";
    if (TextFileOpenRead(&ini, iniPath)) {
        replaced = CopyPatched(&ini, &out, exactLine, newLine, oldLine);
        complete = TextFileClose(&ini);
    }
    if (!TextFileClose(&out)) complete = 0;
    if (!complete || (onlyWhenFound && !replaced)) {
        DeleteFileA(newPath);
        LogLine(complete ? "system.ini has no such mouse line: left as it is"
                         : "system.ini cannot be read or system.new written: left as it is");
        return 0;
    }

    // With a system.bak that cannot be deleted, system.ini stays as it is and system.new
    // remains beside it.
    if (!TextFileReplace(iniPath, newPath, bakPath)) {
        LogLine("system.ini cannot be replaced: left as it is");
        return 0;
    }
    LogLineChange(replaced ? oldLine : "(no mouse line)", newLine);
    LogLine("system.ini: the old file kept as ", bakPath);
    return 1;
}

int ReadMouseLine(const char* path, char* out, int width) {
    out[0] = 0;
    TextFile file;
    if (!TextFileOpenRead(&file, path)) return 0;
    char piece[kLineBuffer];
    IniMouseRule rule = {0, 0, 0, nullptr};
    int found = 0, fits = 1;
    int n;
    while ((n = TextFileReadPiece(&file, piece, kPieceWidth)) > 0) {
        IniPieceAction action = IniMouseRuleStep(&rule, piece, n);
        if (action == IniReplace) {
            found = 1;
            fits = TextCopy(out, width, piece);
        } else if (action == IniDrop) {
            if (fits) fits = TextAppend(out, width, piece);  // a line longer than a piece
        } else if (found) {
            break;
        }
    }
    TextFileClose(&file);
    if (!found || !fits) {
        out[0] = 0;
        return 0;
    }
    return 1;
}

// VMM32\VMOUSE.VXD and VMM32\VMOUSE.BAK below the system directory.
static int VxdPaths(char* vxdPath, char* bakPath) {
    char systemDir[kDirWidth];
    UINT n = GetSystemDirectoryA(systemDir, kDirWidth);
    if (n == 0 || n >= kDirWidth) return 0;
    return TextJoin(vxdPath, kVxdPathWidth, systemDir, "\\VMM32\\VMOUSE.VXD") &&
           TextJoin(bakPath, kVxdPathWidth, systemDir, "\\VMM32\\VMOUSE.BAK");
}

// VMM32\VMOUSE.VXD below the system directory becomes VMOUSE.BAK. Without a VMOUSE.VXD an
// existing VMOUSE.BAK is left alone.
static int SetVxdAside(InstallLog* log) {
    char vxdPath[kVxdPathWidth], bakPath[kVxdPathWidth];
    if (!VxdPaths(vxdPath, bakPath)) return -1;
    if (!FileExists(vxdPath)) {
        LogLine("no ", vxdPath, " to set aside");
        return -1;
    }
    if (log != nullptr && !InstallLogWrite(log, LogVxd, vxdPath)) return -1;
    DeleteFileA(bakPath);
    int moved = MoveFileA(vxdPath, bakPath);
    LogLine(vxdPath, moved ? " set aside as " : " could not be set aside as ", bakPath);
    return moved ? 0 : -1;
}

int FinishInterruptedSwitch() {
    char iniPath[kDirWidth], newPath[kDirWidth], bakPath[kDirWidth];
    if (!TextJoin(iniPath, kDirWidth, Shared::WindowsDir, "\\system.ini") ||
        !TextJoin(newPath, kDirWidth, Shared::WindowsDir, "\\system.new") ||
        !TextJoin(bakPath, kDirWidth, Shared::WindowsDir, "\\system.bak") ||
        GetFileAttributesA(iniPath) != INVALID_FILE_ATTRIBUTES || !FileExists(bakPath) ||
        !MoveFileA(bakPath, iniPath))
        return 0;
    DeleteFileA(newPath);
    LogLine("system.ini was missing, its switch cut short: ", bakPath, " took its name again");
    return 1;
}

int PutVxdBack() {
    char vxdPath[kVxdPathWidth], bakPath[kVxdPathWidth];
    if (!VxdPaths(vxdPath, bakPath)) return 0;
    if (FileExists(vxdPath)) return 0;
    if (!FileExists(bakPath)) return 0;
    int moved = MoveFileA(bakPath, vxdPath);
    LogLine(bakPath, moved ? " put back as " : " could not be put back as ", vxdPath);
    return moved ? 1 : 0;
}

// The mouse line before the installation's first switch, and whether system.bak stood.
static int LogSwitch(InstallLog* log) {
    char iniPath[kDirWidth], bakPath[kDirWidth], line[kLoggedLineWidth];
    if (!TextJoin(iniPath, kDirWidth, Shared::WindowsDir, "\\system.ini") ||
        !TextJoin(bakPath, kDirWidth, Shared::WindowsDir, "\\system.bak"))
        return 0;
    if (!InstallLogEarlierHas(log, LogMouse) && ReadMouseLine(iniPath, line, kLoggedLineWidth)) {
        int n = TextLength(line);
        if (n > 0 && line[n - 1] == '\n') line[n - 1] = 0;  // the line end is the log's own
        TextFlattenLines(line);
        if (!InstallLogWrite(log, LogMouse, line)) return 0;
    }
    return InstallLogWrite(log, LogSysBak, FileExists(bakPath) ? "Old" : "New");
}

int PatchSystemIni(InstallLog* log) {
    if (log != nullptr && !LogSwitch(log)) {
        LogLine("system.ini is left as it is: the install log cannot be written");
        return -1;
    }
    RewriteMouseLine(nullptr, kVmouseLine, 0);
    return SetVxdAside(log);
}
