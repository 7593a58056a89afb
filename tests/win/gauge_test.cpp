// The gauge frame, the control rectangle and the pumping wait, on real GDI and a real queue.
#include <gtest/gtest.h>

#include "app/app.h"
#include "presentation/gauge.h"
#include "presentation/pumpwait.h"
#include "resource.h"
#include "support/install_page.h"
#include "support/pixels.h"
#include "wizard/pages.h"

namespace {

class Gauge : public ::testing::Test {
  protected:
    HWND page = nullptr;
    HDC mem = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    RECT r{};

    void SetUp() override {
        page = CreateInstallPage();
        ASSERT_NE(nullptr, page);
        ASSERT_EQ(1, ControlRectInParent(page, IDC_GAUGE, &r));
        HDC screen = GetDC(nullptr);
        mem = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, 640, 480);
        ReleaseDC(nullptr, screen);
        oldBitmap = SelectObject(mem, bitmap);
        RECT all = {0, 0, 640, 480};
        HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
        FillRect(mem, &all, green);
        DeleteObject(green);
    }
    void TearDown() override {
        SelectObject(mem, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(mem);
        DestroyWindow(page);
        DrainQueue();
    }
    COLORREF At(int x, int y) { return GetPixel(mem, x, y); }
};

const COLORREF kGreen = RGB(0, 128, 0), kWhite = RGB(255, 255, 255), kGrey = RGB(128, 128, 128),
               kBlack = RGB(0, 0, 0);

TEST_F(Gauge, ControlRectIsTheControlsPlaceInThePage) {
    RECT w;
    HWND gauge = GetDlgItem(page, IDC_GAUGE);
    GetWindowRect(gauge, &w);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&w), 2);
    EXPECT_EQ(w.left, r.left);
    EXPECT_EQ(w.top, r.top);
    EXPECT_EQ(w.right, r.right);
    EXPECT_EQ(w.bottom, r.bottom);
    EXPECT_GT(r.right - r.left, 20);

    RECT none = {1, 2, 3, 4};
    EXPECT_EQ(0, ControlRectInParent(page, 4242, &none));
    EXPECT_TRUE(IsRectEmpty(&none));
}

TEST_F(Gauge, FrameIsEtchedAroundAFilledInterior) {
    DrawGaugeFrame(page, mem, IDC_GAUGE, WHITE_BRUSH);
    int l = r.left, t = r.top, rt = r.right, b = r.bottom;
    int midX = (l + rt) / 2, midY = (t + b) / 2;
    // Grey one pixel outside at top and left, one inside at right and bottom.
    EXPECT_EQ(kGrey, At(l - 1, midY));
    EXPECT_EQ(kGrey, At(midX, t - 1));
    EXPECT_EQ(kGrey, At(rt - 2, midY));
    EXPECT_EQ(kGrey, At(midX, b - 2));
    EXPECT_EQ(kGrey, At(l - 1, t - 1));
    // White beside them: inside at top and left, outside at right and bottom.
    EXPECT_EQ(kWhite, At(l, midY));
    EXPECT_EQ(kWhite, At(midX, t));
    EXPECT_EQ(kWhite, At(rt - 1, midY));
    EXPECT_EQ(kWhite, At(midX, b - 1));
    EXPECT_EQ(kWhite, At(midX, midY));
    // Nothing beyond.
    EXPECT_EQ(kGreen, At(l - 2, midY));
    EXPECT_EQ(kGreen, At(midX, t - 2));
    EXPECT_EQ(kGreen, At(rt, midY));
    EXPECT_EQ(kGreen, At(midX, b));
}

TEST_F(Gauge, InteriorTakesTheGivenStockBrushAndSelectionsAreRestored) {
    HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    SelectObject(mem, pen);
    SelectObject(mem, brush);
    DrawGaugeFrame(page, mem, IDC_GAUGE, BLACK_BRUSH);
    EXPECT_EQ(kBlack, At((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    EXPECT_EQ(pen, GetCurrentObject(mem, OBJ_PEN));
    EXPECT_EQ(brush, GetCurrentObject(mem, OBJ_BRUSH));
    SelectObject(mem, GetStockObject(BLACK_PEN));
    SelectObject(mem, GetStockObject(WHITE_BRUSH));
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST_F(Gauge, FrameLeavesNoGdiObjectBehind) {
    int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 10; ++i) DrawGaugeFrame(page, mem, IDC_GAUGE, WHITE_BRUSH);
    EXPECT_EQ(before, GdiObjectCount());
}

TEST_F(Gauge, AControlThatDoesNotExistDrawsNothing) {
    DrawGaugeFrame(page, mem, 4242, WHITE_BRUSH);
    for (int y = 0; y < 480; y += 3)
        for (int x = 0; x < 640; x += 3) ASSERT_EQ(kGreen, At(x, y)) << x << "," << y;
}

TEST(WaitPumping, DiscardsEveryQueuedMessageForItsWholeLength) {
    HWND page = CreateInstallPage();
    DrainQueue();
    PostThreadMessageA(GetCurrentThreadId(), WM_USER + 7, 0, 0);
    PostMessageA(page, WM_COMMAND, IDC_NEXT, 0);
    // A click on the page's button made during the wait is lost, not delivered afterwards.
    HWND button = GetDlgItem(page, IDC_NEXT);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    DWORD start = GetTickCount();
    WaitPumping(300);
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 300u);
    EXPECT_LT(took, 2000u);
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD));
    EXPECT_EQ(nullptr, GetCapture());
    DestroyWindow(page);
    DrainQueue();
}

TEST(WaitPumping, ZeroMillisecondsLeavesTheQueueAlone) {
    DrainQueue();
    PostThreadMessageA(GetCurrentThreadId(), WM_USER + 8, 0, 0);
    WaitPumping(0);
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_USER + 8), m.message);
}

}  // namespace
