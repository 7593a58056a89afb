#include <windows.h>

#include "install/systemini.h"

#include "install/inirule.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "script/model.h"

enum {
    kPieceWidth = 120,  // a read takes at most 119 characters
    kLineBuffer = 128,
    kVxdPathWidth = 128,
};

// Copies system.ini to system.new line by line, the chosen line replaced. Returns 1 when a
// line was replaced.
static int CopyPatched(TextFile* ini, TextFile* out, const char* exactLine, const char* newLine) {
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
            replaced = 1;
            break;
        case IniDrop:
            break;
        }
    }
    return replaced;
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
    if (TextFileOpenRead(&ini, iniPath)) {
        replaced = CopyPatched(&ini, &out, exactLine, newLine);
        complete = TextFileClose(&ini);
    }
    if (!TextFileClose(&out)) complete = 0;
    if (!complete || (onlyWhenFound && !replaced)) {
        DeleteFileA(newPath);
        return 0;
    }

    // With a system.bak that cannot be deleted, system.ini stays as it is and system.new
    // remains beside it.
    return TextFileReplace(iniPath, newPath, bakPath);
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
static int SetVxdAside() {
    char vxdPath[kVxdPathWidth], bakPath[kVxdPathWidth];
    if (!VxdPaths(vxdPath, bakPath)) return -1;
    if (!FileExists(vxdPath)) return -1;
    DeleteFileA(bakPath);
    return MoveFileA(vxdPath, bakPath) ? 0 : -1;
}

int PutVxdBack() {
    char vxdPath[kVxdPathWidth], bakPath[kVxdPathWidth];
    if (!VxdPaths(vxdPath, bakPath)) return 0;
    if (FileExists(vxdPath)) return 0;
    if (!FileExists(bakPath)) return 0;
    return MoveFileA(bakPath, vxdPath) ? 1 : 0;
}

int PatchSystemIni() {
    RewriteMouseLine(nullptr, kVmouseLine, 0);
    return SetVxdAside();
}
