// The destination page of the real SETUP.EXE: the checks made on Next (form, free space,
// existing and new directories) and the directory browser.
#include <gtest/gtest.h>

#include "resource.h"
#include "support/package.h"
#include "support/registry_util.h"
#include "support/ui.h"
#include "support/vm_host.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

// The checks report the line of their caller, as Wine's tests do.
#define ExpectAccepted() ExpectAccepted_(__LINE__)
#define ExpectRefusal(...) ExpectRefusal_(__LINE__, __VA_ARGS__)

namespace {

const char* const kCannotCreate =
    "Can not create directory !\nThe specified directory is either invalid or disk drive is "
    "write protected.";
const char* const kNoSpace = "There is no enough free space in the specified disk drive !";

class Destination : public ::testing::Test {
  protected:
    // Starts SETUP.EXE and walks to SETUP_SELDIR.
    void Open(int minimumSpace = 1, const std::string& defaultPath = "C:\\QORVA") {
        exe =
            MakeTestPackage("destination", SmallSetupInf("Qorva Mouse", defaultPath, minimumSpace));
        ASSERT_FALSE(exe.empty());
        setup = StartProgram(exe);
        ASSERT_NE(nullptr, setup.process);
        page = WalkTo("SETUP_SELDIR");
        ASSERT_NE(nullptr, page) << "the walk to the destination page stopped";
    }
    void TearDown() override { StopProgram(setup); }

    // Opens the browser from the page.
    HWND OpenBrowser() {
        ClickItem(page, IDC_BROWSE);
        HWND browser = WaitForMessageBox(page);
        EXPECT_NE(nullptr, browser) << "the browser did not open";
        if (browser != nullptr)
            WaitUntil([&] { return !ItemText(browser, IDC_BROWSE_PATH).empty(); });
        return browser;
    }

    // Types a path into the browser's path field and confirms it with OK: the page then
    // shows it, as a user would choose a destination.
    void Choose(const std::string& path) {
        HWND browser = OpenBrowser();
        ASSERT_NE(nullptr, browser);
        SendMessageTimeoutA(GetDlgItem(browser, IDC_BROWSE_PATH), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, 2000,
                            nullptr);
        ClickItem(browser, IDOK);
        ASSERT_TRUE(WaitWindowGone(browser));
        ASSERT_TRUE(WaitUntil([&] { return ItemText(page, IDC_DESTDIR) == path; }))
            << "the page shows " << ItemText(page, IDC_DESTDIR);
    }

    // Presses Next and expects the given refusal, after which the page stays open.
    void ExpectRefusal_(int line, const char* text) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        ClickItem(page, IDC_NEXT);
        HWND box = WaitForMessageBox(page);
        ASSERT_NE(nullptr, box) << "no message for " << ItemText(page, IDC_DESTDIR);
        SaveDocumentationShot(box, text == kNoSpace ? "message-no-space" : "message-cannot-create");
        EXPECT_EQ(text, MessageBoxText(box));
        EXPECT_EQ("Qorva Mouse Setup Program", WindowText(box));
        EXPECT_TRUE(TypeKeys(box, "Return"));
        EXPECT_TRUE(WaitWindowGone(box));
        EXPECT_TRUE(IsWindow(page)) << "the page must stay open";
        EXPECT_EQ(nullptr, FindTopWindow("SETUP_INSTALL", nullptr));
    }

    // Presses Next and expects the wizard to move on to copying.
    void ExpectAccepted_(int line) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        ClickItem(page, IDC_NEXT);
        EXPECT_NE(nullptr, WaitForPage("SETUP_INSTALL")) << ItemText(page, IDC_DESTDIR);
        EXPECT_EQ(nullptr, WaitForMessageBox(page, 0, 300));
    }

    std::string exe;
    RunningProgram setup;
    HWND page = nullptr;
};

