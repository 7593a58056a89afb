// The full-screen background window, created in this process and read back from the
// screen: the gradient's bands, the banners with the gradient showing through their key
// colour, the lower banner only outside OEM mode, and paints after the first one.
// It runs at 640 x 480 and at 1024 x 768 (see cmake/windows-tests.cmake).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "app/app.h"
#include "presentation/background.h"
#include "presentation/dissolve.h"
#include "resource.h"
#include "script/model.h"
#include "support/background_picture.h"
#include "support/vm_host.h"

// The checks report the line of their caller, as Wine's tests do.
#define ExpectScreen(...) ExpectScreen_(__LINE__, __VA_ARGS__)

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

// Lets the window system show what was drawn before the screen is read.
void Settle() {
    for (int i = 0; i < 10; ++i) {
        DrainQueue();
        Sleep(10);
    }
}

class Background : public ::testing::Test {
  protected:
    int W = GetSystemMetrics(SM_CXSCREEN);
    int H = GetSystemMetrics(SM_CYSCREEN);
    BackgroundPicture picture{W, H};
    const PixelImage& top = picture.top;
    const PixelImage& low = picture.low;

    void SetUp() override {
        Shared::AppInstance = GetModuleHandleA(nullptr);
        Shared::ScreenWidth = static_cast<int16_t>(W);
        Shared::ScreenHeight = static_cast<int16_t>(H);
        DissolveNextPaint();
        Shared::OemMode = 0;
        Shared::BackgroundWindow = nullptr;
        ASSERT_EQ(400, top.width);
        ASSERT_EQ(50, top.height);
        ASSERT_EQ(490, low.width);
        ASSERT_EQ(43, low.height);
    }
    void TearDown() override {
        if (Shared::BackgroundWindow) DestroyWindow(Shared::BackgroundWindow);
        Shared::BackgroundWindow = nullptr;
        Settle();
    }

    // Compares every pixel of the client area on the screen with the expected picture.
    void ExpectScreen_(int line, bool lowBanner, int topRight = 420) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        PixelImage screen = CaptureScreen();
        ASSERT_EQ(W, screen.width);
        ASSERT_EQ(H, screen.height);
        POINT origin = {0, 0};
        ClientToScreen(Shared::BackgroundWindow, &origin);
        picture.lowBanner = lowBanner;
        picture.topRight = topRight;
        std::string report;
        EXPECT_EQ(0, CompareBackground(screen, origin, picture, nullptr, &report)) << report;
    }
};

