// silentbench PKGDIR [ROUNDS [over]]: an unattended installation against a plain LZ loop. PKGDIR
// holds SETUP.EXE, a SETUP.INF that installs every file of PKGDIR\DATA into C:\BENCH\SETUP,
// and DATA. Each round installs the package once with "SETUP.EXE /S" and once with the
// plain loop (LZOpenFileA/LZCopy/LZClose) into C:\BENCH\PLAIN, the order alternating. The
// unattended run is timed from its start to its end, what a login script waits for:
// start-up, the script, the copy, the registration and system.ini. With "over" as the third
// argument every round installs over the installation before it (one untimed round first),
// and the loop overwrites its files in place: what a reinstall costs. Last, the share of the
// process's own start and end: SETUP.EXE timed alone, and the ratio without it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/machine.h"
#include "support/ui.h"

#include "benchpkg.h"

using namespace bench;

namespace {

const char kSilentDest[] = "C:\\BENCH\\SETUP";
const char kPlainDest[] = "C:\\BENCH\\PLAIN";

// One unattended installation; its time in seconds, or a negative time when it failed.
double SilentRun(const std::string& exe, bool over) {
    if (!over) RemoveTree(kSilentDest);
    Settle();
    double start = Now();
    RunningProgram setup = StartProgram(exe, "/S /M=PS2");
    WatchedProcess() = setup.id;
    DWORD code = WaitProgramEnd(setup, 600000);
    double took = Now() - start;
    StopProgram(setup);
    if (code != 0)
        std::printf("silentbench: SETUP.EXE /S ended with %lu\n", static_cast<unsigned long>(code));
    return code == 0 ? took : -1;
}

// The process's own start and end: SETUP.EXE /S with a switch it refuses (exit code 5) loads
// and quits without reading the script. Median of 9, in seconds.
double StartAndEnd(const std::string& exe) {
    std::vector<double> took;
    for (int i = 0; i < 9; ++i) {
        double start = Now();
        RunningProgram setup = StartProgram(exe, "/S /UNKNOWN");
        WatchedProcess() = setup.id;
        WaitProgramEnd(setup, 60000);
        took.push_back(Now() - start);
        StopProgram(setup);
    }
    return Median(took);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: silentbench PKGDIR [ROUNDS [over]]\n");
        return 2;
    }
    std::string dir = argv[1];
    int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    FailOnMessageBoxes();
    const bool over = argc > 3 && std::string(argv[3]) == "over";
    std::vector<std::string> names = PackageNames(dir);
    if (names.empty()) return std::printf("silentbench: no files in %s\\DATA\n", dir.c_str()), 1;
    std::string exe = dir + "\\SETUP.EXE";

    SeedOtherDevices();
    SeedPs2Mouse();
    CreateDirectoryA("C:\\BENCH", nullptr);
    std::vector<double> ratios, withoutStart;
    const double startAndEnd = StartAndEnd(exe);
    if (over && (PlainLoop(dir, names, kPlainDest) < 0 || SilentRun(exe, false) < 0)) return 1;
    for (int r = 0; r < rounds; ++r) {
        double plain = 0, silent = 0;
        for (int k = 0; k < 2; ++k) {
            if ((r + k) % 2 == 0)
                plain = PlainLoop(dir, names, kPlainDest, LoopHooks(), over);
            else
                silent = SilentRun(exe, over);
        }
        if (silent < 0) return 1;
        std::printf("round %d: plain loop %.3f s, SETUP.EXE /S %.3f s; /S / plain %.3f\n", r + 1,
                    plain, silent, silent / plain);
        std::fflush(stdout);
        ratios.push_back(silent / plain);
        withoutStart.push_back((silent - startAndEnd) / plain);
    }
    unsigned long long a = TreeBytes(std::string(kPlainDest) + "\\DATA");
    unsigned long long b = TreeBytes(std::string(kSilentDest) + "\\DATA");
    std::printf("files %zu, installed bytes: plain %llu, SETUP.EXE /S %llu%s\n", names.size(), a, b,
                a == b ? "" : "  MISMATCH");
    std::printf("SETUP.EXE /S / plain loop over %d rounds%s: median %.3f, range %.3f to %.3f\n",
                rounds, over ? ", each over the one before" : "", Median(ratios),
                *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()));
    std::printf("SETUP.EXE's start and end alone (an unknown switch, median of 9): %.3f s; "
                "/S without them / plain loop: median %.3f\n",
                startAndEnd, Median(withoutStart));
    RemoveTree("C:\\BENCH");
    return a == b && a > 0 ? 0 : 1;
}