TEST_F(Destination, MalformedPathsAreRefusedAndThePageStays) {
    ASSERT_NO_FATAL_FAILURE(Open());
    for (const char* path : {"C:", "QORVA", "C:QORVA", "\\QORVA"}) {
        SCOPED_TRACE(path);
        ASSERT_NO_FATAL_FAILURE(Choose(path));
        ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kCannotCreate));
        // The text read at Next stays the destination.
        EXPECT_EQ(path, ItemText(page, IDC_DESTDIR));
    }
    // The user can still choose again and go on.
    ASSERT_NO_FATAL_FAILURE(Choose("C:\\tests\\destination\\good"));
    ExpectAccepted();
    EXPECT_TRUE(FileExists("C:\\tests\\destination\\good"));
}

TEST_F(Destination, EmptyPathIsRefused) {
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND browser = OpenBrowser();
    ASSERT_NE(nullptr, browser);
    SendMessageTimeoutA(GetDlgItem(browser, IDC_BROWSE_PATH), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(""), SMTO_ABORTIFHUNG, 2000, nullptr);
    ClickItem(browser, IDOK);
    ASSERT_TRUE(WaitWindowGone(browser));
    ASSERT_TRUE(WaitUntil([&] { return ItemText(page, IDC_DESTDIR).empty(); }));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kCannotCreate));
}

TEST_F(Destination, NewDirectoryIsCreated) {
    ASSERT_NO_FATAL_FAILURE(Open());
    RemoveTree("C:\\tests\\dest-new");
    CreateDirectoryA("C:\\tests\\dest-new", nullptr);
    Choose("c:\\tests\\dest-new\\Qorva");  // a lower-case drive letter is accepted
    ExpectAccepted();
    EXPECT_TRUE(GetFileAttributesA("C:\\tests\\dest-new\\Qorva") & FILE_ATTRIBUTE_DIRECTORY);
    RemoveTree("C:\\tests\\dest-new");
}

TEST_F(Destination, ExistingDirectoryIsAcceptedWithoutAQuestion) {
    ASSERT_NO_FATAL_FAILURE(Open());
    CreateDirectoryA("C:\\tests\\dest-old", nullptr);
    WriteFileBytes("C:\\tests\\dest-old\\keep.txt", "kept");
    ASSERT_NO_FATAL_FAILURE(Choose("C:\\tests\\dest-old"));
    ExpectAccepted();
    EXPECT_EQ("kept", ReadFileBytes("C:\\tests\\dest-old\\keep.txt"));
    RemoveTree("C:\\tests\\dest-old");
}

// Every missing level is created; a level that cannot be made (a file stands there, the
// medium is write-protected) is refused as before, and nothing made stays behind.
TEST_F(Destination, MissingLevelsAreCreatedUnlessTheyCannotBe) {
    ASSERT_NO_FATAL_FAILURE(Open());
    WriteFileBytes("C:\\tests\\a-file", "a file, no directory", false);
    ASSERT_NO_FATAL_FAILURE(Choose("C:\\tests\\a-file\\Qorva"));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kCannotCreate));
    RemoveTree("C:\\tests\\read-only");
    CreateDirectoryA("C:\\tests\\read-only", nullptr);
    const std::string medium = EnvText("VM_PREFIX") + "/drive_c/tests/read-only";
    ASSERT_TRUE(MountReadOnly(medium)) << "a bind mount needs root";
    ASSERT_NO_FATAL_FAILURE(Choose("C:\\tests\\read-only\\new\\Qorva"));
    ExpectRefusal(kCannotCreate);
    Unmount(medium);
    EXPECT_FALSE(FileExists("C:\\tests\\read-only\\new"));

    RemoveTree("C:\\tests\\no-parent");
    ASSERT_NO_FATAL_FAILURE(Choose("C:\\tests\\no-parent\\two\\Qorva"));
    ExpectAccepted();
    EXPECT_TRUE(GetFileAttributesA("C:\\tests\\no-parent\\two\\Qorva") & FILE_ATTRIBUTE_DIRECTORY);
    RemoveTree("C:\\tests\\no-parent");
}

TEST_F(Destination, TooLittleRoomIsRefusedEvenForAnExistingDirectory) {
    Open(2000000000);  // about 1.9 terabytes
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kNoSpace));
    ASSERT_NO_FATAL_FAILURE(Choose("C:\\tests"));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kNoSpace));
}

