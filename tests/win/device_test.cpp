// Mouse device detection and the device step: probes over HKEY_DYN_DATA, the PS/2, serial
// and new-serial-node branches, and their journal. Real registry, roots mapped onto
// scratch keys.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "registry/device.h"
#include "runtime/text.h"
#include "script/model.h"
#include "support/registry_case.h"
#include "support/registry_util.h"
#include "support/winfiles.h"

// The checks report the line of their caller, as Wine's tests do.
#define ExpectNothingWritten() ExpectNothingWritten_(__LINE__)

namespace {

const std::string kMouse = "System\\CurrentControlSet\\Services\\Class\\Mouse";
const std::string kPS2Hw = "BIOS\\*PNP0F13\\0000";
const std::string kPS2Key = "Enum\\" + kPS2Hw;
const std::string kSerialHw = "SERENUM\\KVZ0005\\COM1";
const std::string kSerialKey = "Enum\\" + kSerialHw;
const std::string kOwnKey = "Enum\\Root\\QorvaMouse\\0000";

class Device : public RegistryCase {
  protected:
    void SetUp() override {
        RegistryCase::SetUp();
        if (HasFatalFailure()) return;
        type_ = "";
    }
    // The device step, journalling into the scratch installation directory; type_ gets the
    // mouse type it registered.
    void Register() { type_ = RegisterMouseDevice(Shared::InstallDir); }
    std::string type_;
    // A device node and its device key with the given old values ("" leaves one out).
    void AddDevice(const std::string& node, const std::string& hw, const std::string& desc,
                   const std::string& mfg, const std::string& driver) {
        AddDeviceNode(node, hw);
        const std::string key = "Enum\\" + hw;
        MakeKey(HKEY_LOCAL_MACHINE, key);
        if (!desc.empty()) SetString(HKEY_LOCAL_MACHINE, key, "DeviceDesc", desc);
        if (!mfg.empty()) SetString(HKEY_LOCAL_MACHINE, key, "Mfg", mfg);
        if (!driver.empty()) SetString(HKEY_LOCAL_MACHINE, key, "Driver", driver);
    }
    std::string Find(const char* id, bool* found) {
        char buf[80];
        TextCopy(buf, sizeof(buf), "untouched");
        *found = FindDeviceNode(id, buf) == 1;
        return buf;
    }
    std::string Journal(const char* section, const char* key) {
        return ProfileValue(inf_, section, key);
    }
    // No own device key, no class key, no journal, no type registered.
    void ExpectNothingWritten_(int line) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOwnKey));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMouse));
        EXPECT_FALSE(FileExists(inf_));
        EXPECT_EQ("", type_);  // no branch ran
    }
};

TEST_F(Device, FindMatchesASubstringByteForByteAndTheLastNodeWins) {
    bool found = false;
    EXPECT_EQ("untouched", Find("BIOS\\*PNP0F13\\", &found));  // no running configuration
    EXPECT_FALSE(found);

    AddDeviceNode("C0000001", "ROOT\\*PNP0F0C\\0000");
    AddDeviceNode("C0000002", "bios\\*pnp0f13\\0000");         // other letter case
    AddDeviceNode("C0000003", "BIOS\\*PNP0F13");               // no trailing backslash
    MakeKey(HKEY_DYN_DATA, "Config Manager\\Enum\\C0000004");  // no HardWareKey
    EXPECT_EQ("untouched", Find("BIOS\\*PNP0F13\\", &found));
    EXPECT_FALSE(found);

    AddDeviceNode("C0000005", "ACPI\\BIOS\\*PNP0F13\\0000");  // after other text
    AddDeviceNode("C0000006", "BIOS\\*PNP0F13\\0001");
    AddDeviceNode("C0000007", "PCI\\VEN_8086\\1");
    EXPECT_EQ("BIOS\\*PNP0F13\\0001", Find("BIOS\\*PNP0F13\\", &found));
    EXPECT_TRUE(found);
    EXPECT_EQ("ROOT\\*PNP0F0C\\0000", Find("ROOT\\*PNP0F0C\\", &found));
}

