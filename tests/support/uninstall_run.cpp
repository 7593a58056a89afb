#include "support/uninstall_run.h"

#include "support/package.h"
#include "support/ui.h"

std::string UninstallerUnderTest() {
    std::string setup = SetupExeUnderTest();
    return setup.substr(0, setup.find_last_of('\\') + 1) + "UNINSTAL.EXE";
}

DWORD RunUninstaller(const std::string& path, int firstAnswer, std::vector<std::string>* texts,
                     int restart, int shared) {
    RunningProgram program = StartProgram(path);
    if (program.process == nullptr) return STILL_ACTIVE;
    for (int boxes = 0;; ++boxes) {
        HWND box = nullptr;
        WaitUntil(
            [&] {
                box = FindTopWindow("#32770", nullptr, program.id);
                return box != nullptr || WaitForSingleObject(program.process, 0) == WAIT_OBJECT_0;
            },
            30000);
        if (box == nullptr) break;
        std::string text = MessageBoxText(box);
        if (texts != nullptr) texts->push_back(WindowText(box) + ": " + text);
        int answer = boxes == 0                                      ? firstAnswer
                     : text.find("shared file") != std::string::npos ? shared
                                                                     : restart;
        ClickItem(box, GetDlgItem(box, answer) != nullptr ? answer : IDOK);
        WaitWindowGone(box, 10000);
        if (boxes == 0 && firstAnswer == IDNO) break;
    }
    DWORD code = WaitProgramEnd(program, 30000);
    StopProgram(program);
    return code;
}
