// The wizard of the real SETUP.EXE, driven like a user: pages, captions, placeholders,
// radio buttons, Back, Next and Cancel through real keys and clicks, the cancel notice,
// the driver-switch mode and the refusal on the Windows NT family.
#include <gtest/gtest.h>

#include <thread>

#include "resource.h"
#include "support/package.h"
#include "support/registry_util.h"
#include "support/ui.h"
#include "support/wizard_walk.h"

// The checks report the line of their caller, as Wine's tests do.
#define ExpectCancelNotice(...) ExpectCancelNotice_(__LINE__, __VA_ARGS__)
#define ExpectPageLook(...) ExpectPageLook_(__LINE__, __VA_ARGS__)

namespace {

const char* const kProduct = "Qorva Mouse";
const char* const kCaption = "Qorva Mouse Setup";
const char* const kNotice = "Qorva Mouse installation is not completed !";
const char* const kBoxCaption = "Qorva Mouse Setup Program";

// One run of SETUP.EXE from a package of its own; ended at the end of the test.
class Wizard : public ::testing::Test {
  protected:
    void Start(const std::string& tail = "", int defaultSerialMouse = 1) {
        exe =
            MakeTestPackage("wizard", SmallSetupInf(kProduct, "C:\\QORVA", 1, defaultSerialMouse));
        ASSERT_FALSE(exe.empty());
        setup = StartProgram(exe, tail);
        ASSERT_NE(nullptr, setup.process);
    }
    void TearDown() override { StopProgram(setup); }

    // Waits for a page of SETUP.EXE and checks what every page shares.
    HWND Page(const char* pageClass) {
        HWND page = WaitForPage(pageClass);
        EXPECT_NE(nullptr, page) << pageClass << " did not appear";
        if (page != nullptr) ExpectPageLook(page);
        return page;
    }

    // Walks with Next to a page of SETUP.EXE, checking on the way what every page shares.
    HWND Walk(const char* pageClass) {
        HWND page = WalkTo(pageClass, 0, 5000, [this](HWND p) { ExpectPageLook(p); });
        EXPECT_NE(nullptr, page) << "the walk to " << pageClass << " stopped";
        return page;
    }

    // The caption and the place on the screen that every page has.
    void ExpectPageLook_(int line, HWND page) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        const std::string pageClass = ClassOf(page);
        EXPECT_EQ(kCaption, WindowText(page)) << pageClass;
        RECT r = WindowRect(page);
        int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        EXPECT_EQ((screenWidth - (r.right - r.left)) / 2, r.left) << pageClass;
        EXPECT_EQ((screenHeight - (r.bottom - r.top)) / 2, r.top) << pageClass;
    }

    // Checks the cancel notice owned by page, confirms it and expects the program to end.
    void ExpectCancelNotice_(int line, HWND page) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        HWND box = WaitForMessageBox(page);
        ASSERT_NE(nullptr, box) << "no cancel notice";
        SaveDocumentationShot(box, "cancel-notice");
        EXPECT_EQ(kNotice, MessageBoxText(box));
        EXPECT_EQ(kBoxCaption, WindowText(box));
        EXPECT_TRUE(TypeKeys(box, "Return"));
        EXPECT_EQ(0u, WaitProgramEnd(setup)) << "the program should end with code 0";
    }

    std::string exe;
    RunningProgram setup;
};

