// The page runner and the pages run inside this process (its resources hold the same
// templates as SETUP.EXE): RunPage's result, the finish page, the placement arithmetic on
// a real window, long product names. The page runs on the main thread as in SETUP.EXE; a
// second thread plays the user.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "app/app.h"
#include "presentation/background.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/model.h"
#include "support/ui.h"
#include "wizard/pages.h"

namespace {

class Pages : public ::testing::Test {
  protected:
    void SetUp() override {
        Shared::AppInstance = GetModuleHandleA(nullptr);
        Shared::ScreenWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));
        Shared::ScreenHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
        Shared::BackgroundWindow = nullptr;
        TextCopy(Shared::ProductName, kProductWidth, "Qorva Mouse");
        TextCopy(Shared::SetupCaption, kCaptionWidth, "Qorva Mouse Setup Program");
        TextCopy(Shared::InstallDir, kDirWidth, "C:\\QORVA");
        Shared::RestartChoice = 1;
        Shared::BackAllowed = 1;
        Shared::MouseKind = 1;
    }

    // Runs the page on this thread while user() acts on it from another.
    int16_t Run(const char* cls, WNDPROC proc, int templateId,
                const std::function<void(HWND)>& user) {
        std::thread player([&] {
            HWND page = WaitForPage(cls);
            user(page);
            // Whatever happened, do not leave the page running.
            if (page != nullptr && !WaitWindowGone(page, 3000)) PostMessageA(page, WM_CLOSE, 0, 0);
        });
        int16_t result = RunPage(cls, proc, templateId);
        player.join();
        return result;
    }
};

TEST_F(Pages, FinishPageTakesTheRestartChoiceAndIgnoresEscape) {
    Shared::PageResult = 7;  // the finish page never writes PageResult
    int16_t result = Run("SETUP_END", EndPageProc, IDD_END, [](HWND page) {
        ASSERT_NE(nullptr, page);
        EXPECT_EQ("Qorva Mouse Setup", WindowText(page));
        EXPECT_EQ("You have installed Qorva Mouse Successfully !", ItemText(page, IDC_TEXT1));
        EXPECT_TRUE(IsItemChecked(page, IDC_RESTART_NOW));
        EXPECT_FALSE(IsItemChecked(page, IDC_RESTART_LATER));
        EXPECT_EQ(nullptr, GetDlgItem(page, IDC_CANCEL));
        EXPECT_EQ(IDC_NEXT, FocusedItemId(page));
        SaveDocumentationShot(page, "page-finish");
        EXPECT_TRUE(TypeKeys(page, "Escape"));
        Sleep(300);
        EXPECT_TRUE(IsWindow(page)) << "Esc must do nothing on the finish page";
        EXPECT_EQ(nullptr, FindTopWindow("#32770", nullptr, GetCurrentProcessId()));
        EXPECT_TRUE(MouseClickItem(page, IDC_RESTART_LATER));
        EXPECT_TRUE(WaitUntil([&] { return IsItemChecked(page, IDC_RESTART_LATER); }));
        EXPECT_EQ(1, Shared::RestartChoice) << "the choice is read at Finish, not at the click";
        EXPECT_TRUE(TypeKeys(page, "Return"));
    });
    EXPECT_EQ(7, result);
    EXPECT_EQ(0, Shared::RestartChoice);
}

// The pages have no close box: Alt+F4 ends none of them, and does not take away the
// background that owns them either. Ended that way, the destination page would skip its
// checks and the finish page would restart against the choice made on it. (The copying
// page takes keys only while it copies: the install test presses Alt+F4 there.)
TEST_F(Pages, AltF4ClosesNoPageAndNotTheBackground) {
    ASSERT_EQ(1, CreateBackgroundWindow());
    HWND background = Shared::BackgroundWindow;
    EXPECT_TRUE(TypeKeys(background, "alt+F4"));
    Sleep(400);
    EXPECT_TRUE(IsWindow(background));

    struct PageKind {
        const char* cls;
        WNDPROC proc;
        int id;
    };
    const PageKind kinds[] = {{"SETUP_BEGIN", BeginPageProc, IDD_BEGIN},
                              {"SETUP_SELMOUSE", SelMousePageProc, IDD_SELMOUSE},
                              {"SETUP_SELDIR", SelDirPageProc, IDD_SELDIR},
                              {"SETUP_END", EndPageProc, IDD_END}};
    for (const PageKind& kind : kinds) {
        Shared::PageResult = 5;
        int16_t result = Run(kind.cls, kind.proc, kind.id, [&](HWND page) {
            ASSERT_NE(nullptr, page) << kind.cls;
            EXPECT_TRUE(TypeKeys(page, "alt+F4"));
            Sleep(400);
            EXPECT_TRUE(IsWindow(page)) << kind.cls << " closed by Alt+F4";
            EXPECT_EQ(nullptr, FindTopWindow("#32770", nullptr, GetCurrentProcessId())) << kind.cls;
            PostMessageA(page, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(5, result) << kind.cls;
        EXPECT_TRUE(IsWindow(background)) << kind.cls;
    }
    DestroyWindow(background);
    Shared::BackgroundWindow = nullptr;
}

TEST_F(Pages, FinishPageNeverRaisesTheRestartChoice) {
    Shared::RestartChoice = 0;
    Run("SETUP_END", EndPageProc, IDD_END, [](HWND page) {
        ASSERT_NE(nullptr, page);
        EXPECT_TRUE(IsItemChecked(page, IDC_RESTART_LATER));
        EXPECT_TRUE(ClickItem(page, IDC_RESTART_NOW));
        EXPECT_TRUE(WaitUntil([&] { return IsItemChecked(page, IDC_RESTART_NOW); }));
        EXPECT_TRUE(ClickItem(page, IDC_NEXT));
    });
    EXPECT_EQ(0, Shared::RestartChoice);
}

TEST_F(Pages, FinishPageAsksForTheScreenSizeAnew) {
    // The size recorded at start differs from the screen's, as after a change of the display
    // settings during the run; the finish page centres itself on the screen as it is.
    Shared::ScreenWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN) + 400);
    Shared::ScreenHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN) + 300);
    Run("SETUP_END", EndPageProc, IDD_END, [](HWND page) {
        ASSERT_NE(nullptr, page);
        RECT r = WindowRect(page);
        EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, r.left);
        EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, r.top);
        ClickItem(page, IDC_NEXT);
    });
}