// A hardware key too long to name a device key below "Enum\" in 80 characters never
// matches; nothing is cut into another key's name, and a long node name does not end the
// search.
TEST_F(Device, FindPassesOverValuesAndNamesThatDoNotFit) {
    const std::string id = "BIOS\\*PNP0F13\\";
    std::string fits = id + std::string(74 - id.size(), 'f');  // "Enum\" + 74 = 79
    std::string over = id + std::string(75 - id.size(), 'o');
    std::string huge = id + std::string(200, 'h');
    AddDeviceNode("C0000001", fits);
    AddDeviceNode("C0000002", over);
    AddDeviceNode("C0000003", huge);
    bool found = false;
    EXPECT_EQ(fits, Find(id.c_str(), &found));
    EXPECT_TRUE(found);

    DeleteTree(HKEY_DYN_DATA, "Config Manager\\Enum\\C0000001");
    EXPECT_EQ("untouched", Find(id.c_str(), &found));
    EXPECT_FALSE(found);

    AddDeviceNode("C0000000" + std::string(90, 'n'), "BIOS\\*PNP0F13\\A");
    AddDeviceNode("C0000009", "BIOS\\*PNP0F13\\B");
    EXPECT_EQ("BIOS\\*PNP0F13\\B", Find(id.c_str(), &found));
}

TEST_F(Device, PS2BranchUpdatesTheDeviceKeyAndJournalsFirst) {
    AddDevice("C0000001", kPS2Hw, "Standard PS/2 Port Mouse", "(Standard mouse types)", "");
    Shared::MouseKind = 0;
    Register();

    EXPECT_STREQ("PS2", type_.c_str());
    EXPECT_EQ(Sz("Qorva PS/2 Mouse 1"), ReadValue(HKEY_LOCAL_MACHINE, kPS2Key, "DeviceDesc").data);
    EXPECT_EQ("Qorva 1", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "Mfg"));
    RegValue flags = ReadValue(HKEY_LOCAL_MACHINE, kPS2Key, "ConfigFlags");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), flags.type);
    EXPECT_EQ(std::string(4, '\0'), flags.data);
    // No Driver before: a new class key is made and named.
    EXPECT_EQ("Mouse\\0000", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "Driver"));
    EXPECT_EQ("QX_PS2 1", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "InfSection"));
    EXPECT_EQ("PS2", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "MouseType"));
    EXPECT_EQ("*vmouse", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "DevLoader"));

    EXPECT_EQ(kPS2Key, Journal("PS2", "SubKey1"));
    EXPECT_EQ("Standard PS/2 Port Mouse", Journal("PS2", "DeviceDesc"));
    EXPECT_EQ("(Standard mouse types)", Journal("PS2", "Mfg"));
    EXPECT_EQ("<absent>", Journal("PS2", "SubKey2"));  // a new class key is not journalled
    EXPECT_EQ("<absent>", Journal("Serial", "SubKey1"));
}

// Identifiers are probed in their fixed order, whatever the enumeration order of nodes.
TEST_F(Device, ProbeOrderDecidesBetweenNodes) {
    AddDevice("A0000001", "ROOT\\*PNP0F0E\\0000", "root ps2", "m", "");
    AddDevice("B0000001", "BIOS\\*PNP0F0E\\0000", "bios ps2", "m", "");
    AddDevice("C0000001", "ROOT\\*PNP0F0C\\0000", "serial", "m", "");
    Shared::MouseKind = 0;
    Register();
    EXPECT_EQ("Qorva PS/2 Mouse 1",
              ReadText(HKEY_LOCAL_MACHINE, "Enum\\BIOS\\*PNP0F0E\\0000", "DeviceDesc"));
    EXPECT_EQ("root ps2", ReadText(HKEY_LOCAL_MACHINE, "Enum\\ROOT\\*PNP0F0E\\0000", "DeviceDesc"));
    EXPECT_EQ("serial", ReadText(HKEY_LOCAL_MACHINE, "Enum\\ROOT\\*PNP0F0C\\0000", "DeviceDesc"));

    // Serial: ROOT\*PNP0F0C\ comes before SERENUM\KVZ0005\ in the probe order.
    AddDevice("0", kSerialHw, "serenum", "m", "");
    Shared::MouseKind = 1;
    Register();
    EXPECT_EQ("Qorva Serial Mouse 1",
              ReadText(HKEY_LOCAL_MACHINE, "Enum\\ROOT\\*PNP0F0C\\0000", "DeviceDesc"));
    EXPECT_EQ("serenum", ReadText(HKEY_LOCAL_MACHINE, kSerialKey, "DeviceDesc"));
    EXPECT_EQ("Enum\\ROOT\\*PNP0F0C\\0000", Journal("Serial", "SubKey1"));
}