TEST_F(Wizard, WalksForwardAndBackWithKeysAndClicks) {
    Start("", 0);
    HWND begin = Page("SETUP_BEGIN");
    ASSERT_NE(nullptr, begin);
    EXPECT_EQ(" This program will install Qorva Mouse into your computer.",
              ItemText(begin, IDC_TEXT2));
    EXPECT_EQ(" Welcome to the Setup Program.", ItemText(begin, IDC_TEXT1));
    EXPECT_FALSE(IsItemEnabled(begin, IDC_BACK));
    EXPECT_TRUE(IsItemEnabled(begin, IDC_NEXT));
    SaveDocumentationShot(begin, "page-welcome");
    EXPECT_TRUE(MouseClickItem(begin, IDC_NEXT));
    EXPECT_TRUE(WaitWindowGone(begin));

    HWND mouse = Page("SETUP_SELMOUSE");
    ASSERT_NE(nullptr, mouse);
    EXPECT_TRUE(IsItemChecked(mouse, IDC_PS2)) << "DefaultSerialMouse=0 means PS/2";
    EXPECT_FALSE(IsItemChecked(mouse, IDC_SERIAL));
    EXPECT_TRUE(IsItemEnabled(mouse, IDC_BACK));
    SaveDocumentationShot(mouse, "page-mouse");
    EXPECT_TRUE(MouseClickItem(mouse, IDC_SERIAL));
    EXPECT_TRUE(WaitUntil([&] { return IsItemChecked(mouse, IDC_SERIAL); }));
    EXPECT_TRUE(TypeKeys(mouse, "Return"));
    EXPECT_TRUE(WaitWindowGone(mouse));

    HWND dir = Page("SETUP_SELDIR");
    ASSERT_NE(nullptr, dir);
    EXPECT_EQ("Qorva Mouse files are to be installed :", ItemText(dir, IDC_TEXT1));
    EXPECT_EQ("C:\\QORVA", ItemText(dir, IDC_DESTDIR));
    EXPECT_TRUE(IsItemEnabled(dir, IDC_BACK));
    SaveDocumentationShot(dir, "page-destination");
    EXPECT_TRUE(MouseClickItem(dir, IDC_BACK));
    EXPECT_TRUE(WaitWindowGone(dir));

    // A new page shows the choice made before Back.
    mouse = Page("SETUP_SELMOUSE");
    ASSERT_NE(nullptr, mouse);
    EXPECT_TRUE(IsItemChecked(mouse, IDC_SERIAL));
    EXPECT_FALSE(IsItemChecked(mouse, IDC_PS2));
    EXPECT_TRUE(TypeKeys(mouse, "alt+b"));  // the mnemonic of "< &Back"
    EXPECT_TRUE(WaitWindowGone(mouse));

    begin = Page("SETUP_BEGIN");
    ASSERT_NE(nullptr, begin);
    EXPECT_TRUE(TypeKeys(begin, "Return"));
    mouse = Page("SETUP_SELMOUSE");
    ASSERT_NE(nullptr, mouse);
    EXPECT_TRUE(TypeKeys(mouse, "Return"));
    dir = Page("SETUP_SELDIR");
    ASSERT_NE(nullptr, dir);
    EXPECT_TRUE(MouseClickItem(dir, IDC_CANCEL));
    ExpectCancelNotice(dir);
}

