// demowalk: walks the wizard of SETUP.EXE by itself, as a user would, for `make demo` on a
// machine without a display. It saves a screenshot of the screen at every page, answers
// each page (PS/2 mouse, the proposed directory, Finish with the restart choice given) and
// reports what it saw on its standard output.
//
// Given the uninstaller instead, it answers its question with Yes and its restart offer as
// given.
//
// usage: demowalk SETUP.EXE|UNINSTAL.EXE SHOTS_DIR [restart|later]
//   SETUP.EXE  Windows path of the program to run (started in its own directory)
//   SHOTS_DIR  Linux directory for the PNG screenshots
// Exit code 0 when every page appeared and the program ended by itself.
#include <windows.h>

#include <cstdio>
#include <string>

#include "resource.h"
#include "support/ui.h"

namespace {

std::string shotsDir;
int shotNumber = 0;

void Say(const std::string& line) {
    std::printf("  %s\n", line.c_str());
    std::fflush(stdout);
}

bool Fail(const std::string& why) {
    std::printf("demowalk: %s\n", why.c_str());
    std::fflush(stdout);
    return false;
}

// The whole screen, numbered in the order of the walk.
void Shot(const std::string& name) {
    char file[64];
    wsprintfA(file, "/%02d-%s.png", ++shotNumber, name.c_str());
    std::string path = shotsDir + file;
    Sleep(250);  // let the page finish painting (and the banners their dissolve)
    if (SaveScreenshot(path)) {
        Say("screenshot " + path);
    } else {
        Say("(screenshot " + path + " failed)");
    }
}

HWND Page(const char* pageClass, DWORD timeoutMs = 15000) {
    HWND page = WaitForPage(pageClass, timeoutMs);
    if (page != nullptr) Say(std::string("page ") + pageClass + ": \"" + WindowText(page) + "\"");
    return page;
}

// Moves on with the page's Next (or Finish) button and waits for the page to close.
bool Next(HWND page) {
    if (!ClickItem(page, IDC_NEXT)) return Fail("no Next button");
    if (!WaitWindowGone(page, 15000)) return Fail("the page did not close");
    return true;
}

bool Walk(const std::string& exe, bool restart) {
    RunningProgram setup = StartProgram(exe);
    if (setup.process == nullptr) return Fail("cannot start " + exe);
    Say("started " + exe);

    HWND page = Page("SETUP_BEGIN", 30000);
    if (page == nullptr) return Fail("the welcome page did not appear");
    if (FindTopWindow("SetupMain", nullptr) != nullptr) Say("background window: covers the screen");
    Say("  " + ItemText(page, IDC_TEXT1));
    Say("  " + ItemText(page, IDC_TEXT2));
    Shot("welcome");
    if (!Next(page)) return false;

    page = Page("SETUP_SELMOUSE");
    if (page == nullptr) return Fail("the mouse page did not appear");
    ChooseItem(page, IDC_PS2);
    Say("  chose: PS/2 Mouse");
    Shot("mouse-type");
    if (!Next(page)) return false;

    page = Page("SETUP_SELDIR");
    if (page == nullptr) return Fail("the destination page did not appear");
    Say("  destination: " + ItemText(page, IDC_DESTDIR));
    Shot("destination");
    bool companionOpen = FindTopWindow(nullptr, "Quillotrax") != nullptr;
    if (!Next(page)) return false;

    page = Page("SETUP_INSTALL");
    if (page == nullptr) return Fail("the copying page did not appear");
    if (companionOpen) {
        bool closed =
            WaitUntil([] { return FindTopWindow(nullptr, "Quillotrax") == nullptr; }, 5000);
        Say(closed ? "  companion window \"Quillotrax\": asked to close, closed"
                   : "  companion window \"Quillotrax\": still open");
    }
    // The page waits a second after copying, showing "Updating Registry...".
    bool registering = WaitUntil(
        [&] {
            return !IsWindow(page) ||
                   ItemText(page, IDC_STATUS).find("Registry") != std::string::npos;
        },
        60000);
    if (registering && IsWindow(page)) {
        Say("  " + ItemText(page, IDC_STATUS) + " " + ItemText(page, IDC_PERCENT));
        Shot("copying");
    }
    if (!WaitWindowGone(page, 60000)) return Fail("the copying page did not close");

    page = Page("SETUP_END", 30000);
    if (page == nullptr) return Fail("the finish page did not appear");
    Say("  " + ItemText(page, IDC_TEXT1));
    int choice = restart ? IDC_RESTART_NOW : IDC_RESTART_LATER;
    ChooseItem(page, choice);
    Say(restart ? "  chose: Yes, I want to restart my computer now."
                : "  chose: No, I will restart my computer later.");
    Shot("finish");
    if (!Next(page)) return false;

    DWORD code = WaitProgramEnd(setup, 30000);
    if (code == STILL_ACTIVE) {
        StopProgram(setup);
        return Fail("SETUP.EXE did not end");
    }
    Say("SETUP.EXE ended, exit code " + std::to_string(code));
    StopProgram(setup);
    return true;
}

// The uninstaller's two message boxes: Yes to the removal, the restart as chosen.
bool WalkUninstall(const std::string& exe, bool restart) {
    shotNumber = 5;  // after the five pages of the installation
    RunningProgram program = StartProgram(exe);
    if (program.process == nullptr) return Fail("cannot start " + exe);
    Say("started " + exe);
    for (int answer : {IDYES, restart ? IDYES : IDNO}) {
        HWND box = WaitForMessageBox(nullptr, program.id, 30000);
        if (box == nullptr) return Fail("no message box");
        Say("\"" + WindowText(box) + "\": " + MessageBoxText(box));
        Shot("uninstall");
        Say(answer == IDYES ? "  answered: Yes" : "  answered: No");
        ClickItem(box, answer);
        WaitWindowGone(box, 10000);
    }
    DWORD code = WaitProgramEnd(program, 30000);
    StopProgram(program);
    if (code == STILL_ACTIVE) return Fail("UNINSTAL.EXE did not end");
    Say("UNINSTAL.EXE ended, exit code " + std::to_string(code));
    return code == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: demowalk SETUP.EXE|UNINSTAL.EXE SHOTS_DIR [restart|later]\n");
        return 2;
    }
    shotsDir = argv[2];
    bool restart = argc > 3 && std::string(argv[3]) == "restart";
    std::string exe = argv[1];
    if (exe.find("UNINSTAL") != std::string::npos) return WalkUninstall(exe, restart) ? 0 : 1;
    return Walk(exe, restart) ? 0 : 1;
}
