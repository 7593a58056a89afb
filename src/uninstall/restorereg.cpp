#include <windows.h>

#include "uninstall/restorereg.h"

#include "registry/classnumber.h"
#include "registry/regio.h"
#include "runtime/countof.h"
#include "runtime/text.h"
#include "script/identity.h"
#include "script/journal.h"
#include "script/model.h"
#include "uninstall/journalkeys.h"

namespace {

// The default of a journal read that tells a missing key from an empty one: a journalled
// value never holds a control character.
const char kMissing[] = "\x01";

enum {
    kPathWidth = 128,
    kSections = 2,
};

const char* const kSectionNames[kSections] = {JOURNAL_SECTION_PS2, JOURNAL_SECTION_SERIAL};
const char* const kDeviceValues[] = {"DeviceDesc", "Mfg"};
const char* const kClassValues[] = {"MouseDriver", "InfPath", "DriverDesc", "DriverDate",
                                    "InfSection"};

// What one journal section names.
struct JournalSection {
    char DeviceKey[kPathWidth];  // SubKey1, or empty
    char ClassKey[kPathWidth];   // SubKey2, or empty
    int ClassRestored;           // SubKey2 has journalled values: the key existed before
};

JournalSection Sections[kSections];

// The keys the journal named that no setup journals, in the order met, "; " between them.
enum { kLeftAloneWidth = kSections * 2 * (kPathWidth + 2) };
char LeftAlone[kLeftAloneWidth];

// The journalled value of key in out; 0 when the journal has no such key.
int JournalValue(const char* section, const char* key, char* out) {
    TextCopy(out, kJournalWidth, JournalRead(Shared::InstallDir, section, key, kMissing));
    return !TextEqual(out, kMissing);
}

// Puts back each journalled value of names: an empty one did not exist and is deleted.
// Values the journal does not hold are left as they are.
void PutBack(const char* section, const char* keyPath, const char* const* names, int count) {
    HKEY key;
    if (!OpenKeyFull(HKEY_LOCAL_MACHINE, keyPath, &key)) return;
    for (int i = 0; i < count; ++i) {
        char value[kJournalWidth];
        if (!JournalValue(section, names[i], value)) continue;
        if (value[0] == 0)
            RegDeleteValueA(key, names[i]);
        else
            SetTextValue(key, names[i], value);
    }
    RegCloseKey(key);
}

// Notes a key that the journal names but may not touch, and forgets it.
void LeaveAlone(char* key) {
    if (LeftAlone[0] != 0) TextAppend(LeftAlone, kLeftAloneWidth, "; ");
    TextAppend(LeftAlone, kLeftAloneWidth, key);
    key[0] = 0;
}

void ReadSection(int s) {
    JournalSection& j = Sections[s];
    const char* name = kSectionNames[s];
    TextCopy(j.DeviceKey, kPathWidth, JournalRead(Shared::InstallDir, name, "SubKey1", ""));
    TextCopy(j.ClassKey, kPathWidth, JournalRead(Shared::InstallDir, name, "SubKey2", ""));
    if (j.DeviceKey[0] != 0 && !TrustedDeviceKey(j.DeviceKey)) LeaveAlone(j.DeviceKey);
    if (j.ClassKey[0] != 0 && !TrustedClassKey(j.ClassKey)) LeaveAlone(j.ClassKey);
    j.ClassRestored = 0;
    for (const char* value : kClassValues) {
        char unused[kJournalWidth];
        if (JournalValue(name, value, unused)) j.ClassRestored = 1;
    }
}

// "Mouse\nnnn" of a class key path below the class root, or null for another path.
const char* DriverNameOf(const char* classPath) {
    int n = TextLength(CLASS_KEY_ROOT);
    for (int i = 0; i < n; ++i) {
        char a = classPath[i], b = CLASS_KEY_ROOT[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return nullptr;
    }
    return classPath + n;
}

// 1 when the journal restores the class key of this driver name.
int JournalRestores(const char* driverName) {
    for (const JournalSection& j : Sections) {
        const char* name = DriverNameOf(j.ClassKey);
        if (j.ClassRestored && name != nullptr && TextEqualNoCase(name, driverName)) return 1;
    }
    return 0;
}

// 1 when path is a device key that the journal restores.
int JournalledDevice(const char* path) {
    for (const JournalSection& j : Sections)
        if (j.DeviceKey[0] != 0 && TextEqualNoCase(j.DeviceKey, path)) return 1;
    return 0;
}

// 1 when a device key below HKLM\Enum (Enum\enumerator\device\instance) other than the
// journalled ones names driverName in its Driver value.
int AnotherDeviceNames(const char* driverName) {
    HKEY enumKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum", 0, KEY_READ, &enumKey) != ERROR_SUCCESS) return 0;
    int named = 0;
    ForEachSubkey(enumKey, [&](const char* enumerator) {
        HKEY e;
        if (RegOpenKeyExA(enumKey, enumerator, 0, KEY_READ, &e) != ERROR_SUCCESS) return 1;
        ForEachSubkey(e, [&](const char* device) {
            HKEY d;
            if (RegOpenKeyExA(e, device, 0, KEY_READ, &d) != ERROR_SUCCESS) return 1;
            ForEachSubkey(d, [&](const char* instance) {
                char path[kPathWidth];
                if (!TextJoin(path, kPathWidth, "Enum\\", enumerator, "\\", device) ||
                    !TextAppend(path, kPathWidth, "\\") ||
                    !TextAppend(path, kPathWidth, instance) || JournalledDevice(path))
                    return 1;
                HKEY i;
                if (RegOpenKeyExA(d, instance, 0, KEY_READ, &i) != ERROR_SUCCESS) return 1;
                char driver[kOldValueWidth];
                ReadOldText(i, "Driver", driver);
                RegCloseKey(i);
                if (TextEqualNoCase(driver, driverName)) named = 1;
                return named ? 0 : 1;
            });
            RegCloseKey(d);
            return named ? 0 : 1;
        });
        RegCloseKey(e);
        return named ? 0 : 1;
    });
    RegCloseKey(enumKey);
    return named;
}

// 1 when the class key of driverName holds the driver texts that this package writes.
int CarriesPackageTexts(const char* driverName) {
    const DriverProfileModel& p = Shared::DriverProfile;
    if (p.MouseDriver[0] == 0 || (p.PS2Name[0] == 0 && p.SeialName[0] == 0)) return 0;
    char path[kPathWidth];
    if (!TextJoin(path, kPathWidth, CLASS_KEY_ROOT, driverName)) return 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    char desc[kOldValueWidth], driver[kOldValueWidth], section[kOldValueWidth];
    ReadOldText(key, "DriverDesc", desc);
    ReadOldText(key, "MouseDriver", driver);
    ReadOldText(key, "InfSection", section);
    RegCloseKey(key);
    int ps2 =
        p.PS2Name[0] != 0 && TextEqual(desc, p.PS2Name) && TextEqual(section, p.PS2InfSection);
    int serial = p.SeialName[0] != 0 && TextEqual(desc, p.SeialName) &&
                 TextEqual(section, p.SerialInfSection);
    return TextEqual(driver, p.MouseDriver) && (ps2 || serial);
}

// Deletes the class key of driverName unless the journal restores it or another device
// names it.
void DeleteClassKey(const char* driverName) {
    if (JournalRestores(driverName) || AnotherDeviceNames(driverName)) return;
    char path[kPathWidth];
    if (TextJoin(path, kPathWidth, CLASS_KEY_ROOT, driverName))
        DeleteKeyTree(HKEY_LOCAL_MACHINE, path);
}

// A journalled device key whose section names no class key had no Driver value before:
// the one that setup wrote, naming a class key of this package's, goes.
void DropWrittenDriver(const JournalSection& j) {
    if (j.DeviceKey[0] == 0 || j.ClassKey[0] != 0) return;
    HKEY key;
    if (!OpenKeyFull(HKEY_LOCAL_MACHINE, j.DeviceKey, &key)) return;
    char driver[kOldValueWidth];
    ReadOldText(key, "Driver", driver);
    if (driver[0] != 0 && !JournalRestores(driver) && CarriesPackageTexts(driver))
        RegDeleteValueA(key, "Driver");
    RegCloseKey(key);
}

// Every mouse class key with this package's texts; the names are gathered first, since
// deleting keys while they are listed moves the listing.
void SweepPackageClassKeys() {
    HKEY mouseClass;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, MOUSE_CLASS_KEY, 0, KEY_READ, &mouseClass) !=
        ERROR_SUCCESS)
        return;
    enum { kMaxSwept = 64 };
    static char found[kMaxSwept][kClassNameWidth];
    int count = 0;
    ForEachSubkey(mouseClass, [&](const char* number) {
        char driverName[kClassNameWidth];
        if (count < kMaxSwept && TextJoin(driverName, kClassNameWidth, "Mouse\\", number) &&
            CarriesPackageTexts(driverName))
            TextCopy(found[count++], kClassNameWidth, driverName);
        return 1;
    });
    RegCloseKey(mouseClass);
    for (int i = 0; i < count; ++i) DeleteClassKey(found[i]);
}