TEST_F(Device, SerialBranchUpdatesTheClassKeyItsDriverNames) {
    AddDevice("C0000001", kSerialHw, "", "", "Mouse\\0000");  // no DeviceDesc, no Mfg
    SetString(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "DriverDesc", "Old serial driver");
    Shared::MouseKind = 1;
    Register();

    EXPECT_STREQ("Serial", type_.c_str());
    EXPECT_EQ("Qorva Serial Mouse 1", ReadText(HKEY_LOCAL_MACHINE, kSerialKey, "DeviceDesc"));
    EXPECT_EQ("Mouse\\0000", ReadText(HKEY_LOCAL_MACHINE, kSerialKey, "Driver"));
    EXPECT_EQ(1u, SubkeyNames(HKEY_LOCAL_MACHINE, kMouse).size());  // no new class key
    EXPECT_EQ("Qorva Serial Mouse 1",
              ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "DriverDesc"));
    EXPECT_EQ("QX_Serial 1", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "InfSection"));
    EXPECT_EQ("Serial", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "MouseType"));
    EXPECT_EQ("<absent>", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "DevLoader"));

    EXPECT_EQ(kSerialKey, Journal("Serial", "SubKey1"));
    EXPECT_EQ("", Journal("Serial", "DeviceDesc"));
    EXPECT_EQ("", Journal("Serial", "Mfg"));
    EXPECT_EQ(kMouse + "\\0000", Journal("Serial", "SubKey2"));
    EXPECT_EQ("Old serial driver", Journal("Serial", "DriverDesc"));
    EXPECT_EQ("", Journal("Serial", "InfPath"));
    EXPECT_EQ("<absent>", Journal("PS2", "SubKey1"));
}

TEST_F(Device, DriverNamingAMissingClassKeyGetsItCreated) {
    AddDevice("C0000001", kPS2Hw, "d", "m", "Mouse\\0007");
    Shared::MouseKind = 0;
    Register();
    EXPECT_EQ(kMouse + "\\0007", Journal("PS2", "SubKey2"));
    EXPECT_EQ("<absent>", Journal("PS2", "DriverDesc"));
    EXPECT_EQ("*vmouse", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0007", "DevLoader"));
    EXPECT_EQ(7u, ValueNames(HKEY_LOCAL_MACHINE, kMouse + "\\0007").size());
    EXPECT_EQ("Mouse\\0007", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "Driver"));
}

// A Driver too long for the buffer would be cut into the name of another class key: the
// device keeps its driver and no class key is touched.
TEST_F(Device, DriverTooLongLeavesTheClassKeysAlone) {
    std::string driver = "Mouse\\" + std::string(80, '1');
    AddDevice("C0000001", kPS2Hw, "d", "m", driver);
    Shared::MouseKind = 0;
    Register();
    EXPECT_EQ("Qorva PS/2 Mouse 1", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "DeviceDesc"));
    EXPECT_EQ(driver, ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "Driver"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMouse));
    EXPECT_EQ("<absent>", Journal("PS2", "SubKey2"));
}

