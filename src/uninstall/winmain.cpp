// UNINSTAL.EXE: takes the package off the machine it was installed on, from the SETUP.INF
// beside it, and puts back the mouse driver that was there before. Exit codes: 0 removed,
// 1 the user said No, 2 no readable script, 3 removed but for files that can neither be
// removed nor queued for the next start (the user is shown which).
#include <windows.h>

#include "app/app.h"
#include "install/companion.h"
#include "install/systemini.h"
#include "resource.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "script/loader.h"
#include "script/model.h"
#include "script/paths.h"
#include "texts/notice.h"
#include "texts/textring.h"
#include "uninstall/mouseline.h"
#include "uninstall/removefiles.h"
#include "uninstall/restorereg.h"

enum { kIniLineWidth = 256, kLeftWidth = 768 };

// The installation directory is the program's own; its SETUP.INF must be there and open.
static int LoadInstalledScript() {
    char module[MAX_PATH + 1];
    ZeroBytes(module, sizeof(module));
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 1) module[0] = 0;
    CutAtLastBackslash(module);
    char script[kDirWidth];
    TextFile file;
    int readable = module[0] != 0 && TextJoin(script, kDirWidth, module, "\\SETUP.INF") &&
                   TextFileOpenRead(&file, script);
    if (readable) TextFileClose(&file);
    // The loader also gives the product name, for the caption, when it cannot load.
    int loaded = LoadSetupScriptFrom(module);
    ComposeCaption(Shared::SetupCaption, kCaptionWidth, Shared::ProductName, IDS_UNINSTALL);
    if (!readable || !loaded) return 0;
    TextCopy(Shared::InstallDir, kDirWidth, Shared::SourceDir);
    return 1;
}

// A message box with the product's name before string-table text id; its answer.
static int Ask(unsigned id, UINT style) {
    return ShowMessage(nullptr, Shared::SetupCaption, Shared::ProductName, id, style);
}

// The [386Enh] line "mouse=*vmouse" that setup wrote becomes the mouse line of system.bak
// again (Windows' own line when system.bak holds setup's line too). Without a usable line
// in system.bak, or without setup's line in system.ini, system.ini stays as it is.
static void RestoreSystemIni() {
    char bakPath[kDirWidth], backupLine[kIniLineWidth], line[kIniLineWidth];
    if (!TextJoin(bakPath, kDirWidth, Shared::WindowsDir, "\\system.bak") ||
        !ReadMouseLine(bakPath, backupLine, kIniLineWidth) ||
        !RestoredMouseLine(line, kIniLineWidth, backupLine))
        return;
    RewriteMouseLine(kSetupMouseLine, line, 1);
}

// Names the files that stay: they could be neither removed nor queued for the next start.
static void ShowFilesLeft(const char* left) {
    static char text[kLeftWidth + kLineWidth];
    const char* head = LoadText(IDS_UNINSTALL_LEFT);
    TextJoin(text, sizeof(text), head != nullptr ? head : "", "\n\n", left);
    MessageBoxA(nullptr, text, Shared::SetupCaption, MB_OK | MB_ICONEXCLAMATION);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Shared::AppInstance = instance;
    GetWindowsDirectoryA(Shared::WindowsDir, kDirWidth);
    if (!LoadInstalledScript()) {
        ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_UNINSTALL_NO_SCRIPT,
                    MB_OK | MB_ICONEXCLAMATION);
        return 2;
    }
    if (Ask(IDS_UNINSTALL_ASK, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        ReleaseFileTable();
        return 1;
    }
    CloseCompanionProgram();
    RestoreRegistry();
    RestoreSystemIni();
    PutVxdBack();
    static char left[kLeftWidth];
    int staying = RemoveInstalledFiles(left, kLeftWidth);
    ReleaseFileTable();
    if (staying > 0) ShowFilesLeft(left);
    if (Ask(IDS_UNINSTALL_DONE, MB_YESNO | MB_ICONQUESTION) == IDYES) ExitWindowsEx(EWX_REBOOT, 0);
    return staying > 0 ? 3 : 0;
}
