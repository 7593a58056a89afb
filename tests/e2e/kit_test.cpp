// A kit for a second product, end to end: the Zentrix example (demo/zentrix: no property
// page, a companion window of another title) installed and uninstalled with the programs of
// its own kit ($SETUP_KIT, built from demo/zentrix/identity.ini): its names throughout, and
// none of the sample product's on the machine at any time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource.h"
#include "support/machine.h"
#include "support/package.h"
#include "support/pixels.h"
#include "support/registry_util.h"
#include "support/ui.h"
#include "support/uninstall_run.h"
#include "support/vm_host.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

namespace {

const std::string kCurrent = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kRun = kCurrent + "\\Run";
const std::string kDir = "C:\\ZENTRIX";

// What the sample product's identity would leave: every key, value, window and directory
// that names it, one line each.
std::string SampleNamesOnMachine() {
    std::string found;
    if (KeyExists(HKEY_LOCAL_MACHINE, kCurrent + "\\Uninstall\\Quillotrax"))
        found += "Uninstall\\Quillotrax\n";
    if (ReadText(HKEY_LOCAL_MACHINE, kRun, "Quillotrax") != "<absent>") found += "Run Quillotrax\n";
    if (KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}"))
        found += "CLSID\n";
    if (KeyExists(HKEY_LOCAL_MACHINE, kCurrent + "\\Controls Folder\\Mouse"))
        found += "Controls Folder\\Mouse\n";
    if (KeyExists(HKEY_LOCAL_MACHINE, "Enum\\Root\\QorvaMouse"))
        found += "Enum\\Root\\QorvaMouse\n";
    if (FindTopWindow(nullptr, "Quillotrax") != nullptr) found += "window Quillotrax\n";
    if (FileExists("C:\\QORVA")) found += "C:\\QORVA\n";
    return found;
}

TEST(Kit, TheSecondProductInstallsAndUninstallsUnderItsOwnNames) {
    ResetMachine();
    SeedOtherDevices();  // no mouse node: a serial mouse gets the own serial device key
    SetString(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Mouse", "", "Mouse");
    const std::string kit = EnvText("SETUP_KIT");
    std::string command = ShellQuote(EnvText("SETUP_ROOT") + "/demo/zentrix/make-package") + " " +
                          ShellQuote(EnvText("VM_PREFIX") + "/drive_c/ZXPKG") + " " +
                          ShellQuote(kit) + " >/dev/null 2>&1";
    ASSERT_EQ(0, RunHostCommand(command, 60000)) << command;

    // The pages show the kit's own artwork, not the sample product's banners and picture.
    HMODULE kitArt = LoadLibraryExA("C:\\ZXPKG\\SETUP.EXE", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMODULE sampleArt =
        LoadLibraryExA(SetupExeUnderTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (int id : {IDB_BANNER_TOP, IDB_BANNER_LOW, IDB_SIDE}) {
        PixelImage kit = BitmapResourcePixels(id, kitArt),
                   sample = BitmapResourcePixels(id, sampleArt);
        EXPECT_TRUE(!kit.pixels.empty() && kit.pixels != sample.pixels) << "bitmap " << id;
    }
    FreeLibrary(kitArt);
    FreeLibrary(sampleArt);

    // An earlier companion runs from the installation directory: its window (the kit's
    // title) is asked to close, and its file replaced.
    CreateDirectoryA(kDir.c_str(), nullptr);
    const std::string companionFile = kDir + "\\ZXMAIN.EXE";
    std::string packaged = ReadFileBytes("C:\\ZXPKG\\ZXMAIN.EXE");
    ASSERT_FALSE(packaged.empty());
    WriteFileBytes(companionFile, packaged + "an older build", false);
    RunningProgram companion = StartProgram(companionFile);
    ASSERT_NE(nullptr, WaitForTopWindow(nullptr, "Zentrix Pointer", companion.id, 30000));

    ASSERT_EQ("", InstallWith("C:\\ZXPKG\\SETUP.EXE", IDC_SERIAL));
    EXPECT_EQ(0u, WaitProgramEnd(companion, 30000)) << "the companion was not asked to close";
    StopProgram(companion);
    EXPECT_TRUE(ReadFileBytes(companionFile) == packaged)
        << "the companion's file was not replaced";
    EXPECT_EQ(kDir + "\\ZXMAIN.EXE -startup", ReadText(HKEY_LOCAL_MACHINE, kRun, "ZentrixPointer"));
    EXPECT_EQ("Zentrix Mouse Driver",
              ReadText(HKEY_LOCAL_MACHINE, kCurrent + "\\Uninstall\\Zentrix", "DisplayName"));
    EXPECT_EQ(kDir + "\\UNINSTAL.EXE",
              ReadText(HKEY_LOCAL_MACHINE, kCurrent + "\\Uninstall\\Zentrix", "UninstallString"));
    EXPECT_EQ("Zentrix Serial Mouse",
              ReadText(HKEY_LOCAL_MACHINE, "Enum\\Root\\ZentrixMouse\\0000", "DeviceDesc"));
    EXPECT_EQ("", SampleNamesOnMachine());

    std::vector<std::string> texts;
    EXPECT_EQ(0u, RunUninstaller(kDir + "\\UNINSTAL.EXE", IDYES, &texts));
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(0u, texts[0].find("Zentrix Mouse Uninstall: ")) << texts[0];
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kCurrent + "\\Uninstall\\Zentrix"));
    EXPECT_EQ("<absent>", ReadText(HKEY_LOCAL_MACHINE, kRun, "ZentrixPointer"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Enum\\Root\\ZentrixMouse"));
    EXPECT_FALSE(FileExists(kDir + "\\README.TXT"));
    EXPECT_TRUE(FileExists(companionFile));  // it stood there before setup: it stays
    EXPECT_EQ("", SampleNamesOnMachine());
}

}  // namespace