// The form is checked first: a relative path gets message 33 however little room there is.
TEST_F(Destination, AMalformedPathIsRefusedForItsFormBeforeItsRoom) {
    Open(2000000000);
    ASSERT_NO_FATAL_FAILURE(Choose("QORVA"));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kCannotCreate));
}

// A path typed on the page is installed to as typed: the product is registered with a
// lower-case drive letter.
TEST_F(Destination, ALowerCaseDriveLetterIsKeptAsTyped) {
    ASSERT_NO_FATAL_FAILURE(Open());
    RemoveTree("C:\\tests\\dest-lower");
    SendMessageTimeoutA(GetDlgItem(page, IDC_DESTDIR), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>("c:\\tests\\dest-lower"), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    ExpectAccepted();
    ASSERT_NE(nullptr, WaitForPage("SETUP_END", 20000));
    const char* run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    EXPECT_EQ("c:\\tests\\dest-lower\\QXMAIN.EXE -startup",
              ReadText(HKEY_LOCAL_MACHINE, run, "Quillotrax"));
}

TEST_F(Destination, NegativeMinimumCanNeverBeMet) {
    ASSERT_NO_FATAL_FAILURE(Open(-1));
    ASSERT_NO_FATAL_FAILURE(Choose("C:\\tests"));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kNoSpace));
}

TEST_F(Destination, DriveThatCannotBeQueriedHasNoRoom) {
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_NO_FATAL_FAILURE(Choose("Q:\\QORVA"));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kNoSpace));
    EXPECT_TRUE(IsWindow(page));
}

// A small drive E: (a 600 KB tmpfs) gives message 34 for a megabyte and accepts less.
class SmallDrive : public Destination {
  protected:
    void SetUp() override {
        if (!MountSmallDrive(600)) GTEST_SKIP() << "a small drive needs mount (root)";
        mounted = true;
    }
    void TearDown() override {
        Destination::TearDown();
        if (mounted) UnmountSmallDrive();
    }
    bool mounted = false;
};

TEST_F(SmallDrive, OneMegabyteDoesNotFit) {
    ASSERT_NO_FATAL_FAILURE(Open(1024));
    ASSERT_NO_FATAL_FAILURE(Choose("E:\\QORVA"));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kNoSpace));
    EXPECT_FALSE(FileExists("E:\\QORVA")) << "nothing is created when the room is lacking";
    CreateDirectoryA("E:\\OLD", nullptr);
    ASSERT_NO_FATAL_FAILURE(Choose("E:\\OLD"));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusal(kNoSpace));
}

TEST_F(SmallDrive, AHundredKilobytesFit) {
    ASSERT_NO_FATAL_FAILURE(Open(100));
    ASSERT_NO_FATAL_FAILURE(Choose("e:\\QORVA"));
    ExpectAccepted();
    EXPECT_TRUE(FileExists("E:\\QORVA"));
}

// ---- the browser ----

// While it lives, SETUP.EXE starts with the platform's heap checks on: every block is
// followed by filler bytes, so a string read past the end of its block never meets a
// lucky zero there.
class CheckedHeap {
  public:
    CheckedHeap() {
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOptions, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return;
        DWORD flags = 0x10 | 0x20;  // tail checking, free checking
        ok = RegSetValueExA(key, "GlobalFlag", 0, REG_DWORD, reinterpret_cast<BYTE*>(&flags),
                            sizeof(flags)) == ERROR_SUCCESS;
    }
    ~CheckedHeap() {
        if (key == nullptr) return;
        RegCloseKey(key);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kOptions);
    }
    bool ok = false;

  private:
    static constexpr const char* kOptions =
        "Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\SETUP.EXE";
    HKEY key = nullptr;
};