// Deletes the key at path, then up to levels keys above it that are left empty.
void DeleteUpwards(HKEY root, const char* path, int levels) {
    char p[kPathWidth];
    if (!TextCopy(p, kPathWidth, path)) return;
    DeleteKeyTree(root, p);
    for (int level = 0; level < levels; ++level) {
        int cut = TextLastBackslash(p);
        if (cut < 0) return;
        p[cut] = 0;
        // A level may be missing: a registration cut short made only the keys above it.
        HKEY key;
        if (RegOpenKeyExA(root, p, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
        int empty = KeyIsEmpty(key);
        RegCloseKey(key);
        if (!empty || RegDeleteKeyA(root, p) != ERROR_SUCCESS) return;
    }
}

// The product entries: the page's class identifier, the Mouse control panel's handler
// (and the keys above it that setup made and nothing else uses), the Run value and the
// Uninstall key.
void RemoveProductEntries() {
    HKEY key;
    // A product without a property page or a companion program wrote no entry for it, and
    // one of that name belongs to somebody else.
    if (HAS_PAGE_SERVER) {
        DeleteKeyTree(HKEY_CLASSES_ROOT, "CLSID\\" PAGE_CLSID);
        if (OpenKeyFull(HKEY_LOCAL_MACHINE, PAGE_HANDLERS_KEY, &key)) {
            char unnamed[kOldValueWidth];
            ReadOldText(key, nullptr, unnamed);
            if (TextEqual(unnamed, PAGE_HANDLER_NAME)) RegDeleteValueA(key, nullptr);
            RegCloseKey(key);
        }
        // ...\Controls Folder\Mouse\shellex\PropertySheetHandlers\<handler>: up to Mouse.
        DeleteUpwards(HKEY_LOCAL_MACHINE, PAGE_HANDLERS_KEY "\\" PAGE_HANDLER_NAME, 3);
    }
    if (HAS_COMPANION_FILE && OpenKeyFull(HKEY_LOCAL_MACHINE, RUN_KEY, &key)) {
        RegDeleteValueA(key, RUN_VALUE_NAME);
        RegCloseKey(key);
    }
    DeleteKeyTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
}

}  // namespace

const char* JournalKeysLeftAlone() { return LeftAlone; }

void RestoreRegistry() {
    LeftAlone[0] = 0;
    for (int s = 0; s < kSections; ++s) {
        ReadSection(s);
        const JournalSection& j = Sections[s];
        if (j.DeviceKey[0] != 0)
            PutBack(kSectionNames[s], j.DeviceKey, kDeviceValues, CountOf(kDeviceValues));
        if (j.ClassRestored)
            PutBack(kSectionNames[s], j.ClassKey, kClassValues, CountOf(kClassValues));
    }
    for (const JournalSection& j : Sections) {
        // A class key the journal names without values did not exist before setup ran.
        const char* name = DriverNameOf(j.ClassKey);
        if (!j.ClassRestored && name != nullptr && name[0] != 0) DeleteClassKey(name);
        DropWrittenDriver(j);
    }
    DeleteKeyTree(HKEY_LOCAL_MACHINE, OWN_SERIAL_DEVICE_KEY);
    SweepPackageClassKeys();
    RemoveProductEntries();
}
