// UNINSTAL.EXE: takes the package off the machine it was installed on, from the SETUP.INF
// beside it, and puts back the mouse driver that was there before. Exit codes: 0 removed,
// 1 the user said No, 2 no readable script or no installation here, 3 removed but for files
// that can neither be removed nor queued for the next start (the user is shown which), 5 a bad
// switch, 6 no log (startup/exitcode.h).
#include <windows.h>

#include "app/app.h"
#include "startup/exitcode.h"
#include "startup/switchstart.h"
#include "install/companion.h"
#include "install/systemini.h"
#include "resource.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "script/identity.h"
#include "script/loader.h"
#include "script/model.h"
#include "script/paths.h"
#include "texts/log.h"
#include "texts/notice.h"
#include "texts/textring.h"
#include "uninstall/mouseline.h"
#include "uninstall/removefiles.h"
#include "uninstall/restorereg.h"

enum { kIniLineWidth = 256, kLeftWidth = 768, kQuestionWidth = 320 };

// The installation directory is the program's own.
static void FindInstallDir() {
    char module[MAX_PATH + 1];
    ZeroBytes(module, sizeof(module));
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 1) module[0] = 0;
    CutAtLastBackslash(module);
    TextCopy(Shared::InstallDir, kDirWidth, module);
}

// Its SETUP.INF must be there and open.
static int LoadInstalledScript() {
    char module[kDirWidth];
    TextCopy(module, kDirWidth, Shared::InstallDir);
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

// A message box with the product's name before string-table text id, and more after it
// (null for nothing); its answer.
static int Ask(unsigned id, UINT style, const char* more = nullptr) {
    return ShowMessage(nullptr, Shared::SetupCaption, Shared::ProductName, id, style, more);
}

// The journal's keys that were left alone, for the end of the last question; null for none.
static const char* LeftAloneText(char* out, int width) {
    const char* keys = JournalKeysLeftAlone();
    if (keys[0] == 0) return nullptr;
    TextJoin(out, width, LoadTextOrEmpty(IDS_UNINSTALL_LEFT_ALONE), keys, ".");
    return out;
}

// The [386Enh] line "mouse=*vmouse" that setup wrote becomes the mouse line of system.bak
// again (Windows' own line when system.bak holds setup's line too). Without a usable line
// in system.bak, or without setup's line in system.ini, system.ini stays as it is.
// The install log holds the line from before the first installation; a setup from before
// the log left it only in system.bak. A system.bak that setup made goes afterwards.
static void RestoreSystemIni() {
    char bakPath[kDirWidth], backupLine[kIniLineWidth], line[kIniLineWidth];
    if (!TextJoin(bakPath, kDirWidth, Shared::WindowsDir, "\\system.bak")) return;
    int made = SetupMadeSystemBak();
    if (RecordedMouseLine(backupLine, kIniLineWidth - 1)) {
        TextJoin(line, kIniLineWidth, backupLine, "\n");
    } else if (!ReadMouseLine(bakPath, backupLine, kIniLineWidth) ||
               !RestoredMouseLine(line, kIniLineWidth, backupLine)) {
        return;
    }
    if (RewriteMouseLine(kSetupMouseLine, line, 1) && made && DeleteFileA(bakPath))
        LogLine("removed ", bakPath, ", which setup made");
}

// A shared file that no program counts any more: the user decides.
static int AskRemoveShared(void*, const char* path) {
    char after[kQuestionWidth];
    TextJoin(after, kQuestionWidth, path, LoadTextOrEmpty(IDS_UNINSTALL_SHARED_END));
    return ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_UNINSTALL_SHARED,
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, after) == IDYES;
}

// Names the files that stay: they could be neither removed nor queued for the next start.
static void ShowFilesLeft(const char* left) {
    static char more[kLeftWidth + 2];
    TextJoin(more, sizeof(more), "\n\n", left);
    ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_UNINSTALL_LEFT,
                MB_OK | MB_ICONEXCLAMATION, more);
}

// The removal itself. With /S the question is answered Yes and the restart comes only
// with /RESTART; otherwise the user is asked both.
static int Uninstall(const Switches& switches, int* restart) {
    FindInstallDir();
    FinishInterruptedSwitch();
    // A setup that was killed is put back first, whatever the answer: nothing it did is an
    // installation, and its undo touches nothing else.
    int undone = UndoInterruptedSetup();
    if (undone && !LoadInstallRecord()) {
        LogLine("an installation that did not complete was put back; there is no other");
        if (!switches.silent) {
            // The script may have gone with the run: the product's name is the default one.
            ComposeCaption(Shared::SetupCaption, kCaptionWidth, DEFAULT_PRODUCT_NAME,
                           IDS_UNINSTALL);
            ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_UNINSTALL_UNDONE,
                        MB_OK | MB_ICONINFORMATION);
        }
        return ExitDone;
    }
    if (!LoadInstalledScript()) {
        LogLine("SETUP.INF cannot be read in the installation directory: nothing is removed");
        if (!switches.silent)
            ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_UNINSTALL_NO_SCRIPT,
                        MB_OK | MB_ICONEXCLAMATION);
        return ExitNoScript;
    }
    LogLine("script: ", Shared::ScriptPath, " (", Shared::ProductName, ")");
    // A package's script, or one copied away from its installation, holds no record of an
    // installation in this directory: nothing here is the uninstaller's to remove.
    if (!LoadInstallRecord()) {
        LogLine("no record of an installation in this directory: nothing is removed");
        if (!switches.silent)
            ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_UNINSTALL_NOT_INSTALLED,
                        MB_OK | MB_ICONEXCLAMATION);
        ReleaseFileTable();
        return ExitNoScript;
    }
    if (!switches.silent && Ask(IDS_UNINSTALL_ASK, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        LogLine("No was answered: nothing is removed");
        ReleaseFileTable();
        return ExitStopped;
    }
    CloseCompanionProgram();
    RestoreRegistry();
    RestoreSystemIni();
    PutVxdBack();
    static char left[kLeftWidth];
    RemovalCaller caller = {};
    if (!switches.silent) caller.RemoveUnusedShared = AskRemoveShared;
    int staying = RemoveInstalledFiles(&caller, left, kLeftWidth);
    ReleaseFileTable();
    if (staying > 0 && !switches.silent) ShowFilesLeft(left);
    if (switches.silent) {
        *restart = switches.restart;
    } else {
        static char leftAlone[kMessageWidth];
        *restart = Ask(IDS_UNINSTALL_DONE, MB_YESNO | MB_ICONQUESTION,
                       LeftAloneText(leftAlone, kMessageWidth)) == IDYES;
    }
    LogLine(*restart ? "restart: Windows restarts" : "restart: none");
    return staying > 0 ? ExitFilesLeft : ExitDone;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int) {
    Shared::AppInstance = instance;
    Switches switches;
    int early = StartWithSwitches(tail, UninstallSwitches, &switches, IDS_UNINSTALL_SWITCHES,
                                  LoadTextOrEmpty(IDS_UNINSTALL));
    if (early >= 0) return early;
    GetWindowsDirectoryA(Shared::WindowsDir, kDirWidth);
    int restart = 0;
    int code = EndRun(Uninstall(switches, &restart));
    if (restart) ExitWindowsEx(EWX_REBOOT, 0);
    return code;
}
