// The background of the real SETUP.EXE, read back from the screen while the first page is
// up: the gradient and the banners of the program's own artwork around the page, no lower
// banner with OEM=1, a correct repaint after a window over the banners has gone, and the
// time from start to the first page, with the dissolve in between.
// It runs at 640 x 480 and at 1024 x 768 (see cmake/windows-tests.cmake).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "resource.h"
#include "support/background_picture.h"
#include "support/ui.h"
#include "support/vm_host.h"
#include "support/winfiles.h"

// The checks report the line of their caller, as Wine's tests do.
#define ExpectBackgroundAround(...) ExpectBackgroundAround_(__LINE__, __VA_ARGS__)

namespace {

std::string SetupInf(int oem) {
    return "[Main]\r\nDefaultPath=C:\\QORVA\r\nProductName=Qorva Mouse\r\nMinimumSpace=1\r\n"
           "OEM=" +
           std::to_string(oem) +
           "\r\nDefaultSerialMouse=0\r\n"
           "\r\n[DiskLabel]\r\nDisk1=Program files\r\n"
           "\r\n[DirectoryName]\r\nRootDir=.\r\n"
           "\r\n[FileCounts]\r\nDisk1=1\r\n"
           "\r\n[Disk1]\r\n1=README.TXT, README.TXT, Read me first, RootDir\r\n";
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1000.0 * (to.QuadPart - from.QuadPart) / f.QuadPart;
}

HWND FindVisible(const char* className) {
    HWND w = FindWindowA(className, nullptr);
    return w && IsWindowVisible(w) ? w : nullptr;
}

// Waits for a visible top-level window of the class; null after timeoutMs.
HWND WaitVisible(const char* className, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND w = FindVisible(className)) return w;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(1);
    }
}

void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        DrainQueue();
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

class BackgroundE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        // The background is seen behind the first page; a build without the page templates
        // or the banners has nothing to show here.
        HMODULE exe = LoadLibraryExA(LinuxPathToWindows(EnvText("SETUP_EXE")).c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, exe);
        bool ready = FindResourceA(exe, MAKEINTRESOURCEA(IDD_BEGIN), RT_DIALOG) &&
                     FindResourceA(exe, MAKEINTRESOURCEA(IDB_BANNER_TOP), RT_BITMAP);
        FreeLibrary(exe);
        if (!ready) GTEST_SKIP() << "SETUP.EXE has no wizard pages or banners yet";
    }

    int W = GetSystemMetrics(SM_CXSCREEN);
    int H = GetSystemMetrics(SM_CYSCREEN);
    RunningProgram setup;
    HMODULE art = nullptr;
    double toFirstPage = 0;

    // Starts SETUP.EXE from a package of its own and waits for its first page.
    HWND StartToFirstPage(int oem, const char* tail = "", const char* pageClass = "SETUP_BEGIN") {
        std::string dir = MakeScratchDir(oem ? "bg_oem" : "bg");
        std::string exe = dir + "\\SETUP.EXE";
        EXPECT_TRUE(
            CopyFileA(LinuxPathToWindows(EnvText("SETUP_EXE")).c_str(), exe.c_str(), FALSE));
        WriteFileBytes(dir + "\\SETUP.INF", SetupInf(oem));
        WriteFileBytes(dir + "\\README.TXT", "Read me.\r\n");
        art = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        EXPECT_NE(nullptr, art);

        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        setup = StartProgram(exe, tail);
        if (setup.process == nullptr) return nullptr;
        HWND page = WaitVisible(pageClass, 30000);
        QueryPerformanceCounter(&t1);
        toFirstPage = Milliseconds(t0, t1);
        return page;
    }

    void Stop() {
        StopProgram(setup);
        if (art) FreeLibrary(art);
        art = nullptr;
    }

    void TearDown() override { Stop(); }

    // The screen outside the page shows the background window's picture.
    void ExpectBackgroundAround_(int line, HWND page, bool lowBanner) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        HWND background = FindWindowA("SetupMain", "Setup");
        ASSERT_NE(nullptr, background);
        EXPECT_EQ(background, GetWindow(page, GW_OWNER)) << "the page is owned by the background";
        RECT pageRect;
        GetWindowRect(page, &pageRect);
        POINT origin = {0, 0};
        ClientToScreen(background, &origin);
        EXPECT_EQ(1, origin.x);
        EXPECT_EQ(1, origin.y);
        BackgroundPicture picture(W, H, art);
        ASSERT_EQ(400, picture.top.width);
        ASSERT_EQ(490, picture.low.width);
        picture.lowBanner = lowBanner;
        std::string report;
        EXPECT_EQ(0, CompareBackground(CaptureScreen(), origin, picture, &pageRect, &report))
            << report;
    }
};

