// copybench PKGDIR [ROUNDS]: installs every file of PKGDIR\DATA with the install page's copy
// engine and, over the same files, with a plain LZOpenFileA/LZCopy/LZClose loop, alternating,
// and prints the times and their ratio. Destinations: C:\bench\engine and C:\bench\plain.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "install/installpage.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/model.h"
#include "setup/app.h"
#include "support/winfiles.h"
#include "wizard/pages.h"

namespace {

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

unsigned long long TreeBytes(const std::string& dir) {
    unsigned long long total = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            total += (static_cast<unsigned long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return total;
}

// Destination name: a packed source "NAME.EX_" becomes "NAME.EXT".
std::string DestName(const std::string& src) {
    std::string d = src;
    if (!d.empty() && d.back() == '_') d.back() = 'T';
    return d;
}

struct Package {
    std::string dir;
    std::vector<std::string> names;
};

double PlainLoop(const Package& p, const std::string& dest) {
    RemoveTree(dest);
    CreateDirectoryA(dest.c_str(), nullptr);
    CreateDirectoryA((dest + "\\DATA").c_str(), nullptr);
    double start = Now();
    for (const std::string& n : p.names) {
        OFSTRUCT a, b;
        std::string src = p.dir + "\\DATA\\" + n, dst = dest + "\\DATA\\" + DestName(n);
        INT s = LZOpenFileA(&src[0], &a, OF_READ);
        INT d = LZOpenFileA(&dst[0], &b, OF_CREATE);
        LZCopy(s, d);
        LZClose(s);
        LZClose(d);
    }
    return Now() - start;
}

HWND MakePage() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = InstallPageProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = AppInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    wc.lpszClassName = "SETUP_INSTALL";
    RegisterClassA(&wc);
    HWND page = CreateWindowExA(0, "SETUP_INSTALL", "Setup", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100,
                                50, 420, 300, nullptr, nullptr, AppInstance, nullptr);
    auto child = [&](const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
        CreateWindowExA(0, cls, text, WS_CHILD | style, x, y, w, h, page,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, nullptr);
    };
    child("BUTTON", "Cancel", WS_VISIBLE | BS_DEFPUSHBUTTON, IDC_NEXT, 337, 263, 65, 23);
    child("STATIC", "", WS_VISIBLE, IDC_STATUS, 144, 52, 260, 39);
    child("STATIC", "", SS_BLACKFRAME, IDC_GAUGE, 144, 112, 212, 20);
    child("STATIC", "0%", WS_VISIBLE, IDC_PERCENT, 374, 115, 30, 13);
    return page;
}

// The whole WM_SETUP_INIT of the install page: subdirectory, copy with progress, the
// one-second wait and the registration.
double Engine(const Package& p, const std::string& dest, std::vector<FileEntry>& table) {
    RemoveTree(dest);
    CreateDirectoryA(dest.c_str(), nullptr);
    TextCopy(SourceDir, kDirWidth, p.dir.c_str());
    TextCopy(InstallDir, kDirWidth, dest.c_str());
    HWND page = MakePage();
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    double start = Now();
    SendMessageA(page, WM_SETUP_INIT, 0, 0);
    double took = Now() - start;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    return took;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: copybench PKGDIR [ROUNDS]\n");
        return 2;
    }
    int rounds = argc > 2 ? std::atoi(argv[2]) : 2;
    AppInstance = GetModuleHandleA(nullptr);
    Package p;
    p.dir = argv[1];
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((p.dir + "\\DATA\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "copybench: no files in %s\\DATA\n", p.dir.c_str());
        return 1;
    }
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) p.names.push_back(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(p.names.begin(), p.names.end());

    // Two disks, the files split between them, all below SubDir1 = DATA.
    std::vector<FileEntry> table(p.names.size());
    for (size_t i = 0; i < p.names.size(); ++i) {
        FileEntry& e = table[i];
        ZeroBytes(&e, sizeof(e));
        TextCopy(e.DirName, kEntryDirWidth, "DATA");
        TextCopy(e.DestDir, kEntryDirWidth, "DATA");
        TextCopy(e.SourceFile, kFileNameWidth, p.names[i].c_str());
        TextCopy(e.DestFile, kFileNameWidth, DestName(p.names[i]).c_str());
        TextCopy(e.Description, kDescriptionWidth, "Benchmark file");
    }
    ZeroBytes(&DiskSet, sizeof(DiskSet));
    ZeroBytes(DirTable, sizeof(DirTable));
    TextCopy(DirTable[1], kDirWidth, "DATA");
    int half = static_cast<int>(p.names.size() / 2);
    DiskSet.DiskCount = 2;
    DiskSet.Disk[0].FileCount = static_cast<int16_t>(half);
    DiskSet.Disk[1].FileCount = static_cast<int16_t>(p.names.size() - half);
    DiskSet.Disk[1].FirstEntry = half;
    FileTable = table.data();
    TextCopy(ProductName, kProductWidth, "Bench");

    CreateDirectoryA("C:\\bench", nullptr);
    double bestPlain = 1e9, bestEngine = 1e9, sumPlain = 0, sumEngine = 0;
    std::vector<double> ratios, copyRatios;
    for (int r = 0; r < rounds; ++r) {
        double plain = PlainLoop(p, "C:\\bench\\plain");
        double engine = Engine(p, "C:\\bench\\engine", table);
        std::printf("round %d: plain loop %.3f s, engine %.3f s (%.3f s without its fixed 1 s wait)\n",
                    r + 1, plain, engine, engine - 1.0);
        ratios.push_back(engine / plain);
        copyRatios.push_back((engine - 1.0) / plain);
        sumPlain += plain;
        sumEngine += engine;
        bestPlain = std::min(bestPlain, plain);
        bestEngine = std::min(bestEngine, engine);
    }
    unsigned long long a = TreeBytes("C:\\bench\\plain\\DATA"), b = TreeBytes("C:\\bench\\engine\\DATA");
    std::printf("files %zu, installed bytes: plain %llu, engine %llu%s\n", p.names.size(), a, b,
                a == b ? "" : "  MISMATCH");
    std::sort(ratios.begin(), ratios.end());
    std::sort(copyRatios.begin(), copyRatios.end());
    std::printf("median of the rounds' ratios: %.3f (the 1 s wait taken out: %.3f)\n",
                ratios[ratios.size() / 2], copyRatios[copyRatios.size() / 2]);
    std::printf("all rounds: plain %.3f s, engine %.3f s; ratio %.3f (the 1 s waits taken out: %.3f)\n",
                sumPlain, sumEngine, sumEngine / sumPlain, (sumEngine - rounds) / sumPlain);
    std::printf("best round each: plain %.3f s, engine %.3f s; ratio %.3f (wait taken out: %.3f)\n",
                bestPlain, bestEngine, bestEngine / bestPlain, (bestEngine - 1.0) / bestPlain);
    RemoveTree("C:\\bench");
    return a == b && a > 0 ? 0 : 1;
}
