// setupbench PKGDIR [ROUNDS]: the whole program against a plain LZ loop. PKGDIR holds
// SETUP.EXE, a SETUP.INF that installs every file of PKGDIR\DATA into C:\BENCH\SETUP\DATA,
// and DATA. Each round installs the package once with SETUP.EXE, walked through its pages
// as a user would, once with the plain loop (LZOpenFileA/LZCopy/LZClose) into C:\BENCH\PLAIN
// and once with the floor (benchpkg.h) into C:\BENCH\FLOOR, in a rotating order. SETUP.EXE
// is timed from the click on Next of the destination page to the finish page on the screen:
// what the user waits for.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resource.h"
#include "support/machine.h"
#include "support/ui.h"
#include "support/wizard_walk.h"

#include "benchpkg.h"

using namespace bench;

namespace {

const char kSetupDest[] = "C:\\BENCH\\SETUP";
const char kPlainDest[] = "C:\\BENCH\\PLAIN";
const char kFloorDest[] = "C:\\BENCH\\FLOOR";

bool Fail(const std::string& why) {
    std::printf("setupbench: %s\n", why.c_str());
    std::fflush(stdout);
    return false;
}

// One installation by SETUP.EXE; its time in *seconds.
bool SetupRun(const std::string& exe, double* seconds) {
    RemoveTree(kSetupDest);
    RunningProgram setup = StartProgram(exe);
    if (setup.process == nullptr) return Fail("cannot start " + exe);
    WatchedProcess() = setup.id;
    bool ok = false;
    do {
        HWND page = WalkTo("SETUP_SELDIR", IDC_PS2, 60000);
        if (page == nullptr) {
            Fail("the walk to the destination page stopped");
            break;
        }
        if (ItemText(page, IDC_DESTDIR) != kSetupDest) {
            Fail("destination page proposes " + ItemText(page, IDC_DESTDIR));
            break;
        }
        Settle();
        double start = Now();
        if (!ClickItem(page, IDC_NEXT)) {
            Fail("no Next on the destination page");
            break;
        }
        HWND finish = WaitForTopWindow("SETUP_END", nullptr, setup.id, 600000);
        double t5 = Now();
        *seconds = Now() - start;
        if (finish == nullptr) {
            Fail("the finish page did not appear");
            break;
        }
        finish = WaitForPage("SETUP_END", 30000);
        if (finish == nullptr) {
            Fail("finish page");
            break;
        }
        if (!ChooseItem(finish, IDC_RESTART_LATER) || !ClickItem(finish, IDC_NEXT)) {
            Fail("finish page choice");
            break;
        }
        if (WaitProgramEnd(setup, 30000) != 0) {
            Fail("SETUP.EXE did not end with 0");
            break;
        }
        ok = true;
    } while (false);
    StopProgram(setup);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: setupbench PKGDIR [ROUNDS]\n");
        return 2;
    }
    std::string dir = argv[1];
    int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    FailOnMessageBoxes();
    std::vector<std::string> names = PackageNames(dir);
    if (names.empty()) return Fail("no files in " + dir + "\\DATA"), 1;
    std::string exe = dir + "\\SETUP.EXE";
    Shared::AppInstance = GetModuleHandleA(nullptr);

    // A PS/2 mouse for the program to register its driver with, as on a real machine.
    SeedOtherDevices();
    SeedPs2Mouse();
    CreateDirectoryA("C:\\BENCH", nullptr);

    // Each round runs the three, in an order that rotates from round to round.
    std::vector<double> setupPlain, floorPlain, setupFloor, withoutWait;
    for (int r = 0; r < rounds; ++r) {
        double t[3];
        for (int k = 0; k < 3; ++k) {
            int which = (r + k) % 3;
            if (which == 0) t[0] = PlainLoop(dir, names, kPlainDest);
            if (which == 1) t[1] = Floor(dir, names, kFloorDest);
            if (which == 2 && !SetupRun(exe, &t[2])) return 1;
        }
        std::printf(
            "round %d: plain loop %.3f s, floor %.3f s, SETUP.EXE %.3f s; SETUP.EXE/plain "
            "%.3f, SETUP.EXE/floor %.3f\n",
            r + 1, t[0], t[1], t[2], t[2] / t[0], t[2] / t[1]);
        std::fflush(stdout);
        setupPlain.push_back(t[2] / t[0]);
        floorPlain.push_back(t[1] / t[0]);
        setupFloor.push_back(t[2] / t[1]);
        withoutWait.push_back((t[2] - 1.0) / t[0]);
    }
    unsigned long long a = TreeBytes(std::string(kPlainDest) + "\\DATA");
    unsigned long long b = TreeBytes(std::string(kSetupDest) + "\\DATA");
    unsigned long long c = TreeBytes(std::string(kFloorDest) + "\\DATA");
    std::printf("files %zu, installed bytes: plain %llu, floor %llu, SETUP.EXE %llu%s\n",
                names.size(), a, c, b, a == b && a == c ? "" : "  MISMATCH");
    std::printf(
        "median of the rounds' ratios: SETUP.EXE/plain %.3f, floor/plain %.3f, "
        "SETUP.EXE/floor %.3f (SETUP.EXE/plain with the 1 s wait taken out: %.3f)\n",
        Median(setupPlain), Median(floorPlain), Median(setupFloor), Median(withoutWait));
    RemoveTree("C:\\BENCH");
    return a == b && a == c && a > 0 ? 0 : 1;
}