TEST_F(Device, SerialChoiceWithoutSerialNodeCreatesOwnKeyEachRun) {
    AddDevice("C0000001", kPS2Hw, "Standard PS/2 Port Mouse", "m", "");
    Shared::MouseKind = 1;
    Register();

    EXPECT_STREQ("Serial", type_.c_str());
    EXPECT_EQ(2u, ValueNames(HKEY_LOCAL_MACHINE, kPS2Key).size());  // PS/2 key untouched
    EXPECT_EQ("Standard PS/2 Port Mouse", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "DeviceDesc"));
    EXPECT_EQ("Mouse", ReadText(HKEY_LOCAL_MACHINE, kOwnKey, "Class"));
    EXPECT_EQ(Sz("Qorva Serial Mouse 1"),
              ReadValue(HKEY_LOCAL_MACHINE, kOwnKey, "DeviceDesc").data);
    EXPECT_EQ("Qorva 1", ReadText(HKEY_LOCAL_MACHINE, kOwnKey, "Mfg"));
    for (const char* flag : {"ConfigFlags", "DetFlags"}) {
        RegValue v = ReadValue(HKEY_LOCAL_MACHINE, kOwnKey, flag);
        EXPECT_EQ(static_cast<DWORD>(REG_BINARY), v.type) << flag;
        EXPECT_EQ(std::string(4, '\0'), v.data) << flag;
    }
    EXPECT_EQ("*:DETECTSERIALMOUSE", ReadText(HKEY_LOCAL_MACHINE, kOwnKey, "DetFunc"));
    EXPECT_EQ("Mouse\\0000", ReadText(HKEY_LOCAL_MACHINE, kOwnKey, "Driver"));
    EXPECT_EQ("Serial", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "MouseType"));
    EXPECT_EQ("QX_Serial 1", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "InfSection"));
    EXPECT_FALSE(FileExists(inf_));  // this branch journals nothing

    Register();
    EXPECT_EQ("Mouse\\0001", ReadText(HKEY_LOCAL_MACHINE, kOwnKey, "Driver"));
    EXPECT_EQ(2u, SubkeyNames(HKEY_LOCAL_MACHINE, kMouse).size());
    EXPECT_FALSE(FileExists(inf_));

    // No running configuration at all: the same branch.
    DeleteTree(HKEY_DYN_DATA, "Config Manager");
    Register();
    EXPECT_EQ("Mouse\\0002", ReadText(HKEY_LOCAL_MACHINE, kOwnKey, "Driver"));
}

TEST_F(Device, NoBranchRunsLeavesEverythingAsItWas) {
    // PS/2 chosen, only a serial node.
    AddDevice("C0000001", kSerialHw, "serial", "m", "");
    Shared::MouseKind = 0;
    Register();
    EXPECT_EQ("serial", ReadText(HKEY_LOCAL_MACHINE, kSerialKey, "DeviceDesc"));
    ExpectNothingWritten();

    // PS/2 chosen, nothing at all.
    DeleteTree(HKEY_DYN_DATA, "Config Manager");
    Register();
    ExpectNothingWritten();

    // Neither 0 nor 1, with both kinds present.
    AddDevice("C0000001", kSerialHw, "serial", "m", "");
    AddDevice("C0000002", kPS2Hw, "ps2", "m", "");
    for (int32_t kind : {2, -1}) {
        Shared::MouseKind = kind;
        Register();
        EXPECT_EQ("ps2", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "DeviceDesc"));
        EXPECT_EQ("serial", ReadText(HKEY_LOCAL_MACHINE, kSerialKey, "DeviceDesc"));
        ExpectNothingWritten();
    }
}

// The own serial key cannot be created: the branch sets the type and stops before any
// journal entry or write.
TEST_F(Device, OwnSerialKeyThatCannotBeCreatedWritesNothing) {
    Shared::MouseKind = 1;
    sandbox_->BreakRoot(HKEY_LOCAL_MACHINE);
    HKEY probe = nullptr;
    ASSERT_NE(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Enum", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &probe, nullptr));
    Register();
    EXPECT_STREQ("Serial", type_.c_str());
    EXPECT_FALSE(FileExists(inf_));
}

// A node whose device key is missing: the branch sets the type and stops.
TEST_F(Device, MissingDeviceKeyWritesNothing) {
    AddDeviceNode("C0000001", kPS2Hw);
    Shared::MouseKind = 0;
    Register();
    EXPECT_STREQ("PS2", type_.c_str());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kPS2Key));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMouse));
    EXPECT_FALSE(FileExists(inf_));
}