// Each page opens with the focus on button 1; Tab and Shift+Tab go round the enabled tab
// stops, the arrows move between the mouse types and check them, Enter presses the push
// button that has the focus, and the space bar the one under the focus.
TEST_F(Wizard, KeyboardMovesBetweenTheControls) {
    Start("", 0);
    HWND begin = Page("SETUP_BEGIN");
    ASSERT_NE(nullptr, begin);
    EXPECT_EQ(IDC_NEXT, FocusedItemId(begin));
    EXPECT_TRUE(TypeKeys(begin, "Tab"));
    EXPECT_TRUE(WaitUntil([&] { return FocusedItemId(begin) == IDC_CANCEL; }));
    EXPECT_TRUE(TypeKeys(begin, "Tab"));  // Back is disabled
    EXPECT_TRUE(WaitUntil([&] { return FocusedItemId(begin) == IDC_NEXT; }));
    EXPECT_TRUE(TypeKeys(begin, "shift+Tab"));
    EXPECT_TRUE(WaitUntil([&] { return FocusedItemId(begin) == IDC_CANCEL; }));
    EXPECT_TRUE(TypeKeys(begin, "Tab Return"));

    HWND mouse = Page("SETUP_SELMOUSE");
    ASSERT_NE(nullptr, mouse);
    EXPECT_EQ(IDC_NEXT, FocusedItemId(mouse));
    // Tab reaches the checked mouse type; the platform passes over the other one.
    EXPECT_TRUE(TypeKeys(mouse, "Tab Tab"));
    EXPECT_TRUE(WaitUntil([&] { return FocusedItemId(mouse) == IDC_PS2; }));
    EXPECT_TRUE(TypeKeys(mouse, "Up"));
    EXPECT_TRUE(WaitUntil([&] { return IsItemChecked(mouse, IDC_SERIAL); }));
    EXPECT_EQ(IDC_SERIAL, FocusedItemId(mouse));
    EXPECT_TRUE(TypeKeys(mouse, "Down"));
    EXPECT_TRUE(WaitUntil([&] { return IsItemChecked(mouse, IDC_PS2); }));
    EXPECT_TRUE(TypeKeys(mouse, "Up Tab"));
    EXPECT_TRUE(WaitUntil([&] { return FocusedItemId(mouse) == IDC_BACK; }));
    EXPECT_TRUE(IsItemChecked(mouse, IDC_SERIAL));
    EXPECT_TRUE(TypeKeys(mouse, "Return"));  // the focused Back, not Next
    EXPECT_TRUE(WaitWindowGone(mouse));

    begin = Page("SETUP_BEGIN");
    ASSERT_NE(nullptr, begin);
    EXPECT_EQ(IDC_NEXT, FocusedItemId(begin));
    EXPECT_TRUE(TypeKeys(begin, "Return"));
    mouse = Page("SETUP_SELMOUSE");
    ASSERT_NE(nullptr, mouse);
    EXPECT_TRUE(IsItemChecked(mouse, IDC_SERIAL)) << "the arrow's choice is kept";
    EXPECT_TRUE(TypeKeys(mouse, "Return"));

    HWND dir = Page("SETUP_SELDIR");
    ASSERT_NE(nullptr, dir);
    EXPECT_EQ(IDC_NEXT, FocusedItemId(dir));
    EXPECT_TRUE(TypeKeys(dir, "Tab Tab Tab"));
    EXPECT_TRUE(WaitUntil([&] { return FocusedItemId(dir) == IDC_BROWSE; }));
    EXPECT_TRUE(TypeKeys(dir, "Tab"));
    EXPECT_TRUE(WaitUntil([&] { return FocusedItemId(dir) == IDC_NEXT; }));
    EXPECT_TRUE(TypeKeys(dir, "shift+Tab shift+Tab shift+Tab"));
    EXPECT_TRUE(WaitUntil([&] { return FocusedItemId(dir) == IDC_CANCEL; }));
    EXPECT_TRUE(TypeKeys(dir, "space"));
    ExpectCancelNotice(dir);
}

TEST_F(Wizard, EscapeCancelsTheWelcomePage) {
    Start();
    HWND begin = Page("SETUP_BEGIN");
    ASSERT_NE(nullptr, begin);
    EXPECT_TRUE(TypeKeys(begin, "Escape"));
    ExpectCancelNotice(begin);
    EXPECT_EQ(nullptr, FindTopWindow("SETUP_SELMOUSE", nullptr));
}

TEST_F(Wizard, EscapeCancelsTheMousePage) {
    Start();
    HWND mouse = Walk("SETUP_SELMOUSE");
    ASSERT_NE(nullptr, mouse);
    EXPECT_TRUE(IsItemChecked(mouse, IDC_SERIAL)) << "DefaultSerialMouse=1 means serial";
    EXPECT_TRUE(TypeKeys(mouse, "Escape"));
    ExpectCancelNotice(mouse);
}

TEST_F(Wizard, EscapeCancelsTheDestinationPage) {
    Start();
    HWND dir = Walk("SETUP_SELDIR");
    ASSERT_NE(nullptr, dir);
    EXPECT_TRUE(TypeKeys(dir, "Escape"));
    ExpectCancelNotice(dir);
}

TEST_F(Wizard, CancelButtonOnTheMousePageGivesTheNotice) {
    Start();
    HWND mouse = Walk("SETUP_SELMOUSE");
    ASSERT_NE(nullptr, mouse);
    EXPECT_TRUE(MouseClickItem(mouse, IDC_CANCEL));
    ExpectCancelNotice(mouse);
}