TEST_F(Background, FirstPaintShowsGradientAndBothBanners) {
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    ASSERT_EQ(1, CreateBackgroundWindow());
    QueryPerformanceCounter(&t1);
    std::printf("screen %dx%d: CreateBackgroundWindow with the dissolve took %.1f ms\n", W, H,
                1000.0 * (t1.QuadPart - t0.QuadPart) / f.QuadPart);
    ASSERT_NE(nullptr, Shared::BackgroundWindow);
    EXPECT_EQ(0, DissolvePending());

    char name[32] = {}, text[32] = {};
    GetClassNameA(Shared::BackgroundWindow, name, sizeof(name));
    GetWindowTextA(Shared::BackgroundWindow, text, sizeof(text));
    EXPECT_STREQ("SetupMain", name);
    EXPECT_STREQ("Setup", text);
    EXPECT_EQ(
        static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_BORDER),
        GetWindowLongA(Shared::BackgroundWindow, GWL_STYLE) & ~(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_TRUE(GetWindowLongA(Shared::BackgroundWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r;
    GetWindowRect(Shared::BackgroundWindow, &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(W, r.right);
    EXPECT_EQ(H, r.bottom);
    GetClientRect(Shared::BackgroundWindow, &r);
    EXPECT_EQ(W - 2, r.right);  // thin border: the last two rows and columns fall outside
    EXPECT_EQ(H - 2, r.bottom);

    Settle();
    ExpectScreen(true);

    // Spot checks that read as the picture: pure blue on the top row; near-black at the
    // bottom (blue 1 where the last band reaches into the client area, as at 768 rows).
    PixelImage screen = CaptureScreen();
    EXPECT_EQ(RGB(0, 0, 255), screen.At(W / 2, 1));
    EXPECT_EQ(RGB(0, 0, GradientBlueOfRow(H - 3, H)), screen.At(W / 2, H - 2));
    EXPECT_LE(GradientBlueOfRow(H - 3, H), 2);
    if (H == 768) EXPECT_EQ(RGB(0, 0, 1), screen.At(W / 2, H - 2));
    int throughTop = 0, throughLow = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 400; ++x) throughTop += top.At(x, y) == kMagenta;
    for (int y = 0; y < 43; ++y)
        for (int x = 0; x < 490; ++x) throughLow += low.At(x, y) == kMagenta;
    EXPECT_GT(throughTop, 0);  // the comparison above saw the gradient there
    EXPECT_GT(throughLow, 0);
}

TEST_F(Background, OemModeLeavesOutTheLowerBanner) {
    Shared::OemMode = 1;
    ASSERT_EQ(1, CreateBackgroundWindow());
    Settle();
    ExpectScreen(false);
}

TEST_F(Background, LaterPaintsDrawWithoutTheDissolveAndStillClearIt) {
    ASSERT_EQ(1, CreateBackgroundWindow());
    ASSERT_EQ(0, DissolvePending());

    // A full repaint, as after a page over the banners has gone.
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    InvalidateRect(Shared::BackgroundWindow, nullptr, FALSE);
    UpdateWindow(Shared::BackgroundWindow);
    QueryPerformanceCounter(&t1);
    std::printf("screen %dx%d: full repaint in one sweep took %.1f ms\n", W, H,
                1000.0 * (t1.QuadPart - t0.QuadPart) / f.QuadPart);
    EXPECT_EQ(0, DissolvePending());
    Settle();
    ExpectScreen(true);

    // The same full paint with the dissolve, for comparison; it leaves the same picture.
    DissolveNextPaint();
    QueryPerformanceCounter(&t0);
    InvalidateRect(Shared::BackgroundWindow, nullptr, FALSE);
    UpdateWindow(Shared::BackgroundWindow);
    QueryPerformanceCounter(&t1);
    std::printf("screen %dx%d: full paint with the dissolve took %.1f ms\n", W, H,
                1000.0 * (t1.QuadPart - t0.QuadPart) / f.QuadPart);
    EXPECT_EQ(0, DissolvePending());
    Settle();
    ExpectScreen(true);

    // A paint that meets neither banner clears a pending dissolve all the same.
    DissolveNextPaint();
    RECT middle = {W / 2, H / 2, W / 2 + 40, H / 2 + 40};
    InvalidateRect(Shared::BackgroundWindow, &middle, FALSE);
    UpdateWindow(Shared::BackgroundWindow);
    EXPECT_EQ(0, DissolvePending());
}

TEST_F(Background, PaintBesideTheTopTestRectangleRedrawsOnlyTheGradient) {
    ASSERT_EQ(1, CreateBackgroundWindow());
    int art = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 310; x < 400; ++x) art += top.At(x, y) != kMagenta;
    ASSERT_GT(art, 0) << "the top banner needs artwork right of column 320 for this test";
    // Columns 330 to 419 lie right of the banner's 300-pixel test rectangle: the gradient
    // is painted there again and the banner is not, so its artwork there is gone.
    RECT beside = {330, 10, 420, 60};
    InvalidateRect(Shared::BackgroundWindow, &beside, FALSE);
    UpdateWindow(Shared::BackgroundWindow);
    Settle();
    ExpectScreen(true, 330);
}

// A paint recorded pixel by pixel: the first dissolves the upper banner completely, pass by
// pass, before the lower banner starts; the next paint draws both in one sweep, row by row.
TEST_F(Background, OnlyTheFirstPaintDissolvesOneBannerAfterTheOther) {
    RECT all = {0, 0, W, H};
    for (int paint = 0; paint < 2; ++paint) {
        SCOPED_TRACE(paint == 0 ? "first paint" : "second paint");
        PixelRecording recording;
        PaintBackground(recording.dc, &all);
        std::vector<POINT> set = recording.Finish();
        EXPECT_EQ(0, DissolvePending());
        size_t at = 0;
        const struct {
            const PixelImage& art;
            int left, top;
        } banners[] = {{top, 20, 10}, {low, 20, H - 60}};
        for (const auto& b : banners) {
            long last = -1;  // order of the previous pixel: pass, then row, then column
            for (int y = 0; y < b.art.height; ++y)
                for (int x = 0; x < b.art.width; ++x) {
                    if (b.art.At(x, y) == kMagenta) continue;
                    ASSERT_LT(at, set.size());
                    int bx = set[at].x - b.left, by = set[at].y - b.top;
                    ASSERT_TRUE(bx >= 0 && bx < b.art.width && by >= 0 && by < b.art.height)
                        << "pixel " << at << " at " << set[at].x << "," << set[at].y;
                    ASSERT_NE(kMagenta, b.art.At(bx, by)) << "pixel " << at;
                    long order = (paint == 0 ? DissolveOrder[by % 8][bx % 8] * 100000L : 0) +
                                 by * 1000L + bx;
                    ASSERT_GT(order, last)
                        << "pixel " << at << " at " << set[at].x << "," << set[at].y;
                    last = order;
                    ++at;
                }
        }
        EXPECT_EQ(set.size(), at);
    }
}

// Every band's brush is deleted after use: a repaint leaves no GDI object behind.
TEST_F(Background, PaintingLeavesNoGdiObjectBehind) {
    ASSERT_EQ(1, CreateBackgroundWindow());
    int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    InvalidateRect(Shared::BackgroundWindow, nullptr, FALSE);
    UpdateWindow(Shared::BackgroundWindow);
    EXPECT_EQ(before, GdiObjectCount());
}

TEST_F(Background, DestroyingItPostsNoQuitMessage) {
    ASSERT_EQ(1, CreateBackgroundWindow());
    HWND window = Shared::BackgroundWindow;
    EXPECT_TRUE(DestroyWindow(window));
    Shared::BackgroundWindow = nullptr;
    EXPECT_FALSE(IsWindow(window));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
