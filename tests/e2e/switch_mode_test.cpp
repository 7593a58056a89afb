// The driver-switch mode of the real SETUP.EXE ("-u"): the mouse page, then the driver is
// registered again for the chosen type and the replaced values are journalled in the
// SETUP.INF beside the program.
//
// SETUP.EXE creates its keys with the volatile option, which Windows 95 and 98 ignore but
// Wine honours: they live as long as the machine's wineserver. The test reads them while the
// machine still runs, from the same server, after the program has ended.
#include <gtest/gtest.h>

#include <string>

#include "resource.h"
#include "support/machine.h"
#include "support/package.h"
#include "support/registry_util.h"
#include "support/vm_host.h"
#include "support/ui.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

namespace {

const std::string kPS2Key = "Enum\\BIOS\\*PNP0F13\\0000";
const std::string kOwnKey = "Enum\\Root\\QorvaMouse\\0000";
const std::string kMouse = "System\\CurrentControlSet\\Services\\Class\\Mouse";

const char* const kStartup =
    "\r\n[Startup]\r\n"
    "Title=Qorva Mouse Driver\r\n"
    "Mfg=Qorva\r\n"
    "MouseDriver=QXMOUSE.DRV\r\n"
    "MouseInf=QXMOUSE.INF\r\n"
    "DriverDate=01-15-1999\r\n"
    "PS2InfSection=QX_PS2\r\n"
    "SerialInfSection=QX_SER\r\n"
    "PS2Name=Qorva PS/2 Mouse\r\n"
    "SeialName=Qorva Serial Mouse\r\n";

class SwitchMode : public ::testing::Test {
  protected:
    // The machine as Windows 98 leaves it with a standard PS/2 mouse.
    void SetUp() override { SeedPs2Mouse(); }
    void TearDown() override {
        StopProgram(setup);
        DeleteTree(HKEY_DYN_DATA, "Config Manager");
        DeleteTree(HKEY_LOCAL_MACHINE, "Enum");
        DeleteTree(HKEY_LOCAL_MACHINE, kMouse);
    }

    // Runs SETUP.EXE -u, picks the radio button and confirms the closing message, whose text
    // goes to boxText. With readOnly the package lies on a read-only medium.
    void RunSwitch(int radio, bool readOnly = false, std::string* boxText = nullptr) {
        std::string exe =
            MakeTestPackage("switch", SmallSetupInf("Qorva Mouse", "C:\\QORVA", 1, 1) + kStartup);
        ASSERT_FALSE(exe.empty());
        dir = exe.substr(0, exe.rfind('\\'));
        inf = dir + "\\SETUP.INF";
        if (readOnly) ASSERT_TRUE(MountReadOnly(PackageDir())) << "a bind mount needs root";
        setup = StartProgram(exe, "-u");
        ASSERT_NE(nullptr, setup.process);
        HWND box = SwitchModeChoose(setup, radio);
        if (box != nullptr && boxText != nullptr) *boxText = MessageBoxText(box);
        if (box != nullptr) EXPECT_TRUE(TypeKeys(box, "Return"));
        EXPECT_EQ(0u, WaitProgramEnd(setup));
        if (readOnly) Unmount(PackageDir());
        ASSERT_NE(nullptr, box);
    }
    // The package's directory on the Linux side.
    static std::string PackageDir() { return EnvText("VM_PREFIX") + "/drive_c/tests/switch"; }
    std::string Journal(const char* section, const char* key) {
        return ProfileValue(inf, section, key);
    }