// The companion program is asked to close when the user leaves the destination page,
// before the copying page exists.
bool closeSeen = false;
bool installPageExisted = true;

// A stand-in of the companion program's window: notes when it is asked to close.
LRESULT CALLBACK CompanionProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CLOSE) {
        closeSeen = true;
        installPageExisted = FindTopWindow("SETUP_INSTALL", nullptr) != nullptr;
        DestroyWindow(w);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

TEST_F(Wizard, NextOnTheDestinationPageClosesTheCompanionFirst) {
    closeSeen = false;
    WNDCLASSA cls = {};
    cls.lpfnWndProc = CompanionProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "CompanionStandIn";
    RegisterClassA(&cls);
    HWND companion = CreateWindowA("CompanionStandIn", "Quillotrax", WS_OVERLAPPED, 0, 0, 10, 10,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, companion);

    Start();
    HWND dir = Walk("SETUP_SELDIR");
    ASSERT_NE(nullptr, dir);
    EXPECT_FALSE(closeSeen) << "the companion must stay until the user moves on";
    ClickItem(dir, IDC_NEXT);
    EXPECT_TRUE(WaitUntil([] { return closeSeen; })) << "WM_CLOSE did not arrive";
    EXPECT_FALSE(installPageExisted);
    EXPECT_NE(nullptr, WaitForPage("SETUP_INSTALL"));
    if (IsWindow(companion)) DestroyWindow(companion);
}

// A companion whose program does not answer holds setup up a few seconds, not for good.
TEST_F(Wizard, HungCompanionDoesNotStopTheInstallation) {
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread hung([&] {
        HWND w = CreateWindowA("Static", "Quillotrax", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        SetEvent(created);
        WaitForSingleObject(release, INFINITE);  // never takes a message
        DestroyWindow(w);
    });
    WaitForSingleObject(created, 5000);
    ASSERT_NE(nullptr, FindWindowA(nullptr, "Quillotrax"));

    Start();
    HWND dir = Walk("SETUP_SELDIR");
    if (dir != nullptr) {
        ClickItem(dir, IDC_NEXT);
        EXPECT_TRUE(WaitWindowGone(dir));
    }
    EXPECT_NE(nullptr, WaitForPage("SETUP_INSTALL", 15000)) << "setup waits for the companion";
    HWND end = WaitForPage("SETUP_END", 15000);
    EXPECT_NE(nullptr, end);
    if (end != nullptr) {
        EXPECT_TRUE(ChooseItem(end, IDC_RESTART_LATER, 5000));
        ClickItem(end, IDC_NEXT);
        EXPECT_EQ(0u, WaitProgramEnd(setup));
    }
    SetEvent(release);
    hung.join();
    CloseHandle(created);
    CloseHandle(release);
}

TEST_F(Wizard, SwitchModeShowsTheMousePageAloneWithoutBack) {
    Start("-u", 0);
    HWND mouse = Page("SETUP_SELMOUSE");
    ASSERT_NE(nullptr, mouse);
    EXPECT_EQ(nullptr, GetWindow(mouse, GW_OWNER)) << "no background window in this mode";
    EXPECT_FALSE(IsItemEnabled(mouse, IDC_BACK));
    EXPECT_TRUE(IsItemChecked(mouse, IDC_PS2));
    EXPECT_EQ(nullptr, FindTopWindow("SETUP_BEGIN", nullptr));
    EXPECT_TRUE(TypeKeys(mouse, "Escape"));
    ExpectCancelNotice(mouse);
}

TEST_F(Wizard, CapitalUSelectsTheNormalMode) {
    Start("-U");
    HWND begin = Page("SETUP_BEGIN");
    ASSERT_NE(nullptr, begin);
    EXPECT_TRUE(TypeKeys(begin, "Escape"));
    ExpectCancelNotice(begin);
}

// A package directory so deep that "\SETUP.INF" no longer fits the script's path: the
// script is not read, so the box has the default product's caption; no window opens.
TEST_F(Wizard, PackageTooDeepForTheScriptPathIsAReadingError) {
    exe = MakeTestPackage(std::string(70, 'D'), SmallSetupInf(kProduct, "C:\\QORVA", 1));
    ASSERT_EQ(79u + 10u, exe.size());  // "C:\tests\DD...D\SETUP.EXE"
    setup = StartProgram(exe);
    HWND box = WaitForMessageBox(nullptr, setup.id);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("SETUP.INF Reading error !", MessageBoxText(box));
    EXPECT_EQ("Qorva Setup Program", WindowText(box));
    EXPECT_EQ(nullptr, FindTopWindow("SetupMain", nullptr, setup.id));
    EXPECT_EQ(nullptr, FindTopWindow("SETUP_BEGIN", nullptr, setup.id));
    EXPECT_TRUE(TypeKeys(box, "Return"));
    EXPECT_EQ(0u, WaitProgramEnd(setup));
}

// On the Windows NT family the program refuses before it reads its script.
TEST_F(Wizard, RefusesTheNtFamily) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\SETUP.EXE", 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("winxp"), 6);
    RegCloseKey(key);

    Start();
    HWND box = WaitForMessageBox(nullptr, setup.id);
    EXPECT_NE(nullptr, box);
    if (box != nullptr) {
        EXPECT_EQ("Warning", WindowText(box));
        EXPECT_EQ("This  Mouse Setup Program is for Windows 95/98 only !", MessageBoxText(box));
        EXPECT_TRUE(TypeKeys(box, "Return"));
    }
    EXPECT_EQ(0u, WaitProgramEnd(setup));
    EXPECT_EQ(nullptr, FindTopWindow("SETUP_BEGIN", nullptr));
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\SETUP.EXE");
}

TEST_F(Wizard, SwitchModeMakesNoVersionTest) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\SETUP.EXE", 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("winxp"), 6);
    RegCloseKey(key);

    Start("-u");
    HWND mouse = WaitForPage("SETUP_SELMOUSE");
    EXPECT_NE(nullptr, mouse);
    if (mouse != nullptr) {
        EXPECT_TRUE(TypeKeys(mouse, "Escape"));
        ExpectCancelNotice(mouse);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\SETUP.EXE");
}

// Last in this program: the restart it asks for ends every program with a window, and
// Wine's desktop takes the foreground back at some moment while the machine settles, so
// that keys typed then would go astray.
TEST_F(Wizard, SwitchModeNextReportsTheNewDriver) {
    // The restart this mode asks for ends every program with a window on the machine, and
    // then runs the RunOnce entries: a marker of ours shows when it is over, so that it
    // cannot end the program of a later test.
    const std::string runOnce = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    const std::string marker = "Software\\SetupTests\\WizardRestarted";
    DeleteTree(HKEY_LOCAL_MACHINE, marker);
    SetString(HKEY_LOCAL_MACHINE, runOnce, "WizardTest",
              "\"" + ToolPath("vmhelper.exe") + "\" setsz HKLM " + marker + " Restarted done");

    Start("-u and whatever follows");
    HWND mouse = Page("SETUP_SELMOUSE");
    ASSERT_NE(nullptr, mouse);
    EXPECT_FALSE(IsItemEnabled(mouse, IDC_BACK));
    EXPECT_TRUE(TypeKeys(mouse, "Return"));
    HWND box = WaitForMessageBox(nullptr, setup.id);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(
        "The Mouse Setup Program has installed driver successfully. You have to restart "
        "your Windows now !",
        MessageBoxText(box));
    EXPECT_EQ(kBoxCaption, WindowText(box));
    EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER));
    // Confirming it asks Windows to restart; the program then ends.
    EXPECT_TRUE(TypeKeys(box, "Return"));
    EXPECT_EQ(0u, WaitProgramEnd(setup));
    EXPECT_TRUE(WaitUntil([&] { return KeyExists(HKEY_LOCAL_MACHINE, marker); }, 30000))
        << "the restart did not run the RunOnce entry";
}

}  // namespace
