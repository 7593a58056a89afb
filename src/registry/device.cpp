#include <windows.h>

#include "registry/device.h"

#include "registry/classkey.h"
#include "registry/classnumber.h"
#include "registry/regio.h"
#include "runtime/countof.h"
#include "runtime/text.h"
#include "script/identity.h"
#include "script/journal.h"
#include "script/model.h"

#ifndef HKEY_DYN_DATA
#define HKEY_DYN_DATA ((HKEY)(ULONG_PTR)((LONG)0x80000006))
#endif

static const char kRunningConfig[] = "Config Manager\\Enum";
static const char kDeviceKeyPrefix[] = "Enum\\";

enum {
    kHardwareValueWidth = 128,
    kDevicePathWidth = 80,
    // "Enum\" and the hardware key must fit the device path buffer.
    kMaxHardwareKeyLength = kDevicePathWidth - 1 - 5,
};

// Reads one node's HardWareKey into value (kHardwareValueWidth + 1 wide). Returns 1 when
// it was read whole.
static int ReadHardwareKey(HKEY enumKey, const char* node, char* value) {
    HKEY nodeKey;
    if (!OpenKeyFull(enumKey, node, &nodeKey)) return 0;
    ZeroBytes(value, kHardwareValueWidth + 1);
    DWORD size = kHardwareValueWidth;
    LONG result = RegQueryValueExA(nodeKey, "HardWareKey", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(nodeKey);
    return result == ERROR_SUCCESS;
}

int FindDeviceNode(const char* identifier, char* hardwareKey) {
    HKEY enumKey;
    if (!OpenKeyFull(HKEY_DYN_DATA, kRunningConfig, &enumKey)) return 0;
    int found = 0;
    // A node name too long for the buffer is passed over; the nodes after it still count.
    ForEachSubkey(enumKey, [&](const char* node) {
        char value[kHardwareValueWidth + 1];
        // A value that would not fit the device key path is never cut into another key's
        // name: it does not match.
        if (ReadHardwareKey(enumKey, node, value) && TextLength(value) <= kMaxHardwareKeyLength &&
            TextContains(value, identifier)) {
            TextCopy(hardwareKey, kHardwareKeyWidth, value);
            found = 1;
        }
        return 1;
    });
    RegCloseKey(enumKey);
    return found;
}

struct BranchTexts {
    const char* TypeName;
    const char* Description;
    const char* InfSection;
};

static BranchTexts PS2Texts() {
    return {JOURNAL_SECTION_PS2, Shared::DriverProfile.PS2Name,
            Shared::DriverProfile.PS2InfSection};
}

static BranchTexts SerialTexts() {
    return {JOURNAL_SECTION_SERIAL, Shared::DriverProfile.SeialName,
            Shared::DriverProfile.SerialInfSection};
}

// Journals the old value of name, then writes text over it; a value the journal could not
// record stays. Returns 1 when it was recorded.
static int ReplaceJournalled(const DriverJournal& journal, HKEY key, const char* name,
                             const char* text) {
    char old[kOldValueWidth];
    ReadOldText(key, name, old);
    if (!JournalWrite(journal.Dir, journal.MouseType, name, old)) return 0;
    SetTextValue(key, name, text);
    return 1;
}

// PS/2 and serial branches: update the existing device key named by hardwareKey. Returns 0
// when a value was left alone because the journal could not record it.
static int UpdateDeviceKey(const char* journalDir, char* hardwareKey, const BranchTexts& texts) {
    char path[kDevicePathWidth];
    if (!TextJoin(path, kDevicePathWidth, kDeviceKeyPrefix, hardwareKey)) return 1;
    HKEY key;
    if (!OpenKeyFull(HKEY_LOCAL_MACHINE, path, &key)) return 1;
    const DriverJournal journal = {journalDir, texts.TypeName};

    // Without SubKey1 the uninstaller could not find the key again: it stays as it is.
    if (!JournalWrite(journal.Dir, journal.MouseType, "SubKey1", path)) {
        RegCloseKey(key);
        return 0;
    }
    int recorded = ReplaceJournalled(journal, key, "DeviceDesc", texts.Description);
    SetZeroFlags(key, "ConfigFlags");
    recorded &= ReplaceJournalled(journal, key, "Mfg", Shared::DriverProfile.Mfg);

    // The Driver value goes into the hardware-key buffer. One too long for it is left alone
    // with its class key: a cut name would point at another device's driver settings.
    ZeroBytes(hardwareKey, kHardwareKeyWidth);
    DWORD size = kHardwareKeyWidth;
    LONG result = RegQueryValueExA(key, "Driver", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(hardwareKey), &size);
    int tooLong = result == ERROR_MORE_DATA ||
                  (result == ERROR_SUCCESS && hardwareKey[kHardwareKeyWidth - 1] != 0);
    if (result != ERROR_SUCCESS) ZeroBytes(hardwareKey, kHardwareKeyWidth);
    if (tooLong) {
        // nothing to bind: keep the device's own driver
    } else if (hardwareKey[0] == 0) {
        // No driver before: recorded as absent, so that the uninstaller takes the value back
        // and a later registration knows the class key for setup's own.
        if (JournalWrite(journal.Dir, journal.MouseType, "Driver", "")) {
            char driver[kClassNameWidth];
            NextMouseClassKey(driver);
            SetTextValue(key, "Driver", driver);
            CreateDriverKey(journal.MouseType, driver, texts.Description, texts.InfSection);
        } else {
            recorded = 0;
        }
    } else if (JournalHolds(journal.Dir, journal.MouseType, "Driver") &&
               JournalRead(journal.Dir, journal.MouseType, "Driver", "")[0] == 0) {
        // The class key of a driver that setup gave the device: written again, with nothing
        // to journal, since none of its values existed before setup.
        CreateDriverKey(journal.MouseType, hardwareKey, texts.Description, texts.InfSection);
    } else {
        recorded &= UpdateDriverKey(journal, hardwareKey, texts.Description, texts.InfSection);
    }
    RegCloseKey(key);
    return recorded;
}

// New-serial-node branch: the package's own root device key with a serial detection
// function, bound to a new class key on every run.
static void CreateOwnSerialKey() {
    HKEY key;
    if (!CreateKeyFull(HKEY_LOCAL_MACHINE, OWN_SERIAL_DEVICE_INSTANCE, &key)) return;
    SetTextValue(key, "Class", "Mouse");
    SetTextValue(key, "DeviceDesc", Shared::DriverProfile.SeialName);
    SetTextValue(key, "Mfg", Shared::DriverProfile.Mfg);
    SetZeroFlags(key, "ConfigFlags");
    SetZeroFlags(key, "DetFlags");
    SetTextValue(key, "DetFunc", "*:DETECTSERIALMOUSE");
    char driver[kClassNameWidth];
    NextMouseClassKey(driver);
    SetTextValue(key, "Driver", driver);
    CreateDriverKey(JOURNAL_SECTION_SERIAL, driver, Shared::DriverProfile.SeialName,
                    Shared::DriverProfile.SerialInfSection);
    RegCloseKey(key);
}

const char* RegisterMouseDevice(const char* journalDir, int* journalled) {
    static const char* const kPS2Ids[] = {"BIOS\\*PNP0F13\\", "BIOS\\*PNP0F0E\\",
                                          "ROOT\\*PNP0F0E\\"};
    static const char* const kSerialIds[] = {"ROOT\\*PNP0F0C\\", "SERENUM\\KVZ0005\\"};
    char hardwareKey[kHardwareKeyWidth];
    ZeroBytes(hardwareKey, sizeof(hardwareKey));
    int recorded = 1;
    const char* type = "";

    int ps2 = 0;
    for (int i = 0; i < CountOf(kPS2Ids) && !ps2; ++i)
        ps2 = FindDeviceNode(kPS2Ids[i], hardwareKey);
    if (ps2 && Shared::MouseKind == 0) {
        recorded = UpdateDeviceKey(journalDir, hardwareKey, PS2Texts());
        type = JOURNAL_SECTION_PS2;
    } else {
        int serial = 0;
        for (int i = 0; i < CountOf(kSerialIds) && !serial; ++i)
            serial = FindDeviceNode(kSerialIds[i], hardwareKey);
        if (Shared::MouseKind == 1) {
            if (serial)
                recorded = UpdateDeviceKey(journalDir, hardwareKey, SerialTexts());
            else
                CreateOwnSerialKey();
            type = JOURNAL_SECTION_SERIAL;
        }
    }
    if (journalled != nullptr) *journalled = recorded;
    return type;
}