    RunningProgram setup;
    std::string dir;
    std::string inf;
};

TEST_F(SwitchMode, PS2ChoiceUpdatesTheDeviceAndItsClassKeyAndJournalsBesideTheProgram) {
    RunSwitch(IDC_PS2);

    EXPECT_EQ(Sz("Qorva PS/2 Mouse"), ReadValue(HKEY_LOCAL_MACHINE, kPS2Key, "DeviceDesc").data);
    EXPECT_EQ(Sz("Qorva"), ReadValue(HKEY_LOCAL_MACHINE, kPS2Key, "Mfg").data);
    EXPECT_EQ(std::string(4, '\0'), ReadValue(HKEY_LOCAL_MACHINE, kPS2Key, "ConfigFlags").data);
    EXPECT_EQ("Mouse\\0000", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "Driver"));
    const std::string cls = kMouse + "\\0000";
    EXPECT_EQ(Sz("QXMOUSE.DRV"), ReadValue(HKEY_LOCAL_MACHINE, cls, "MouseDriver").data);
    EXPECT_EQ("QXMOUSE.INF", ReadText(HKEY_LOCAL_MACHINE, cls, "InfPath"));
    EXPECT_EQ("Qorva PS/2 Mouse", ReadText(HKEY_LOCAL_MACHINE, cls, "DriverDesc"));
    EXPECT_EQ("01-15-1999", ReadText(HKEY_LOCAL_MACHINE, cls, "DriverDate"));
    EXPECT_EQ("QX_PS2", ReadText(HKEY_LOCAL_MACHINE, cls, "InfSection"));
    EXPECT_EQ(Sz("PS2"), ReadValue(HKEY_LOCAL_MACHINE, cls, "MouseType").data);
    EXPECT_EQ("*vmouse", ReadText(HKEY_LOCAL_MACHINE, cls, "DevLoader"));
    EXPECT_EQ(1u, SubkeyNames(HKEY_LOCAL_MACHINE, kMouse).size());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOwnKey));
    // -u writes no product entries.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE,
                           "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillotrax"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}"));

    EXPECT_EQ(kPS2Key, Journal("PS2", "SubKey1"));
    EXPECT_EQ("Standard PS/2 Port Mouse", Journal("PS2", "DeviceDesc"));
    EXPECT_EQ("(Standard mouse types)", Journal("PS2", "Mfg"));
    EXPECT_EQ(cls, Journal("PS2", "SubKey2"));
    EXPECT_EQ("mouse.drv", Journal("PS2", "MouseDriver"));
    EXPECT_EQ("MOUSE.INF", Journal("PS2", "InfPath"));
    EXPECT_EQ("Standard PS/2 Port Mouse", Journal("PS2", "DriverDesc"));
    EXPECT_EQ(" 4-23-1999", Journal("PS2", "DriverDate"));  // kept inside quotes, blank and all
    EXPECT_EQ("PS2_Inst", Journal("PS2", "InfSection"));
    EXPECT_EQ("<absent>", Journal("Serial", "SubKey1"));
    // The script itself is still there around the journal.
    EXPECT_EQ("Qorva Mouse", Journal("Main", "ProductName"));
    EXPECT_EQ("QX_SER", Journal("Startup", "SerialInfSection"));
}

TEST_F(SwitchMode, SerialChoiceWithOnlyAPS2NodeMakesOwnSerialDevice) {
    RunSwitch(IDC_SERIAL);

    EXPECT_EQ("Standard PS/2 Port Mouse", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "DeviceDesc"));
    EXPECT_EQ("PS2_Inst", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "InfSection"));
    EXPECT_EQ("Mouse", ReadText(HKEY_LOCAL_MACHINE, kOwnKey, "Class"));
    EXPECT_EQ("Qorva Serial Mouse", ReadText(HKEY_LOCAL_MACHINE, kOwnKey, "DeviceDesc"));
    EXPECT_EQ("*:DETECTSERIALMOUSE", ReadText(HKEY_LOCAL_MACHINE, kOwnKey, "DetFunc"));
    EXPECT_EQ("Mouse\\0001", ReadText(HKEY_LOCAL_MACHINE, kOwnKey, "Driver"));
    const std::string cls = kMouse + "\\0001";
    EXPECT_EQ("*vmouse", ReadText(HKEY_LOCAL_MACHINE, cls, "DevLoader"));
    EXPECT_EQ("Serial", ReadText(HKEY_LOCAL_MACHINE, cls, "MouseType"));
    EXPECT_EQ("Qorva Serial Mouse", ReadText(HKEY_LOCAL_MACHINE, cls, "DriverDesc"));
    EXPECT_EQ("QX_SER", ReadText(HKEY_LOCAL_MACHINE, cls, "InfSection"));
    // This branch journals nothing.
    EXPECT_EQ("<absent>", Journal("Serial", "SubKey1"));
    EXPECT_EQ("<absent>", Journal("PS2", "SubKey1"));
}

