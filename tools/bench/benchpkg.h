// The benchmark package and the loops that both copy benchmarks measure against: the plain
// LZ loop and the floor.
// The package is PKGDIR\DATA: unpacked files "Fnnnn.DAT" and packed files "Fnnnn.DA_",
// installed as "Fnnnn.DAT".
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/app.h"
#include "presentation/gauge.h"
#include "presentation/pumpwait.h"
#include "resource.h"
#include "support/install_page.h"
#include "support/ui.h"
#include "support/vm_host.h"
#include "support/winfiles.h"
#include "wizard/pages.h"

namespace bench {

inline double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// Writes out what the previous run left in the Linux page cache, so that its write-back
// does not fall into the next run's time.
inline void Settle() { RunHostCommand("sync", 120000); }

// The program a benchmark runs, watched for message boxes beside the benchmark itself.
inline DWORD& WatchedProcess() {
    static DWORD id = 0;
    return id;
}

// A benchmark never waits for a click on a screen nobody sees: a message box of this process
// or of the watched one ends the benchmark at once, with the box's text.
inline void FailOnMessageBoxes() {
    std::thread([] {
        for (;;) {
            HWND box = FindTopWindow("#32770", nullptr, GetCurrentProcessId());
            if (box == nullptr && WatchedProcess() != 0)
                box = FindTopWindow("#32770", nullptr, WatchedProcess());
            if (box != nullptr) {
                std::fprintf(stderr, "benchmark stopped: a message box says: %s\n",
                             MessageBoxText(box).c_str());
                std::fflush(stderr);
                ExitProcess(3);
            }
            Sleep(100);
        }
    }).detach();
}

// Bytes of the files directly in dir.
inline unsigned long long TreeBytes(const std::string& dir) {
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
inline std::string DestName(const std::string& src) {
    std::string d = src;
    if (!d.empty() && d.back() == '_') d.back() = 'T';
    return d;
}

// The names of the files of dir\DATA, sorted.
inline std::vector<std::string> PackageNames(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\DATA\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

// What a variant of the loop does besides copying: before an entry (given its source name),
// after opening its source and after copying it. Empty for the plain loop.
struct LoopHooks {
    std::function<void(const std::string&)> beforeEntry;
    std::function<void()> afterOpen;
    std::function<void()> afterCopy;
};

// LZOpenFileA, LZOpenFileA(OF_CREATE), LZCopy, LZClose, LZClose over every file, into the
// emptied directory dest\DATA. Seconds taken.
// With over set, the files of an earlier loop stay and are overwritten in place.
inline double PlainLoop(const std::string& pkg, const std::vector<std::string>& names,
                        const std::string& dest, const LoopHooks& hooks = LoopHooks(),
                        bool over = false) {
    if (!over) RemoveTree(dest);
    CreateDirectoryA(dest.c_str(), nullptr);
    CreateDirectoryA((dest + "\\DATA").c_str(), nullptr);
    Settle();
    double start = Now();
    for (const std::string& n : names) {
        if (hooks.beforeEntry) hooks.beforeEntry(n);
        OFSTRUCT a, b;
        std::string src = pkg + "\\DATA\\" + n, dst = dest + "\\DATA\\" + DestName(n);
        INT s = LZOpenFileA(&src[0], &a, OF_READ);
        if (hooks.afterOpen) hooks.afterOpen();
        INT d = LZOpenFileA(&dst[0], &b, OF_CREATE);
        LZCopy(s, d);
        LZClose(s);
        LZClose(d);
        if (hooks.afterCopy) hooks.afterCopy();
    }
    return Now() - start;
}

// The least an install page can add to the plain loop: the status text of each entry set
// and painted at once, one message taken out of the queue after opening its source and one
// after copying it, and the one-second wait at the end. No percentage, gauge or registration.
inline double Floor(const std::string& dir, const std::vector<std::string>& names,
                    const std::string& dest) {
    HWND page = CreateInstallPage();
    HWND status = GetDlgItem(page, IDC_STATUS);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    auto pump = [&] {
        if (PeekMessageA(&m, page, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    };
    LoopHooks hooks;
    hooks.beforeEntry = [&](const std::string& name) {
        char text[128];
        wsprintfA(text, "Copying %s\n\nBenchmark file", name.c_str());
        SetWindowTextA(status, text);
        UpdateWindow(status);
    };
    hooks.afterOpen = pump;
    hooks.afterCopy = pump;
    double took = PlainLoop(dir, names, dest, hooks);
    double start = Now();
    WaitPumping(1000);
    took += Now() - start;
    DestroyWindow(page);
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    return took;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace bench
