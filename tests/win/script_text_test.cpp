// The string table as LoadText delivers it, the text ring, and the message boxes of
// ShowCancelNotice and ShowMessage as a user sees them (found from a second thread, read,
// and closed with their OK button).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/app.h"
#include "resource.h"
#include "script/model.h"
#include "texts/notice.h"
#include "texts/textring.h"

namespace {

// Every text the program loads, byte for byte.
const std::map<unsigned, std::string>& StringTable() {
    static const std::map<unsigned, std::string> table = {
        {1, "DiskLabel"},
        {2, "DirectoryName"},
        {3, "FileCounts"},
        {4, "Disk1"},
        {5, "Disk2"},
        {6, "Disk3"},
        {7, "Disk4"},
        {8, "Disk5"},
        {9, "Disk6"},
        {10, "RootDir"},
        {11, "SubDir1"},
        {12, "SubDir2"},
        {13, "SubDir3"},
        {14, "SubDir4"},
        {15, "SubDir5"},
        {16, "SubDir6"},
        {17, "WinDir"},
        {18, "WinSystemDir"},
        {19, "WinInfDir"},
        {20, "SETUP.INF Reading error !"},
        {22, "Main"},
        {23, "DefaultPath"},
        {25, "MinimumSpace"},
        {28, " installation is not completed !"},
        {29, "Setup Program"},
        {30, "ProductName"},
        {33,
         "Can not create directory !\nThe specified directory is either invalid or disk "
         "drive is write protected."},
        {34, "There is no enough free space in the specified disk drive !"},
        {36, "Copying "},
        {41, "Startup"},
        {43, "Title"},
        {44, "This  Mouse Setup Program is for Windows 95/98 only !"},
        {45, "Mfg"},
        {46, "MouseDriver"},
        {47, "MouseInf"},
        {48, "DriverDate"},
        {49, "PS2InfSection"},
        {50, "SerialInfSection"},
        {51, "PS2Name"},
        {52, "SeialName"},
        {53,
         "The Mouse Setup Program has installed driver successfully. You have to restart "
         "your Windows now !"},
        {55,
         " cannot be written (the disk is write-protected or full): the mouse driver was "
         "not switched."},
        {56, "%s cannot be copied to %s."},
        {57, "The file cannot be found. Insert the disk or CD that holds it, then choose Retry."},
        {58,
         "The destination cannot be written: the disk is full or write-protected. Make "
         "room, then choose Retry."},
        {59, "The packed data of the file is damaged."},
        {71,
         "The file's path in the package is longer than 79 characters. Run setup from a "
         "directory with a shorter path."},
        {72,
         "The destination's path is longer than 79 characters. Install into a directory "
         "with a shorter path."},
        {73, "Updating Registry..."},
        {74, "Warning"},
        {75, "Setup"},
        {76,
         "A file name of this entry in SETUP.INF is over 14 characters, or its directory "
         "over 39. The package must be corrected."},
    };
    return table;
}

class TextResources : public ::testing::Test {
  protected:
    void SetUp() override { Shared::AppInstance = GetModuleHandleA(nullptr); }
};

// The slot LoadText will fill next.
const char* NextSlot() { return RingSlot((RingPosition() + 1) % kRingSlots); }

}  // namespace

TEST_F(TextResources, EveryTextByteForByteAndNoOther) {
    for (const auto& item : StringTable()) {
        const char* expectedSlot = NextSlot();
        const char* text = LoadText(item.first);
        ASSERT_NE(nullptr, text) << "id " << item.first;
        EXPECT_EQ(expectedSlot, text) << "id " << item.first;
        EXPECT_EQ(item.second, std::string(text)) << "id " << item.first;
    }
    // The identifiers of the code name the same texts.
    EXPECT_STREQ("Disk1", LoadText(IDS_DISK1));
    EXPECT_STREQ("WinInfDir", LoadText(IDS_ROOTDIR + 9));
    EXPECT_STREQ("Copying ", LoadText(IDS_COPYING));
    EXPECT_STREQ("SeialName", LoadText(IDS_SEIALNAME));

    // Beyond them only the list of the unattended run's switches, longer than a ring slot.
    char list[1024];
    ASSERT_LT(0, LoadStringA(Shared::AppInstance, IDS_SETUP_SWITCHES, list, sizeof(list)));
    for (const char* name : {"/S", "/D=", "/M=PS2", "/RESTART", "/LOG=", "/?", "7 journal"})
        EXPECT_NE(nullptr, strstr(list, name)) << name;
    std::vector<unsigned> extra;
    for (unsigned id = 0; id <= 0xFFFF; ++id)
        if (id != IDS_SETUP_SWITCHES && StringTable().count(id) == 0 && LoadText(id) != nullptr)
            extra.push_back(id);
    EXPECT_TRUE(extra.empty()) << "first unexpected id: " << extra.front();
}

TEST_F(TextResources, RingKeepsATextThroughThreeMoreLoads) {
    const char* section = LoadText(IDS_MAIN);
    const char* key = LoadText(IDS_DEFAULTPATH);
    EXPECT_STREQ("Main", section);  // two texts in use together
    EXPECT_STREQ("DefaultPath", key);
    LoadText(IDS_STARTUP);
    LoadText(IDS_TITLE);
    EXPECT_STREQ("Main", section);  // three loads later it is intact
    const char* fourth = LoadText(IDS_MFG);
    EXPECT_EQ(section, fourth);  // the fourth reuses its slot
    EXPECT_STREQ("Mfg", section);

    // An id without text gives none, and uses up its slot all the same; only the low
    // 16 bits of an id count.
    const char* slot = NextSlot();
    EXPECT_EQ(nullptr, LoadText(21));
    EXPECT_EQ(slot, RingSlot(RingPosition()));
    EXPECT_STREQ("Title", LoadText(0x10000u + IDS_TITLE));
}

