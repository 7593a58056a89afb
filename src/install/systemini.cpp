#include <windows.h>

#include "install/systemini.h"

#include "install/inirule.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "script/model.h"

enum {
    kPieceWidth = 120,   // a read takes at most 119 characters
    kLineBuffer = 128,
    kVxdPathWidth = 128,
};

// Copies system.ini to system.new line by line, the mouse line of [386Enh] replaced.
static void CopyPatched(TextFile* ini, TextFile* out) {
    char piece[kLineBuffer];
    IniMouseRule rule = {0, 0, 0};
    int n;
    while ((n = TextFileReadPiece(ini, piece, kPieceWidth)) > 0) {
        switch (IniMouseRuleStep(&rule, piece, n)) {
        case IniKeep: TextFileWrite(out, piece, n); break;
        case IniReplace: TextFileWrite(out, kVmouseLine, TextLength(kVmouseLine)); break;
        case IniDrop: break;
        }
    }
}

// system.ini is set aside as system.bak and replaced by system.new only when system.new
// holds the whole patched copy; otherwise system.new is removed and nothing is renamed.
static void PatchSettingsFile() {
    char iniPath[kDirWidth], newPath[kDirWidth], bakPath[kDirWidth];
    if (!TextJoin(iniPath, kDirWidth, WindowsDir, "\\system.ini") ||
        !TextJoin(newPath, kDirWidth, WindowsDir, "\\system.new") ||
        !TextJoin(bakPath, kDirWidth, WindowsDir, "\\system.bak"))
        return;

    TextFile out, ini;
    if (!TextFileOpenWrite(&out, newPath)) return;
    int complete = 0;
    if (TextFileOpenRead(&ini, iniPath)) {
        CopyPatched(&ini, &out);
        complete = TextFileClose(&ini);
    }
    if (!TextFileClose(&out)) complete = 0;
    if (!complete) {
        DeleteFileA(newPath);
        return;
    }

    DeleteFileA(bakPath);
    // With a system.bak that cannot be deleted the name stays taken: system.ini stays as it
    // is and system.new remains beside it.
    if (!MoveFileA(iniPath, bakPath)) return;
    // Never leave Windows without its settings file.
    if (!MoveFileA(newPath, iniPath)) MoveFileA(bakPath, iniPath);
}

// VMM32\VMOUSE.VXD below the system directory becomes VMOUSE.BAK. Without a VMOUSE.VXD an
// existing VMOUSE.BAK is left alone.
static int SetVxdAside() {
    char systemDir[kDirWidth];
    UINT n = GetSystemDirectoryA(systemDir, kDirWidth);
    if (n == 0 || n >= kDirWidth) return -1;
    char vxdPath[kVxdPathWidth], bakPath[kVxdPathWidth];
    if (!TextJoin(vxdPath, kVxdPathWidth, systemDir, "\\VMM32\\VMOUSE.VXD") ||
        !TextJoin(bakPath, kVxdPathWidth, systemDir, "\\VMM32\\VMOUSE.BAK"))
        return -1;
    if (!FileExists(vxdPath)) return -1;
    DeleteFileA(bakPath);
    return MoveFileA(vxdPath, bakPath) ? 0 : -1;
}

int PatchSystemIni() {
    PatchSettingsFile();
    return SetVxdAside();
}
