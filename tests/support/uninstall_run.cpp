#include "support/uninstall_run.h"

#include "support/package.h"
#include "support/ui.h"

std::string UninstallerUnderTest() {
    std::string setup = SetupExeUnderTest();
    return setup.substr(0, setup.find_last_of('\\') + 1) + "UNINSTAL.EXE";
}

DWORD RunUninstaller(const std::string& path, int firstAnswer, std::vector<std::string>* texts,
                     int restart) {
    RunningProgram program = StartProgram(path);
    if (program.process == nullptr) return STILL_ACTIVE;
    // The first question, then any notice with OK alone, then the restart offer.
    for (int asked = 0; asked < 2;) {
        HWND box = nullptr;
        WaitUntil(
            [&] {
                box = FindTopWindow("#32770", nullptr, program.id);
                return box != nullptr || WaitForSingleObject(program.process, 0) == WAIT_OBJECT_0;
            },
            30000);
        if (box == nullptr) break;
        if (texts != nullptr) texts->push_back(WindowText(box) + ": " + MessageBoxText(box));
        int answer = asked == 0 ? firstAnswer : restart;
        bool question = GetDlgItem(box, answer) != nullptr;
        ClickItem(box, question ? answer : IDOK);
        WaitWindowGone(box, 10000);
        if (question || asked == 0) ++asked;
        if (firstAnswer == IDNO) break;
    }
    DWORD code = WaitProgramEnd(program, 30000);
    StopProgram(program);
    return code;
}
