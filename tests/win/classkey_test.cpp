// The mouse driver class key: choosing a free name, creating and updating class keys, and
// journalling the settings they held. Real registry, roots mapped onto scratch keys.
#include <gtest/gtest.h>

#include <string>

#include "registry/classkey.h"
#include "registry/device.h"
#include "runtime/text.h"
#include "script/model.h"
#include "support/registry_case.h"
#include "support/registry_util.h"
#include "support/winfiles.h"

namespace {

const std::string kClass = "System\\CurrentControlSet\\Services\\Class\\";
const std::string kMouse = kClass + "Mouse";

class ClassKey : public RegistryCase {
  protected:
    void SetUp() override {
        RegistryCase::SetUp();
        if (HasFatalFailure()) return;
    }
    std::string Next() {
        char out[80];
        NextMouseClassKey(out);
        return out;
    }
    void Seed(std::initializer_list<const char*> names) {
        for (const char* n : names) MakeKey(HKEY_LOCAL_MACHINE, kMouse + "\\" + n);
    }
    std::string Journal(const char* key) { return ProfileValue(inf_, "PS2", key); }
};

TEST_F(ClassKey, NextNameFillsTheFirstGap) {
    EXPECT_EQ("Mouse\\0000", Next());  // no mouse class at all
    MakeKey(HKEY_LOCAL_MACHINE, kMouse);
    EXPECT_EQ("Mouse\\0000", Next());  // a class without subkeys
    Seed({"0001"});
    EXPECT_EQ("Mouse\\0000", Next());
    Seed({"0000", "0003"});
    EXPECT_EQ("Mouse\\0002", Next());
    Seed({"0002"});
    EXPECT_EQ("Mouse\\0004", Next());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMouse + "\\0004"));  // choosing creates nothing
}

// The scan trusts the registry's listing order; a name it proposes that exists all the
// same is passed over.
TEST_F(ClassKey, NextNameIsNeverAnExistingKey) {
    Seed({"0000", "0001", "Legacy"});  // "Legacy" is listed last and reads as number 0
    EXPECT_EQ("Mouse\\0002", Next());
    DeleteTree(HKEY_LOCAL_MACHINE, kMouse);
    Seed({"+7", "0000", "0001", "0002"});  // "+7" is listed first: a gap before 0
    EXPECT_EQ("Mouse\\0003", Next());
    DeleteTree(HKEY_LOCAL_MACHINE, kMouse);
    Seed({"0000", "9999"});
    EXPECT_EQ("Mouse\\0001", Next());
}

TEST_F(ClassKey, NextNameAfter9999HasFiveDigits) {
    HKEY mouse = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMouse.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &mouse, nullptr));
    for (int i = 0; i <= 9999; ++i) {
        char n[8];
        TextFromInt(n, sizeof(n), i, 4);
        HKEY k = nullptr;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(mouse, n, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr));
        RegCloseKey(k);
    }
    RegCloseKey(mouse);
    EXPECT_EQ("Mouse\\10000", Next());
}

TEST_F(ClassKey, CreateWritesAllSevenSettingsAsTerminatedStrings) {
    SetString(HKEY_LOCAL_MACHINE, kMouse + "\\0003", "Keep", "kept");
    CreateDriverKey("PS2", "Mouse\\0003", "Desc given", "Inf given");
    const std::string key = kMouse + "\\0003";
    struct {
        const char* name;
        const char* text;
    } expected[] = {{"DevLoader", "*vmouse"},         {"MouseType", "PS2"},
                    {"MouseDriver", "QXMOUSE.DRV 1"}, {"InfPath", "QXMOUSE.INF 1"},
                    {"DriverDesc", "Desc given"},     {"DriverDate", "1-15-1999 1"},
                    {"InfSection", "Inf given"},      {"Keep", "kept"}};
    for (const auto& e : expected) {
        RegValue v = ReadValue(HKEY_LOCAL_MACHINE, key, e.name);
        EXPECT_TRUE(v.exists) << e.name;
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), v.type) << e.name;
        EXPECT_EQ(Sz(e.text), v.data) << e.name;  // size n + 1: the terminator is stored
    }
    EXPECT_EQ(8u, ValueNames(HKEY_LOCAL_MACHINE, key).size());
    EXPECT_FALSE(FileExists(inf_));  // nothing journalled
}