// -u /S /M=PS2: the same switch with no page, no message box and no display at all, and
// no restart without /RESTART.
TEST_F(SwitchMode, SilentSwitchWithoutDisplayRegistersTheChosenType) {
    std::string exe =
        MakeTestPackage("switch", SmallSetupInf("Qorva Mouse", "C:\\QORVA", 1, 1) + kStartup);
    ASSERT_FALSE(exe.empty());
    inf = exe.substr(0, exe.rfind('\\')) + "\\SETUP.INF";
    ASSERT_EQ(0u, RunWithoutDisplay(exe, "-u /s /m=ps2 /LOG=C:\\SWITCH.LOG"));

    EXPECT_EQ("Qorva PS/2 Mouse", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "DeviceDesc"));
    EXPECT_EQ("QX_PS2", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "InfSection"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOwnKey));
    EXPECT_EQ("Standard PS/2 Port Mouse", Journal("PS2", "DeviceDesc"));
    const std::string log = ReadFileBytes("C:\\SWITCH.LOG");
    for (const char* text :
         {"mouse type: PS/2",
          "\\DeviceDesc = \"Qorva PS/2 Mouse\", was \"Standard PS/2 Port Mouse\"", "restart: none",
          "exit code 0"})
        EXPECT_NE(std::string::npos, log.find(text)) << text << "\n" << log;
}

// A package on a read-only medium: its SETUP.INF cannot keep the journal, so no value is
// replaced, and the closing message says why instead of claiming success.
TEST_F(SwitchMode, AJournalThatCannotBeWrittenLeavesTheDriverAndSaysWhy) {
    std::string text;
    RunSwitch(IDC_PS2, true, &text);
    EXPECT_EQ(
        "C:\\tests\\switch\\SETUP.INF cannot be written (the disk is write-protected or "
        "full): the mouse driver was not switched.",
        text);
    EXPECT_EQ("Standard PS/2 Port Mouse", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "DeviceDesc"));
    EXPECT_EQ("(Standard mouse types)", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "Mfg"));
    const std::string cls = kMouse + "\\0000";
    EXPECT_EQ("mouse.drv", ReadText(HKEY_LOCAL_MACHINE, cls, "MouseDriver"));
    EXPECT_EQ("MOUSE.INF", ReadText(HKEY_LOCAL_MACHINE, cls, "InfPath"));
    EXPECT_EQ("Standard PS/2 Port Mouse", ReadText(HKEY_LOCAL_MACHINE, cls, "DriverDesc"));
    EXPECT_EQ("PS2_Inst", ReadText(HKEY_LOCAL_MACHINE, cls, "InfSection"));
    EXPECT_EQ("<absent>", ReadText(HKEY_LOCAL_MACHINE, cls, "MouseType"));
    EXPECT_EQ("<absent>", Journal("PS2", "SubKey1"));

    // Unattended, the exit code says it.
    ASSERT_TRUE(MountReadOnly(PackageDir()));
    EXPECT_EQ(7u, RunWithoutDisplay(dir + "\\SETUP.EXE", "-u /s /m=ps2"));
    Unmount(PackageDir());
    EXPECT_EQ("Standard PS/2 Port Mouse", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "DeviceDesc"));
}

}  // namespace