// The old-style dialog reads the dummy file name as a string of at most the declared
// buffer size; the name must reach it whole, or its hidden name field holds more than the
// name and OK, which validates that field, stops closing the dialog.
TEST_F(Destination, BrowserGetsTheDummyNameWholeAndOkClosesItEveryTime) {
    CheckedHeap heap;
    ASSERT_TRUE(heap.ok);
    ASSERT_NO_FATAL_FAILURE(Open());
    for (const char* path : {"C:", "QORVA", "C:\\tests"}) {
        SCOPED_TRACE(path);
        HWND browser = OpenBrowser();
        ASSERT_NE(nullptr, browser);
        EXPECT_EQ("12345678.ABC", ItemText(browser, IDC_FILENAME));
        SendMessageTimeoutA(GetDlgItem(browser, IDC_BROWSE_PATH), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(path), SMTO_ABORTIFHUNG, 2000, nullptr);
        ClickItem(browser, IDOK);
        if (!WaitWindowGone(browser)) {
            ADD_FAILURE() << "OK did not close the browser; its name field holds "
                          << ItemText(browser, IDC_FILENAME);
            ClickItem(browser, IDCANCEL);
            ASSERT_TRUE(WaitWindowGone(browser));
        }
        EXPECT_TRUE(WaitUntil([&] { return ItemText(page, IDC_DESTDIR) == path; }))
            << "the page shows " << ItemText(page, IDC_DESTDIR);
    }
}

TEST_F(Destination, BrowserStartsWithTheDestinationSelected) {
    ASSERT_NO_FATAL_FAILURE(Open(1, "C:\\Program Files\\Qorva"));
    HWND browser = OpenBrowser();
    ASSERT_NE(nullptr, browser);
    EXPECT_EQ("C:\\Program Files\\Qorva", ItemText(browser, IDC_BROWSE_PATH));
    DWORD_PTR selection = 0;
    SendMessageTimeoutA(GetDlgItem(browser, IDC_BROWSE_PATH), EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG,
                        2000, &selection);
    EXPECT_EQ(0u, LOWORD(selection));
    EXPECT_EQ(std::string("C:\\Program Files\\Qorva").size(), HIWORD(selection));
    EXPECT_TRUE(IsItemVisible(browser, IDC_DIRLIST));
    EXPECT_TRUE(IsItemVisible(browser, IDC_DRIVECOMBO));
    EXPECT_FALSE(IsItemVisible(browser, IDC_FILENAME));
    EXPECT_FALSE(IsItemVisible(browser, IDC_FILELIST));
    EXPECT_FALSE(IsItemVisible(browser, IDC_TYPECOMBO));
    EXPECT_FALSE(IsItemVisible(browser, IDC_READONLY));
    SaveDocumentationShot(browser, "browser");
    ClickItem(browser, IDCANCEL);
    EXPECT_TRUE(WaitWindowGone(browser));
}

TEST_F(Destination, CancelledBrowserKeepsTheDestination) {
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND browser = OpenBrowser();
    ASSERT_NE(nullptr, browser);
    SendMessageTimeoutA(GetDlgItem(browser, IDC_BROWSE_PATH), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>("C:\\elsewhere"), SMTO_ABORTIFHUNG, 2000, nullptr);
    EXPECT_TRUE(TypeKeys(browser, "Escape"));
    EXPECT_TRUE(WaitWindowGone(browser));
    EXPECT_TRUE(WaitUntil([&] { return FocusedItemId(page) == IDC_BROWSE; }))
        << "the focus goes back where it was, not to " << FocusedItemId(page);
    Sleep(200);
    EXPECT_EQ("C:\\QORVA", ItemText(page, IDC_DESTDIR));
    // Next still checks the old destination.
    ExpectAccepted();
    EXPECT_TRUE(FileExists("C:\\QORVA"));
    RemoveTree("C:\\QORVA");
}

// Index of the list or combo entry with the given text, or -1. The dialog keeps its
// entries as wide text, which reaches another process unconverted: ask for it as such.
int FindEntry(HWND control, bool combo, const std::string& text) {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000,
                        &count);
    for (int i = 0; i < static_cast<int>(count); ++i) {
        wchar_t entry[256] = L"";
        SendMessageTimeoutW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, i,
                            reinterpret_cast<LPARAM>(entry), SMTO_ABORTIFHUNG, 2000, nullptr);
        char narrow[256] = "";
        WideCharToMultiByte(CP_ACP, 0, entry, -1, narrow, sizeof(narrow), nullptr, nullptr);
        if (lstrcmpiA(narrow, text.c_str()) == 0) return i;
    }
    return -1;
}