TEST_F(ClassKey, UpdateOfAMissingClassKeyJournalsItsPathAndCreatesIt) {
    UpdateDriverKey({Shared::InstallDir, "PS2"}, "Mouse\\0005", "Desc", "Inf");
    EXPECT_EQ(kMouse + "\\0005", Journal("SubKey2"));
    for (const char* k : {"MouseDriver", "InfPath", "DriverDesc", "DriverDate", "InfSection"})
        EXPECT_EQ("<absent>", Journal(k)) << k;
    EXPECT_EQ("*vmouse", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0005", "DevLoader"));
    EXPECT_EQ("Desc", ReadText(HKEY_LOCAL_MACHINE, kMouse + "\\0005", "DriverDesc"));
    EXPECT_EQ(7u, ValueNames(HKEY_LOCAL_MACHINE, kMouse + "\\0005").size());
}

TEST_F(ClassKey, UpdateJournalsOldSettingsOnceAndOverwritesThemEveryTime) {
    const std::string key = kMouse + "\\0000";
    SetString(HKEY_LOCAL_MACHINE, key, "DevLoader", "*oldloader");
    SetString(HKEY_LOCAL_MACHINE, key, "MouseDriver", "OLD.DRV");
    SetString(HKEY_LOCAL_MACHINE, key, "DriverDesc", "Old Mouse");
    SetString(HKEY_LOCAL_MACHINE, key, "DriverDate", "");
    SetString(HKEY_LOCAL_MACHINE, key, "InfSection", "OLD_SECTION");
    // no InfPath, and a MouseType that is overwritten without being journalled

    SetString(HKEY_LOCAL_MACHINE, key, "MouseType", "Serial");
    UpdateDriverKey({Shared::InstallDir, "PS2"}, "Mouse\\0000", "PS2 desc 1", "PS2 inf 1");
    EXPECT_EQ(key, Journal("SubKey2"));
    EXPECT_EQ("OLD.DRV", Journal("MouseDriver"));
    EXPECT_EQ("", Journal("InfPath"));  // absent: journalled empty
    EXPECT_EQ("Old Mouse", Journal("DriverDesc"));
    EXPECT_EQ("", Journal("DriverDate"));
    EXPECT_EQ("OLD_SECTION", Journal("InfSection"));
    EXPECT_EQ("<absent>", Journal("MouseType"));
    EXPECT_EQ("<absent>", Journal("DevLoader"));
    EXPECT_EQ("*oldloader", ReadText(HKEY_LOCAL_MACHINE, key, "DevLoader"));
    EXPECT_EQ(Sz("PS2"), ReadValue(HKEY_LOCAL_MACHINE, key, "MouseType").data);
    EXPECT_EQ(Sz("QXMOUSE.INF 1"), ReadValue(HKEY_LOCAL_MACHINE, key, "InfPath").data);

    // A second update: registry gets the new texts, the journal keeps the first values,
    // the empty ones (values that did not exist) included.
    SetSampleProfile("2");
    UpdateDriverKey({Shared::InstallDir, "PS2"}, "Mouse\\0000", "PS2 desc 2", "PS2 inf 2");
    EXPECT_EQ("OLD.DRV", Journal("MouseDriver"));
    EXPECT_EQ("", Journal("InfPath"));
    EXPECT_EQ("Old Mouse", Journal("DriverDesc"));
    EXPECT_EQ("", Journal("DriverDate"));
    EXPECT_EQ("QXMOUSE.DRV 2", ReadText(HKEY_LOCAL_MACHINE, key, "MouseDriver"));
    EXPECT_EQ("PS2 desc 2", ReadText(HKEY_LOCAL_MACHINE, key, "DriverDesc"));
    EXPECT_EQ("PS2 inf 2", ReadText(HKEY_LOCAL_MACHINE, key, "InfSection"));
    EXPECT_EQ(1u, SubkeyNames(HKEY_LOCAL_MACHINE, kMouse).size());
}

// Old values that do not fit the 80-byte buffer are journalled as their first 79
// characters, never as whatever a failed read left behind.
TEST_F(ClassKey, LongOldValuesAreJournalledCutTo79) {
    const std::string key = kMouse + "\\0000";
    std::string v79(79, 'a'), v80(80, 'b'), v200 = std::string(79, 'c') + std::string(121, 'd');
    SetString(HKEY_LOCAL_MACHINE, key, "MouseDriver", v79);
    SetRaw(HKEY_LOCAL_MACHINE, key, "InfPath", REG_SZ, v80);  // 80 bytes, no terminator
    SetString(HKEY_LOCAL_MACHINE, key, "DriverDesc", v80);    // 81 bytes
    SetString(HKEY_LOCAL_MACHINE, key, "DriverDate", v200);
    SetRaw(HKEY_LOCAL_MACHINE, key, "InfSection", REG_BINARY, std::string("bin\0ary", 7));
    UpdateDriverKey({Shared::InstallDir, "PS2"}, "Mouse\\0000", "d", "i");
    EXPECT_EQ(v79, Journal("MouseDriver"));
    EXPECT_EQ(std::string(79, 'b'), Journal("InfPath"));
    EXPECT_EQ(std::string(79, 'b'), Journal("DriverDesc"));
    EXPECT_EQ(std::string(79, 'c'), Journal("DriverDate"));
    EXPECT_EQ("bin", Journal("InfSection"));  // the type is not examined
}

}  // namespace
