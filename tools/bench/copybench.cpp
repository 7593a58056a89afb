// copybench PKGDIR [ROUNDS]: installs every file of PKGDIR\DATA three ways and prints the
// times and their ratios: with the install page's whole WM_SETUP_INIT (the engine), with a
// plain LZOpenFileA/LZCopy/LZClose loop, and with that loop plus only the per-entry status
// text, the two pumps and the one-second wait that the page must have (the floor).
// Destinations: C:\bench\engine, C:\bench\plain and C:\bench\floor.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "install/installlog.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/model.h"
#include "wizard/pages.h"
#include "wizard/pages.h"

#include "benchpkg.h"

using namespace bench;

namespace {

// The whole WM_SETUP_INIT of the install page: the install log, subdirectory, copy with
// progress, the one-second wait and the registration.
double Engine(const std::string& dir, const std::string& dest) {
    RemoveTree(dest);
    CreateDirectoryA(dest.c_str(), nullptr);
    TextCopy(Shared::SourceDir, kDirWidth, dir.c_str());
    TextCopy(Shared::InstallDir, kDirWidth, dest.c_str());
    InstallLog log;  // as SETUP.EXE owns it; the page starts it
    InstallLogInit(&log);
    Shared::RunLog = &log;
    HWND page = CreateInstallPage();
    DrainQueue();
    Settle();
    double start = Now();
    SendMessageA(page, WM_SETUP_INIT, 0, 0);
    double took = Now() - start;
    DrainQueue();
    InstallLogClose(&log);
    Shared::RunLog = nullptr;
    return took;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: copybench PKGDIR [ROUNDS]\n");
        return 2;
    }
    int rounds = argc > 2 ? std::atoi(argv[2]) : 2;
    FailOnMessageBoxes();
    Shared::AppInstance = GetModuleHandleA(nullptr);
    std::string dir = argv[1];
    std::vector<std::string> names = PackageNames(dir);
    if (names.empty()) {
        std::fprintf(stderr, "copybench: no files in %s\\DATA\n", dir.c_str());
        return 1;
    }

    // Two disks, the files split between them, all below SubDir1 = DATA.
    std::vector<FileEntry> table(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        FileEntry& e = table[i];
        ZeroBytes(&e, sizeof(e));
        TextCopy(e.DirName, kEntryDirWidth, "DATA");
        TextCopy(e.DestDir, kEntryDirWidth, "DATA");
        TextCopy(e.SourceFile, kFileNameWidth, names[i].c_str());
        TextCopy(e.DestFile, kFileNameWidth, DestName(names[i]).c_str());
        TextCopy(e.Description, kDescriptionWidth, "Benchmark file");
    }
    ZeroBytes(&Shared::DiskSet, sizeof(Shared::DiskSet));
    ZeroBytes(Shared::DirTable, sizeof(Shared::DirTable));
    TextCopy(Shared::DirTable[1], kDirWidth, "DATA");
    int half = static_cast<int>(names.size() / 2);
    Shared::DiskSet.DiskCount = 2;
    Shared::DiskSet.Disk[0].FileCount = static_cast<int16_t>(half);
    Shared::DiskSet.Disk[1].FileCount = static_cast<int16_t>(names.size() - half);
    Shared::DiskSet.Disk[1].FirstEntry = half;
    Shared::FileTable = table.data();
    TextCopy(Shared::ProductName, kProductWidth, "Bench");

    CreateDirectoryA("C:\\bench", nullptr);
    // Each round runs the three, in an order that rotates from round to round.
    std::vector<double> plain, floor, engine;
    for (int r = 0; r < rounds; ++r) {
        double t[3];
        for (int k = 0; k < 3; ++k) {
            int which = (r + k) % 3;
            if (which == 0) t[0] = PlainLoop(dir, names, "C:\\bench\\plain");
            if (which == 1) t[1] = Floor(dir, names, "C:\\bench\\floor");
            if (which == 2) t[2] = Engine(dir, "C:\\bench\\engine");
        }
        std::printf(
            "round %d: plain loop %.3f s, floor %.3f s, engine %.3f s; engine/plain %.3f, "
            "engine/floor %.3f\n",
            r + 1, t[0], t[1], t[2], t[2] / t[0], t[2] / t[1]);
        std::fflush(stdout);
        plain.push_back(t[0]);
        floor.push_back(t[1]);
        engine.push_back(t[2]);
    }
    unsigned long long a = TreeBytes("C:\\bench\\plain\\DATA");
    unsigned long long b = TreeBytes("C:\\bench\\engine\\DATA");
    unsigned long long c = TreeBytes("C:\\bench\\floor\\DATA");
    std::printf("files %zu, installed bytes: plain %llu, floor %llu, engine %llu%s\n", names.size(),
                a, c, b, a == b && a == c ? "" : "  MISMATCH");
    std::vector<double> enginePlain, floorPlain, engineFloor, copyOnly;
    for (int r = 0; r < rounds; ++r) {
        enginePlain.push_back(engine[r] / plain[r]);
        floorPlain.push_back(floor[r] / plain[r]);
        engineFloor.push_back(engine[r] / floor[r]);
        copyOnly.push_back((engine[r] - 1.0) / plain[r]);
    }
    std::printf(
        "median of the rounds' ratios: engine/plain %.3f, floor/plain %.3f, engine/floor %.3f "
        "(engine/plain with the 1 s wait taken out: %.3f)\n",
        Median(enginePlain), Median(floorPlain), Median(engineFloor), Median(copyOnly));
    RemoveTree("C:\\bench");
    return a == b && a == c && a > 0 ? 0 : 1;
}