namespace {

// What a message box showed.
struct BoxSeen {
    bool found = false;
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    HICON icon = nullptr;
    std::vector<std::string> buttons;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    BoxSeen* seen = reinterpret_cast<BoxSeen*>(param);
    char cls[64] = "";
    GetClassNameA(child, cls, sizeof(cls));
    char text[512] = "";
    GetWindowTextA(child, text, sizeof(text));
    if (lstrcmpiA(cls, "Button") == 0) {
        seen->buttons.push_back(text);
    } else if (lstrcmpiA(cls, "Static") == 0) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            seen->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        else if (text[0] != 0)
            seen->text = text;
    }
    return TRUE;
}

struct FindBox {
    DWORD process;
    HWND box;
};

BOOL CALLBACK FindDialog(HWND w, LPARAM param) {
    FindBox* find = reinterpret_cast<FindBox*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[16] = "";
    GetClassNameA(w, cls, sizeof(cls));
    if (pid == find->process && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(w)) {
        find->box = w;
        return FALSE;
    }
    return TRUE;
}

// Runs show() on this thread; a second thread waits for the box it opens, reads it and
// presses OK.
BoxSeen WatchBox(const std::function<void()>& show) {
    BoxSeen seen;
    std::atomic<bool> shown{false};
    std::thread watcher([&seen, &shown] {
        for (int i = 0; i < 500 && !shown; ++i) {
            FindBox find = {GetCurrentProcessId(), nullptr};
            EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&find));
            if (find.box != nullptr) {
                seen.found = true;
                char caption[256] = "";
                GetWindowTextA(find.box, caption, sizeof(caption));
                seen.caption = caption;
                seen.owner = GetWindow(find.box, GW_OWNER);
                EnumChildWindows(find.box, CollectChild, reinterpret_cast<LPARAM>(&seen));
                PostMessageA(find.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(find.box, IDOK)));
                return;
            }
            Sleep(20);
        }
    });
    show();
    shown = true;
    watcher.join();
    return seen;
}

}  // namespace

class Notices : public TextResources {
  protected:
    void SetUp() override {
        TextResources::SetUp();
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 Shared::AppInstance, nullptr);
        ASSERT_NE(nullptr, owner_);
    }
    void TearDown() override { DestroyWindow(owner_); }
    HWND owner_ = nullptr;
};

TEST_F(Notices, CancelNoticeNamesTheProductInTheSetupCaption) {
    lstrcpyA(Shared::ProductName, "Qorva Mouse");
    lstrcpyA(Shared::SetupCaption, "Qorva Mouse Setup Program");
    BoxSeen seen =
        WatchBox([this] { ShowCancelNotice(owner_, Shared::ProductName, Shared::SetupCaption); });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ("Qorva Mouse installation is not completed !", seen.text);
    EXPECT_EQ("Qorva Mouse Setup Program", seen.caption);
    EXPECT_EQ(owner_, seen.owner);
    EXPECT_EQ(LoadIconA(nullptr, IDI_EXCLAMATION), seen.icon);
    EXPECT_EQ(std::vector<std::string>{"OK"}, seen.buttons);

    // Without a product name the text begins with the blank of the string table.
    Shared::ProductName[0] = 0;
    lstrcpyA(Shared::SetupCaption, " Setup Program");
    seen =
        WatchBox([this] { ShowCancelNotice(owner_, Shared::ProductName, Shared::SetupCaption); });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(" installation is not completed !", seen.text);

    // The longest product name still leaves the whole notice.
    std::string longest(kProductWidth - 1, 'Q');
    lstrcpyA(Shared::ProductName, longest.c_str());
    seen =
        WatchBox([this] { ShowCancelNotice(owner_, Shared::ProductName, Shared::SetupCaption); });
    EXPECT_EQ(longest + " installation is not completed !", seen.text);
}

TEST_F(Notices, MessagesFromTheStringTable) {
    lstrcpyA(Shared::SetupCaption, "Qorva Setup Program");
    BoxSeen seen = WatchBox([] {
        ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_READ_ERROR, MB_ICONEXCLAMATION);
    });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ("SETUP.INF Reading error !", seen.text);
    EXPECT_EQ("Qorva Setup Program", seen.caption);
    EXPECT_EQ(nullptr, seen.owner);
    EXPECT_EQ(LoadIconA(nullptr, IDI_EXCLAMATION), seen.icon);
    EXPECT_EQ(std::vector<std::string>{"OK"}, seen.buttons);

    seen = WatchBox([] {
        ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_DRIVER_SWITCHED,
                    MB_ICONINFORMATION);
    });
    EXPECT_EQ(StringTable().at(IDS_DRIVER_SWITCHED), seen.text);
    EXPECT_EQ(LoadIconA(nullptr, IDI_INFORMATION), seen.icon);

    seen = WatchBox([this] {
        ShowMessage(owner_, Shared::SetupCaption, nullptr, IDS_CANNOT_CREATE, MB_ICONEXCLAMATION);
    });
    EXPECT_EQ(owner_, seen.owner);
    EXPECT_EQ(StringTable().at(IDS_CANNOT_CREATE), seen.text);

    // An owner that is gone (a page closed by Cancel before the registration): the box is
    // still shown, owned by none.
    DestroyWindow(owner_);
    seen = WatchBox([this] {
        ShowMessage(owner_, Shared::SetupCaption, "C:\\QORVA\\SETUP.INF", IDS_JOURNAL_LOST,
                    MB_ICONEXCLAMATION);
    });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(nullptr, seen.owner);
}
