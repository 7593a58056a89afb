#include "support/wizard_walk.h"

namespace {

// The pages of the wizard up to the destination, in the order Next leads through them.
const char* const kPagesBeforeCopying[] = {"SETUP_BEGIN", "SETUP_SELMOUSE", "SETUP_SELDIR"};

}  // namespace

HWND WalkTo(const char* pageClass, int mouseChoice, DWORD timeoutMs,
            const std::function<void(HWND)>& visit) {
    for (const char* step : kPagesBeforeCopying) {
        HWND page = WaitForPage(step, timeoutMs);
        if (page == nullptr) return nullptr;
        if (visit) visit(page);
        if (std::string(step) == pageClass) return page;
        if (std::string(step) == "SETUP_SELMOUSE" && mouseChoice != 0 &&
            !ChooseItem(page, mouseChoice))
            return nullptr;
        if (!ClickItem(page, IDC_NEXT) || !WaitWindowGone(page, timeoutMs)) return nullptr;
    }
    return nullptr;  // not a page before copying
}

std::string WalkWizard(RunningProgram& setup, int mouseChoice, int restartChoice) {
    struct Step {
        const char* page;
        int choice;
    };
    const Step steps[] = {{"SETUP_BEGIN", 0},
                          {"SETUP_SELMOUSE", mouseChoice},
                          {"SETUP_SELDIR", 0},
                          {"SETUP_INSTALL", -1},
                          {"SETUP_END", restartChoice}};
    for (const Step& step : steps) {
        HWND page = WaitForPage(step.page, 20000);
        if (page == nullptr) return std::string(step.page) + " did not appear";
        if (step.choice > 0) {
            if (!ChooseItem(page, step.choice))
                return std::string("the choice on ") + step.page + " did not take";
        }
        // The copying page moves on by itself.
        if (step.choice >= 0 && !ClickItem(page, IDC_NEXT))
            return std::string("no Next on ") + step.page;
        if (!WaitWindowGone(page, 60000)) return std::string(step.page) + " stayed open";
    }
    DWORD code = WaitProgramEnd(setup, 30000);
    if (code == STILL_ACTIVE) return "SETUP.EXE did not end";
    if (code != 0) return "SETUP.EXE ended with code " + std::to_string(code);
    return "";
}

std::string InstallWith(const std::string& setupExe, int mouseChoice, int restartChoice) {
    RunningProgram setup = StartProgram(setupExe);
    if (setup.process == nullptr) return "cannot start " + setupExe;
    std::string result = WalkWizard(setup, mouseChoice, restartChoice);
    StopProgram(setup);
    return result;
}

HWND SwitchModeChoose(const RunningProgram& setup, int mouseChoice) {
    HWND page = WaitForPage("SETUP_SELMOUSE", 20000);
    if (page == nullptr || !ChooseItem(page, mouseChoice, 5000) || !ClickItem(page, IDC_NEXT))
        return nullptr;
    return WaitForMessageBox(nullptr, setup.id, 15000);
}