TEST_F(Pages, PageGrowsOnePixelAndCentresOnTheRecordedScreen) {
    Shared::ScreenWidth = 640;
    Shared::ScreenHeight = 480;
    Run("SETUP_BEGIN", BeginPageProc, IDD_BEGIN, [](HWND page) {
        ASSERT_NE(nullptr, page);
        // What the dialog manager makes of 280 x 183 units with this font and frame.
        RECT units = {0, 0, 280, 183};
        MapDialogRect(page, &units);
        AdjustWindowRectEx(&units, GetWindowLongA(page, GWL_STYLE), FALSE,
                           GetWindowLongA(page, GWL_EXSTYLE));
        int width = units.right - units.left + 1;
        int height = units.bottom - units.top + 1;
        RECT r = WindowRect(page);
        EXPECT_EQ(width, r.right - r.left);
        EXPECT_EQ(height, r.bottom - r.top);
        EXPECT_EQ((640 - width) / 2, r.left);
        EXPECT_EQ((480 - height) / 2, r.top);
        PostMessageA(page, WM_COMMAND, IDC_NEXT, 0);
    });
}

TEST_F(Pages, PageThatCannotBeCreatedReturnsZeroAtOnce) {
    Shared::PageResult = 1;
    DWORD start = GetTickCount();
    EXPECT_EQ(0, RunPage("SETUP_NONE", BeginPageProc, 999));
    EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST_F(Pages, ResultIsNotResetBetweenPages) {
    Shared::PageResult = 2;
    // A page closed without any button keeps what the last button left.
    int16_t result = Run("SETUP_BEGIN", BeginPageProc, IDD_BEGIN, [](HWND page) {
        ASSERT_NE(nullptr, page);
        PostMessageA(page, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(2, result);
}

TEST_F(Pages, MousePageChangesMouseKindAtTheClick) {
    Shared::MouseKind = 0;
    int16_t result = Run("SETUP_SELMOUSE", SelMousePageProc, IDD_SELMOUSE, [](HWND page) {
        ASSERT_NE(nullptr, page);
        EXPECT_TRUE(IsItemChecked(page, IDC_PS2));
        EXPECT_TRUE(ClickItem(page, IDC_SERIAL));
        EXPECT_TRUE(WaitUntil([] { return Shared::MouseKind == 1; }));
        EXPECT_TRUE(ClickItem(page, IDC_BACK));
    });
    EXPECT_EQ(2, result);
    EXPECT_EQ(1, Shared::MouseKind) << "the choice stays after Back";

    Shared::MouseKind = 5;  // any non-zero value reads as serial
    Shared::BackAllowed = 0;
    result = Run("SETUP_SELMOUSE", SelMousePageProc, IDD_SELMOUSE, [](HWND page) {
        ASSERT_NE(nullptr, page);
        EXPECT_TRUE(IsItemChecked(page, IDC_SERIAL));
        EXPECT_FALSE(IsItemEnabled(page, IDC_BACK));
        EXPECT_TRUE(MouseClickItem(page, IDC_BACK));  // a disabled button does not click
        Sleep(300);
        EXPECT_TRUE(IsWindow(page));
        EXPECT_TRUE(ClickItem(page, IDC_NEXT));
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ(5, Shared::MouseKind);
}

TEST_F(Pages, LongestProductNameFillsCaptionAndPlaceholder) {
    char name[kProductWidth];
    for (int i = 0; i < kProductWidth - 1; ++i) name[i] = static_cast<char>('A' + i % 26);
    name[kProductWidth - 1] = 0;
    TextCopy(Shared::ProductName, kProductWidth, name);
    Run("SETUP_BEGIN", BeginPageProc, IDD_BEGIN, [&](HWND page) {
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(std::string(" This program will install ") + name + " into your computer.",
                  ItemText(page, IDC_TEXT2));
        EXPECT_EQ(std::string(name) + " Setup", WindowText(page));
        PostMessageA(page, WM_COMMAND, IDC_NEXT, 0);
    });
}

}  // namespace
