// Product registration: the six product entries and the device step behind them. Real
// registry, roots mapped onto scratch keys.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "registry/device.h"
#include "registry/product.h"
#include "runtime/text.h"
#include "script/model.h"
#include "support/registry_case.h"
#include "support/registry_util.h"
#include "support/winfiles.h"

// The checks report the line of their caller, as Wine's tests do.
#define ExpectSz(...) ExpectSz_(__LINE__, __VA_ARGS__)

namespace {

const std::string kClsid = "{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}";
const std::string kPage = "CLSID\\" + kClsid;
const std::string kServer = kPage + "\\InProcServer32";
const std::string kCurrent = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kHandlers = kCurrent + "\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers";
const std::string kHandler = kHandlers + "\\QXMousePage";
const std::string kRun = kCurrent + "\\Run";
const std::string kUninstall = kCurrent + "\\Uninstall\\Quillotrax";
const std::string kOwnKey = "Enum\\Root\\QorvaMouse\\0000";

class Product : public RegistryCase {
  protected:
    void SetUp() override {
        RegistryCase::SetUp();
        if (HasFatalFailure()) return;
        Shared::MouseKind = 1;  // no device nodes: the device step creates its own serial key
    }
    void ExpectSz_(int line, HKEY root, const std::string& key, const std::string& name,
                  const std::string& text) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        RegValue v = ReadValue(root, key, name);
        EXPECT_TRUE(v.exists) << key << " " << name;
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), v.type) << key << " " << name;
        EXPECT_EQ(Sz(text), v.data) << key << " " << name;
    }
};

TEST_F(Product, WritesTheSixEntriesThenTheDeviceStep) {
    RegisterProduct(1, Shared::InstallDir);
    ExpectSz(HKEY_CLASSES_ROOT, kPage, "", "QXMouseControlPage");
    ExpectSz(HKEY_CLASSES_ROOT, kServer, "", dir_ + "\\QXPAGE.DLL");
    ExpectSz(HKEY_CLASSES_ROOT, kServer, "ThreadingModel", "Apartment");
    ExpectSz(HKEY_LOCAL_MACHINE, kHandlers, "", "QXMousePage");
    ExpectSz(HKEY_LOCAL_MACHINE, kHandler, "", kClsid);
    ExpectSz(HKEY_LOCAL_MACHINE, kRun, "Quillotrax", dir_ + "\\QXMAIN.EXE -startup");
    ExpectSz(HKEY_LOCAL_MACHINE, kUninstall, "DisplayName", "Qorva Mouse 1");
    ExpectSz(HKEY_LOCAL_MACHINE, kUninstall, "UninstallString", dir_ + "\\UNINSTAL.EXE");
    EXPECT_EQ(1u, ValueNames(HKEY_CLASSES_ROOT, kPage).size());
    EXPECT_EQ(2u, ValueNames(HKEY_LOCAL_MACHINE, kUninstall).size());
    EXPECT_EQ("Qorva Serial Mouse 1", ReadText(HKEY_LOCAL_MACHINE, kOwnKey, "DeviceDesc"));
    EXPECT_FALSE(FileExists(dir_ + "\\SETUP.INF"));  // product entries are not journalled

    // Again over the earlier entries, with other texts: overwritten.
    TextCopy(Shared::DriverProfile.Title, kTitleWidth, "");
    SetString(HKEY_LOCAL_MACHINE, kRun, "Other", "kept");
    RegisterProduct(1, Shared::InstallDir);
    ExpectSz(HKEY_LOCAL_MACHINE, kUninstall, "DisplayName", "");
    EXPECT_EQ(1u, ReadValue(HKEY_LOCAL_MACHINE, kUninstall, "DisplayName").data.size());
    EXPECT_EQ("kept", ReadText(HKEY_LOCAL_MACHINE, kRun, "Other"));
    EXPECT_FALSE(FileExists(dir_ + "\\SETUP.INF"));
}

TEST_F(Product, ArgumentZeroRunsOnlyTheDeviceStep) {
    RegisterProduct(0, Shared::InstallDir);
    EXPECT_TRUE(SubkeyNames(HKEY_CLASSES_ROOT, "").empty());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE"));
    EXPECT_EQ("QX_Serial 1",
              ReadText(HKEY_LOCAL_MACHINE,
                       "System\\CurrentControlSet\\Services\\Class\\Mouse\\0000", "InfSection"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kOwnKey));
}

// HKEY_CLASSES_ROOT refuses every create: its two keys are skipped, the rest goes on.
TEST_F(Product, AKeyThatCannotBeCreatedIsSkipped) {
    sandbox_->BreakRoot(HKEY_CLASSES_ROOT);
    HKEY probe = nullptr;
    ASSERT_NE(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &probe, nullptr));
    RegisterProduct(1, Shared::InstallDir);
    ExpectSz(HKEY_LOCAL_MACHINE, kHandlers, "", "QXMousePage");
    ExpectSz(HKEY_LOCAL_MACHINE, kHandler, "", kClsid);
    ExpectSz(HKEY_LOCAL_MACHINE, kRun, "Quillotrax", dir_ + "\\QXMAIN.EXE -startup");
    ExpectSz(HKEY_LOCAL_MACHINE, kUninstall, "UninstallString", dir_ + "\\UNINSTAL.EXE");
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kOwnKey));
}

// The composed values of the longest InstallDir are written whole, never cut.
TEST_F(Product, LongInstallDirIsWrittenWhole) {
    std::string longDir = "C:\\" + std::string(76, 'L');
    ASSERT_EQ(79u, longDir.size());
    TextCopy(Shared::InstallDir, kDirWidth, longDir.c_str());
    RegisterProduct(1, Shared::InstallDir);
    ExpectSz(HKEY_LOCAL_MACHINE, kRun, "Quillotrax", longDir + "\\QXMAIN.EXE -startup");
    ExpectSz(HKEY_LOCAL_MACHINE, kUninstall, "UninstallString",
             longDir + "\\UNINSTAL.EXE");
    ExpectSz(HKEY_CLASSES_ROOT, kServer, "", longDir + "\\QXPAGE.DLL");
}

}  // namespace