TEST_F(Device, SecondRunAndSecondMouseTypeKeepTheFirstJournal) {
    AddDevice("C0000001", kPS2Hw, "Standard PS/2 Port Mouse", "(Standard mouse types)",
              "Mouse\\0000");
    for (const char* v : {"MouseDriver", "InfPath", "DriverDate", "InfSection"})
        SetString(HKEY_LOCAL_MACHINE, kMouse + "\\0000", v, std::string("old ") + v);
    SetString(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "DriverDesc", "Standard PS/2 Port Mouse");
    AddDevice("C0000002", kSerialHw, "Serial Mouse", "Serial Maker", "Mouse\\0001");
    SetString(HKEY_LOCAL_MACHINE, kMouse + "\\0001", "DriverDesc", "Serial driver");

    Shared::MouseKind = 0;
    Register();
    const std::string first = ReadFileBytes(inf_);
    SetSampleProfile("2");
    Register();
    EXPECT_EQ(first, ReadFileBytes(inf_));  // every key held a value: the journal is unchanged
    EXPECT_EQ("old InfSection", Journal("PS2", "InfSection"));
    EXPECT_EQ("Standard PS/2 Port Mouse", Journal("PS2", "DeviceDesc"));
    EXPECT_EQ("Standard PS/2 Port Mouse", Journal("PS2", "DriverDesc"));
    EXPECT_EQ("Qorva PS/2 Mouse 2", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "DeviceDesc"));
    EXPECT_EQ("Qorva 2", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "Mfg"));
    EXPECT_EQ("QXMOUSE.DRV 2", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "MouseDriver"));

    Shared::MouseKind = 1;
    Register();
    EXPECT_EQ("Serial Mouse", Journal("Serial", "DeviceDesc"));
    EXPECT_EQ("Serial Maker", Journal("Serial", "Mfg"));
    EXPECT_EQ("Serial driver", Journal("Serial", "DriverDesc"));
    EXPECT_EQ(kMouse + "\\0001", Journal("Serial", "SubKey2"));
    EXPECT_EQ("Standard PS/2 Port Mouse", Journal("PS2", "DeviceDesc"));
    EXPECT_EQ("(Standard mouse types)", Journal("PS2", "Mfg"));
    EXPECT_EQ(kPS2Key, Journal("PS2", "SubKey1"));
    EXPECT_EQ("Qorva Serial Mouse 2", ReadText(HKEY_LOCAL_MACHINE, kSerialKey, "DeviceDesc"));
    EXPECT_EQ("Qorva PS/2 Mouse 2", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "DeviceDesc"));
}

// A device key without Driver: the value is recorded absent, and the class key that setup
// made for it is setup's own on every later run, never journalled as "old" settings.
TEST_F(Device, ADriverSetupGaveIsRecordedAbsent) {
    AddDevice("C0000001", kPS2Hw, "Standard PS/2 Port Mouse", "m", "");
    Shared::MouseKind = 0;
    int journalled[2] = {0, 0};
    RegisterMouseDevice(Shared::InstallDir, &journalled[0]);
    SetSampleProfile("2");
    RegisterMouseDevice(Shared::InstallDir, &journalled[1]);
    EXPECT_EQ(1, journalled[0]);
    EXPECT_EQ(1, journalled[1]);
    EXPECT_EQ("Mouse\\0000", ReadText(HKEY_LOCAL_MACHINE, kPS2Key, "Driver"));
    EXPECT_EQ("", Journal("PS2", "Driver"));
    for (const char* k : {"SubKey2", "MouseDriver", "DriverDesc", "InfSection"})
        EXPECT_EQ("<absent>", Journal("PS2", k)) << k;
    EXPECT_EQ("QXMOUSE.DRV 2", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0000", "MouseDriver"));
    EXPECT_EQ(1u, SubkeyNames(HKEY_LOCAL_MACHINE, kMouse).size());
}

TEST_F(Device, LongOldDeviceValuesAreJournalledCutTo79) {
    std::string desc = std::string(79, 'x') + "TAIL";
    AddDevice("C0000001", kPS2Hw, desc, std::string(79, 'm'), "");
    Shared::MouseKind = 0;
    Register();
    EXPECT_EQ(std::string(79, 'x'), Journal("PS2", "DeviceDesc"));
    EXPECT_EQ(std::string(79, 'm'), Journal("PS2", "Mfg"));
}

}  // namespace
