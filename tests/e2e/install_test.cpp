// The copying page end to end: SETUP.EXE installs a package on the virtual Windows 98 machine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "resource.h"
#include "support/package.h"
#include "support/ui.h"
#include "support/vm_host.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

namespace {

// The pixels of a screen area, through a screenshot converted to PPM on the Linux side.
struct Shot {
    int width = 0, height = 0;
    int sampleBytes = 1;  // 2 for a PPM with 16-bit samples (most significant byte first)
    std::string rgb;
    COLORREF At(int x, int y) const {
        size_t i = (static_cast<size_t>(y) * width + x) * 3 * sampleBytes;
        size_t step = static_cast<size_t>(sampleBytes);
        if (x < 0 || y < 0 || x >= width || y >= height || i + 2 * step >= rgb.size())
            return CLR_INVALID;
        return RGB(static_cast<unsigned char>(rgb[i]), static_cast<unsigned char>(rgb[i + step]),
                   static_cast<unsigned char>(rgb[i + 2 * step]));
    }
};

Shot ScreenArea(const RECT& area, const std::string& name) {
    Shot s;
    std::string path = HostScratchDir() + "/" + name + ".ppm";
    if (!EnvText("SETUP_SHOTS_DIR").empty())
        path = EnvText("SETUP_SHOTS_DIR") + "/" + name + ".ppm";
    if (!SaveScreenshot(path, &area)) return s;
    std::string data = ReadFileBytes(LinuxPathToWindows(path));
    // "P6\n<w> <h>\n255\n" then the bytes.
    size_t pos = 0;
    auto field = [&]() {
        while (pos < data.size() && isspace(static_cast<unsigned char>(data[pos]))) ++pos;
        size_t start = pos;
        while (pos < data.size() && !isspace(static_cast<unsigned char>(data[pos]))) ++pos;
        return data.substr(start, pos - start);
    };
    if (field() != "P6") return s;
    s.width = std::atoi(field().c_str());
    s.height = std::atoi(field().c_str());
    s.sampleBytes = std::atoi(field().c_str()) > 255 ? 2 : 1;
    s.rgb = data.substr(pos + 1);
    return s;
}

// Seeds a PS/2 mouse device node as Windows 98's configuration manager shows it.
void SeedPs2Node() {
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_DYN_DATA, "Config Manager\\Enum\\C29A3B40", 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &k, nullptr));
    const char hw[] = "BIOS\\*PNP0F13\\0000";
    RegSetValueExA(k, "HardWareKey", 0, REG_SZ, reinterpret_cast<const BYTE*>(hw), sizeof(hw) - 1);
    DWORD zero = 0;
    RegSetValueExA(k, "Problem", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&zero), 4);
    RegCloseKey(k);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Enum\\BIOS\\*PNP0F13\\0000", 0,
                                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr));
    const char driver[] = "Mouse\\0000", desc[] = "Standard PS/2 Port Mouse",
               mfg[] = "(Standard mouse types)";
    RegSetValueExA(k, "Driver", 0, REG_SZ, reinterpret_cast<const BYTE*>(driver),
                   sizeof(driver) - 1);
    RegSetValueExA(k, "DeviceDesc", 0, REG_SZ, reinterpret_cast<const BYTE*>(desc),
                   sizeof(desc) - 1);
    RegSetValueExA(k, "Mfg", 0, REG_SZ, reinterpret_cast<const BYTE*>(mfg), sizeof(mfg) - 1);
    RegCloseKey(k);
}

// Walks the first three pages, with the PS/2 mouse when ps2 is set (otherwise the
// script's serial default); returns the install page.
HWND WalkToInstallPage(bool ps2) {
    HWND page = WalkTo("SETUP_SELDIR", ps2 ? IDC_PS2 : 0);
    if (page == nullptr) return nullptr;
    ClickItem(page, IDC_NEXT);
    // The page is on the screen while it is being created, before its controls exist.
    HWND install = WaitForTopWindow("SETUP_INSTALL", nullptr, 0, 20000);
    if (install == nullptr ||
        !WaitUntil([&] { return GetDlgItem(install, IDC_PERCENT) != nullptr; }, 10000))
        return nullptr;
    return install;
}