TEST_F(BackgroundE2E, FirstPageOverGradientAndBanners) {
    HWND page = StartToFirstPage(0);
    ASSERT_NE(nullptr, page) << "SETUP_BEGIN did not appear";
    Pump(300);
    ExpectBackgroundAround(page, true);

    // The lower banner really is on the screen: some pixel of it differs from the gradient.
    PixelImage screen = CaptureScreen();
    int banner = 0;
    for (int y = H - 59; y < H - 16; ++y)
        for (int x = 21; x < 511; ++x)
            banner += screen.At(x, y) != RGB(0, 0, GradientBlueOfRow(y - 1, H));
    EXPECT_GT(banner, 100);

    std::string shots = EnvText("SETUP_SHOTS");
    if (!shots.empty()) {
        char name[64];
        std::snprintf(name, sizeof(name), "/background-%dx%d.png", W, H);
        EXPECT_TRUE(SaveScreenshot(shots + name));
    }
}

TEST_F(BackgroundE2E, OemModeShowsNoLowerBanner) {
    HWND page = StartToFirstPage(1);
    ASSERT_NE(nullptr, page) << "SETUP_BEGIN did not appear";
    Pump(300);
    ExpectBackgroundAround(page, false);
}

TEST_F(BackgroundE2E, RepaintAfterAWindowOverTheBannersHasGone) {
    HWND page = StartToFirstPage(0);
    ASSERT_NE(nullptr, page) << "SETUP_BEGIN did not appear";
    Pump(300);
    // A topmost window of this process over both banners, then gone again.
    HWND cover =
        CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_BLACKRECT, 0, 0,
                        620, H, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, cover);
    Pump(200);
    EXPECT_NE(RGB(0, 0, GradientBlueOfRow(99, H)), CaptureScreen().At(610, 100))
        << "the cover window is not on screen";
    DestroyWindow(cover);
    Pump(500);
    ExpectBackgroundAround(page, true);
}

// Start to the first page in the normal mode (background window, its first paint with the
// dissolve, then SETUP_BEGIN) against the driver-switch mode, which shows its page at once
// without any background. Medians of alternating runs.
TEST_F(BackgroundE2E, TimeToFirstPageWithTheDissolve) {
    const int kRuns = 5;
    std::vector<double> normal, plain;
    for (int run = 0; run < kRuns; ++run) {
        ASSERT_NE(nullptr, StartToFirstPage(0)) << "SETUP_BEGIN did not appear";
        normal.push_back(toFirstPage);
        Stop();
        ASSERT_NE(nullptr, StartToFirstPage(0, "-u", "SETUP_SELMOUSE")) << "no page in -u mode";
        plain.push_back(toFirstPage);
        Stop();
    }
    std::sort(normal.begin(), normal.end());
    std::sort(plain.begin(), plain.end());
    std::printf(
        "screen %dx%d: start to first page, median of %d: normal mode %.0f ms, "
        "-u mode (no background) %.0f ms, background with dissolve %.0f ms\n",
        W, H, kRuns, normal[kRuns / 2], plain[kRuns / 2], normal[kRuns / 2] - plain[kRuns / 2]);
    // A generous bound: the whole background, dissolve included, costs well under a second
    // (on the emulated 32-bit machine, under the machine's time scale: emulator time is no
    // measure of the program).
    EXPECT_LT(normal[kRuns / 2] - plain[kRuns / 2], double(MachineTime(1000)));
}

}  // namespace