bool SameNoCase(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// Picks a drive as the drop-down list does when the user selects it.
void SelectDrive(HWND browser, char letter) {
    HWND drives = GetDlgItem(browser, IDC_DRIVECOMBO);
    std::string entry = std::string("[-") + letter + "-]";
    int index = FindEntry(drives, true, entry);
    ASSERT_GE(index, 0) << "no drive entry " << entry;
    SendMessageTimeoutA(drives, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDC_DRIVECOMBO, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(drives));
}

// Opens a directory of the list with a real double click.
void OpenDirectoryEntry(HWND browser, const std::string& name) {
    HWND list = GetDlgItem(browser, IDC_DIRLIST);
    int index = FindEntry(list, false, "[" + name + "]");
    ASSERT_GE(index, 0) << "no directory entry " << name;
    SendMessageTimeoutA(list, LB_SETTOPINDEX, index, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    DWORD_PTR top = 0, height = 0;
    SendMessageTimeoutA(list, LB_GETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, 2000, &top);
    SendMessageTimeoutA(list, LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 2000, &height);
    RECT r = WindowRect(list);
    int x = r.left + 30;
    int y = r.top + 2 + static_cast<int>((index - top) * height + height / 2);
    ASSERT_EQ(0, RunHostCommand("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                                " click --repeat 2 --delay 80 1"));
}

TEST_F(Destination, ChoosingADriveAndADirectoryFillsThePath) {
    ASSERT_NO_FATAL_FAILURE(Open());
    CreateDirectoryA("C:\\tests\\pick", nullptr);
    HWND browser = OpenBrowser();
    ASSERT_NE(nullptr, browser);

    ASSERT_NO_FATAL_FAILURE(SelectDrive(browser, 'z'));
    EXPECT_TRUE(WaitUntil([&] {
        return SameNoCase(ItemText(browser, IDC_BROWSE_PATH).substr(0, 3), "Z:\\");
    })) << ItemText(browser, IDC_BROWSE_PATH);
    ASSERT_NO_FATAL_FAILURE(SelectDrive(browser, 'c'));
    EXPECT_TRUE(WaitUntil([&] {
        return SameNoCase(ItemText(browser, IDC_BROWSE_PATH).substr(0, 3), "C:\\");
    })) << ItemText(browser, IDC_BROWSE_PATH);

    // From C:\ (or wherever drive C: stood) open tests, then pick.
    if (!SameNoCase(ItemText(browser, IDC_BROWSE_PATH), "C:\\")) {
        ASSERT_NO_FATAL_FAILURE(OpenDirectoryEntry(browser, ".."));
    }
    ASSERT_NO_FATAL_FAILURE(OpenDirectoryEntry(browser, "tests"));
    EXPECT_TRUE(WaitUntil([&] {
        return lstrcmpiA(ItemText(browser, IDC_BROWSE_PATH).c_str(), "C:\\tests") == 0;
    })) << ItemText(browser, IDC_BROWSE_PATH);
    ASSERT_NO_FATAL_FAILURE(OpenDirectoryEntry(browser, "pick"));
    EXPECT_TRUE(WaitUntil([&] {
        return lstrcmpiA(ItemText(browser, IDC_BROWSE_PATH).c_str(), "C:\\tests\\pick") == 0;
    })) << ItemText(browser, IDC_BROWSE_PATH);

    EXPECT_TRUE(MouseClickItem(browser, IDOK));
    EXPECT_TRUE(WaitWindowGone(browser));
    EXPECT_TRUE(WaitUntil([&] {
        return lstrcmpiA(ItemText(page, IDC_DESTDIR).c_str(), "C:\\tests\\pick") == 0;
    })) << ItemText(page, IDC_DESTDIR);
    ExpectAccepted();
    RemoveTree("C:\\tests\\pick");
}

}  // namespace