::testing::AssertionResult SameFile(const std::string& installed, const std::string& original) {
    std::string a = ReadFileBytes(installed), b = ReadFileBytes(original);
    if (!b.empty() && a == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << installed << ": " << a.size() << " bytes, " << original
                                         << ": " << b.size() << " bytes";
}

TEST(Install, SamplePackageWithAPs2MouseFromFirstPageToFinish) {
    const std::string prefix = EnvText("VM_PREFIX"), root = EnvText("SETUP_ROOT");
    ASSERT_FALSE(prefix.empty()) << "run under tools/vm/vmrun";
    ASSERT_EQ(0, RunHostCommand(ShellQuote(root + "/demo/make-package") + " " +
                                    ShellQuote(prefix + "/drive_c/pkg") + " " +
                                    ShellQuote(EnvText("SETUP_EXE")) + " " +
                                    ShellQuote(EnvText("SETUP_TOOLS")),
                                60000));
    SeedPs2Node();
    const std::string win = "C:\\windows", vmm32 = SystemPath() + "\\VMM32";
    CreateDirectoryA(vmm32.c_str(), nullptr);
    WriteFileBytes(vmm32 + "\\VMOUSE.VXD", "MZ stand-in VxD");
    const std::string iniBefore = ReadFileBytes(win + "\\system.ini");
    ASSERT_NE(std::string::npos, iniBefore.find("mouse=*vmd\r\n"));

    // The companion program runs and must be asked to close before copying.
    RunningProgram companion =
        StartProgram(LinuxPathToWindows(EnvText("SETUP_TOOLS") + "/qxmain.exe"));
    HWND companionWindow = WaitForTopWindow(nullptr, "Quillotrax", 0, 10000);
    ASSERT_NE(nullptr, companionWindow);

    RunningProgram setup = StartProgram("C:\\pkg\\SETUP.EXE");
    ASSERT_NE(nullptr, setup.process);
    HWND page = WalkToInstallPage(true);
    ASSERT_NE(nullptr, page);
    EXPECT_FALSE(IsWindow(companionWindow)) << "the companion window was not closed before copying";

    // The one-second wait before the registration: the disk is done, the gauge full.
    ASSERT_TRUE(
        WaitUntil([&] { return ItemText(page, IDC_STATUS) == "Updating Registry..."; }, 20000));
    EXPECT_EQ("100%", ItemText(page, IDC_PERCENT));
    RECT g;
    GetWindowRect(GetDlgItem(page, IDC_GAUGE), &g);
    RECT area = {g.left - 2, g.top - 2, g.right + 2, g.bottom + 2};
    Shot shot = ScreenArea(area, "gauge");
    SaveDocumentationShot(page, "page-install");
    ASSERT_GT(shot.width, 0);
    // Offsets into the shot: the control's rectangle starts at 2, 2.
    int w = g.right - g.left, h = g.bottom - g.top;
    const COLORREF blue = RGB(0, 0, 255), white = RGB(255, 255, 255), grey = RGB(128, 128, 128);
    EXPECT_EQ(grey, shot.At(1, 2 + h / 2));          // grey left edge outside the control
    EXPECT_EQ(grey, shot.At(2 + w / 2, 1));          // grey top edge
    EXPECT_EQ(white, shot.At(2, 2 + h / 2));         // white inside it
    EXPECT_EQ(blue, shot.At(3, 3));                  // the fill starts inside the frame
    EXPECT_EQ(blue, shot.At(2 + w - 3, 2 + h - 4));  // and reaches the grey inner right edge
    EXPECT_EQ(grey, shot.At(2 + w - 2, 2 + h / 2));
    EXPECT_EQ(white, shot.At(2 + w - 1, 2 + h / 2));  // white outside at right

    HWND end = WaitForPage("SETUP_END", 20000);
    ASSERT_NE(nullptr, end);
    ChooseItem(end, IDC_RESTART_LATER);
    ClickItem(end, IDC_NEXT);
    EXPECT_NE(STILL_ACTIVE, WaitProgramEnd(setup, 20000));
    StopProgram(setup);
    StopProgram(companion);

    // Files: packed ones expanded, plain ones copied, each to its directory.
    const std::string dest = "C:\\QORVA", demo = LinuxPathToWindows(root + "/demo/package");
    EXPECT_TRUE(SameFile(dest + "\\QXMAIN.EXE",
                         LinuxPathToWindows(EnvText("SETUP_TOOLS") + "/qxmain.exe")));
    EXPECT_TRUE(SameFile(dest + "\\QXPAGE.DLL", demo + "\\QXPAGE.DLL"));
    EXPECT_TRUE(SameFile(dest + "\\UNINSTAL.EXE", "C:\\pkg\\UNINSTAL.EXE"));
    EXPECT_TRUE(SameFile(dest + "\\README.TXT", "C:\\pkg\\README.TXT"));
    EXPECT_TRUE(SameFile(dest + "\\HELP\\QXHELP.TXT", demo + "\\HELP\\QXHELP.TXT"));
    EXPECT_TRUE(
        SameFile(dest + "\\HELP\\IMAGES\\POINTER.BMP", demo + "\\HELP\\IMAGES\\POINTER.BMP"));
    EXPECT_TRUE(SameFile(dest + "\\DRIVER\\NOTES.TXT", "C:\\pkg\\DRIVER\\NOTES.TXT"));
    EXPECT_TRUE(FileExists(dest + "\\SETUP.INF"));
    EXPECT_TRUE(SameFile(win + "\\SYSTEM\\QXMOUSE.DRV", demo + "\\SYSTEM\\QXMOUSE.DRV"));
    EXPECT_TRUE(SameFile(win + "\\SYSTEM\\QXMOUSE.VXD", demo + "\\SYSTEM\\QXMOUSE.VXD"));
    EXPECT_TRUE(SameFile(win + "\\INF\\QXMOUSE.INF", demo + "\\INF\\QXMOUSE.INF"));
    EXPECT_TRUE(SameFile(win + "\\QXMOUSE.INI", "C:\\pkg\\WIN\\QXMOUSE.INI"));

    // system.ini switched to the virtual mouse driver, the old one kept; the VxD set aside.
    std::string iniAfter = iniBefore;
    iniAfter.replace(iniAfter.find("mouse=*vmd\r\n"), 12, "mouse=*vmouse\r\n");
    EXPECT_EQ(iniAfter, ReadFileBytes(win + "\\system.ini"));
    EXPECT_EQ(iniBefore, ReadFileBytes(win + "\\system.bak"));
    EXPECT_FALSE(FileExists(win + "\\system.new"));
    EXPECT_FALSE(FileExists(vmm32 + "\\VMOUSE.VXD"));
    EXPECT_EQ("MZ stand-in VxD", ReadFileBytes(vmm32 + "\\VMOUSE.BAK"));
}

// Keys while copying: Alt+F4 is ignored; the space bar presses the focused Cancel, and the
// run is put back.
TEST(Install, CancelDuringCopyingStopsAndPutsTheRunBack) {
    const int kFiles = 2000;
    std::string inf =
        "[Main]\r\nDefaultPath=C:\\BIGINST\r\nProductName=Qorva\r\nMinimumSpace=0\r\n"
        "DefaultSerialMouse=1\r\n[DiskLabel]\r\nDisk1=Files\r\n[DirectoryName]\r\nRootDir=.\r\n"
        "SubDir1=DATA\r\n[FileCounts]\r\nDisk1=" +
        std::to_string(kFiles) + "\r\n[Disk1]\r\n";
    for (int i = 1; i <= kFiles; ++i) {
        std::string n = "F" + std::to_string(1000 + i) + ".DAT";
        inf += std::to_string(i) + "=" + n + ", " + n + ", File " + std::to_string(i) +
               ", SubDir1\r\n";
    }
    std::string exe = MakeTestPackage("bigpkg", inf);
    ASSERT_FALSE(exe.empty());
    std::string pkg = exe.substr(0, exe.rfind('\\'));
    CreateDirectoryA((pkg + "\\DATA").c_str(), nullptr);
    std::string body(4096, 'x');
    for (int i = 1; i <= kFiles; ++i) {
        body[0] = static_cast<char>('A' + i % 26);
        WriteFileBytes(pkg + "\\DATA\\F" + std::to_string(1000 + i) + ".DAT", body, false);
    }
    const std::string iniBefore = ReadFileBytes("C:\\windows\\system.ini");
    const std::string bakBefore = ReadFileBytes("C:\\windows\\system.bak");

    RunningProgram setup = StartProgram(exe);
    HWND page = WalkToInstallPage(false);
    ASSERT_NE(nullptr, page);
    auto percent = [&] { return std::atoi(ItemText(page, IDC_PERCENT).c_str()); };
    // Once a few files are in: Alt+F4 is no Cancel, the copy goes on; the space bar
    // presses Cancel, which has the focus from the start.
    ASSERT_TRUE(WaitUntil([&] { return percent() > 0; }, 30000));
    EXPECT_EQ(IDC_NEXT, FocusedItemId(page));
    EXPECT_TRUE(TypeKeys(page, "alt+F4"));
    int afterAltF4 = percent();
    EXPECT_TRUE(WaitUntil([&] { return percent() >= afterAltF4 + 2; }, 20000))
        << "copying stopped at " << afterAltF4 << "%: " << ItemText(page, IDC_STATUS);
    ASSERT_TRUE(TypeKeys(page, "space"));

    HWND notice = WaitForMessageBox(page, 0, 30000);
    ASSERT_NE(nullptr, notice) << "status " << ItemText(page, IDC_STATUS) << ", percent "
                               << ItemText(page, IDC_PERCENT) << ", finish page "
                               << (FindTopWindow("SETUP_END", nullptr) != nullptr) << ", any box "
                               << (WaitForMessageBox(nullptr, 0, 10) != nullptr);
    EXPECT_EQ("Qorva installation is not completed !", MessageBoxText(notice));
    EXPECT_EQ(0u, ItemText(page, IDC_STATUS).find("Copying F"));  // no registration
    ClickItem(notice, IDOK);
    EXPECT_NE(STILL_ACTIVE, WaitProgramEnd(setup, 20000));
    StopProgram(setup);

    // Nothing of the run stays: not a file, not the directory it made.
    EXPECT_FALSE(FileExists("C:\\BIGINST"));
    // No system.ini change after a cancel.
    EXPECT_EQ(iniBefore, ReadFileBytes("C:\\windows\\system.ini"));
    EXPECT_EQ(bakBefore, ReadFileBytes("C:\\windows\\system.bak"));
}

}  // namespace
