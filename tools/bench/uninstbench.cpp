// uninstbench PKGDIR [ROUNDS]: UNINSTAL.EXE against a bare loop deleting the same files.
// PKGDIR is the package of setupbench (SETUP.EXE, a SETUP.INF that installs every file of
// PKGDIR\DATA into C:\BENCH\SETUP\DATA, and DATA), with UNINSTAL.EXE beside SETUP.EXE. Each
// round installs the package with SETUP.EXE (untimed), copies the installed tree to
// C:\BENCH\PLAIN (untimed), then, in an order that alternates, deletes the copy with a bare
// loop (DeleteFileA for every file, RemoveDirectoryA for the directories) and uninstalls
// the installation with UNINSTAL.EXE, timed from the click on Yes of its question to its
// last message box on the screen: what the user waits for.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resource.h"
#include "support/machine.h"
#include "support/ui.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

#include "benchpkg.h"

using namespace bench;

namespace {

const char kSetupDest[] = "C:\\BENCH\\SETUP";
const char kPlainDest[] = "C:\\BENCH\\PLAIN";

bool Fail(const std::string& why) {
    std::printf("uninstbench: %s\n", why.c_str());
    std::fflush(stdout);
    return false;
}

// Every file below dir into files, every directory (dir included) into dirs, parents first.
void ListTree(const std::string& dir, std::vector<std::string>* files,
              std::vector<std::string>* dirs) {
    dirs->push_back(dir);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListTree(dir + "\\" + name, files, dirs);
        else
            files->push_back(dir + "\\" + name);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

// The bare loop: the files, then the directories, the deepest first. Its time in seconds.
double BareDelete(const std::vector<std::string>& files, const std::vector<std::string>& dirs) {
    double start = Now();
    for (const std::string& f : files) DeleteFileA(f.c_str());
    for (size_t i = dirs.size(); i > 0; --i) RemoveDirectoryA(dirs[i - 1].c_str());
    return Now() - start;
}

// UNINSTAL.EXE in the installation, answered Yes, then No to the restart; *seconds from the
// Yes to the last box.
bool Uninstall(double* seconds) {
    RunningProgram program = StartProgram(std::string(kSetupDest) + "\\UNINSTAL.EXE");
    if (program.process == nullptr) return Fail("cannot start UNINSTAL.EXE");
    bool ok = false;
    do {
        HWND ask = WaitForTopWindow("#32770", nullptr, program.id, 60000);
        if (ask == nullptr) {
            Fail("no question");
            break;
        }
        Settle();
        double start = Now();
        if (!ClickItem(ask, IDYES)) {
            Fail("no Yes");
            break;
        }
        WaitWindowGone(ask, 10000);
        HWND done = WaitForTopWindow("#32770", nullptr, program.id, 600000);
        *seconds = Now() - start;
        if (done == nullptr) {
            Fail("no last box");
            break;
        }
        ClickItem(done, IDNO);
        if (WaitProgramEnd(program, 60000) != 0) {
            Fail("UNINSTAL.EXE did not end with 0");
            break;
        }
        ok = true;
    } while (false);
    StopProgram(program);
    return ok;
}

// SETUP.EXE walked through its pages into C:\BENCH\SETUP, with a wait for the copy that a
// large package needs.
bool Install(const std::string& exe) {
    RemoveTree(kSetupDest);
    RunningProgram setup = StartProgram(exe);
    if (setup.process == nullptr) return Fail("cannot start " + exe);
    bool ok = false;
    do {
        HWND page = WalkTo("SETUP_SELDIR", IDC_PS2, 60000);
        if (page == nullptr || !ClickItem(page, IDC_NEXT)) {
            Fail("the walk to the destination page stopped");
            break;
        }
        HWND finish = WaitForTopWindow("SETUP_END", nullptr, setup.id, 600000);
        if (finish == nullptr || (finish = WaitForPage("SETUP_END", 30000)) == nullptr) {
            Fail("no finish page");
            break;
        }
        if (!ChooseItem(finish, IDC_RESTART_LATER) || !ClickItem(finish, IDC_NEXT)) {
            Fail("finish page");
            break;
        }
        ok = WaitProgramEnd(setup, 30000) == 0 || Fail("SETUP.EXE did not end with 0");
    } while (false);
    StopProgram(setup);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: uninstbench PKGDIR [ROUNDS]\n");
        return 2;
    }
    std::string dir = argv[1];
    int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    Shared::AppInstance = GetModuleHandleA(nullptr);
    SeedOtherDevices();
    SeedPs2Mouse();
    CreateDirectoryA("C:\\BENCH", nullptr);

    std::vector<double> ratios;
    for (int r = 0; r < rounds; ++r) {
        if (!Install(dir + "\\SETUP.EXE")) return 1;
        CopyFileA((dir + "\\UNINSTAL.EXE").c_str(),
                  (std::string(kSetupDest) + "\\UNINSTAL.EXE").c_str(), FALSE);
        std::vector<std::string> files, dirs, copies, copyDirs;
        ListTree(std::string(kSetupDest) + "\\DATA", &files, &dirs);
        CreateDirectoryA(kPlainDest, nullptr);
        for (const std::string& d : dirs)
            CreateDirectoryA((kPlainDest + d.substr(sizeof(kSetupDest) - 1)).c_str(), nullptr);
        for (const std::string& f : files)
            CopyFileA(f.c_str(), (kPlainDest + f.substr(sizeof(kSetupDest) - 1)).c_str(), FALSE);
        ListTree(kPlainDest, &copies, &copyDirs);
        double bare = 0, uninstall = 0;
        for (int k = 0; k < 2; ++k) {
            if ((r + k) % 2 == 0) {
                Settle();
                bare = BareDelete(copies, copyDirs);
            } else if (!Uninstall(&uninstall)) {
                return 1;
            }
        }
        size_t left = 0;
        for (const std::string& f : files) left += FileExists(f) ? 1 : 0;
        std::printf(
            "round %d: %zu files; bare loop %.3f s, UNINSTAL.EXE %.3f s; UNINSTAL.EXE/bare "
            "%.2f%s\n",
            r + 1, copies.size(), bare, uninstall, uninstall / bare,
            left == 0 ? "" : "  FILES LEFT");
        std::fflush(stdout);
        if (left != 0) return 1;
        ratios.push_back(uninstall / bare);
    }
    std::printf("median of the rounds' ratios: UNINSTAL.EXE/bare %.2f\n", Median(ratios));
    RemoveTree("C:\\BENCH");
    return 0;
}
