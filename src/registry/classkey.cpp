#include <windows.h>

#include "registry/classkey.h"

#include "registry/classnumber.h"
#include "registry/regio.h"
#include "runtime/countof.h"
#include "runtime/text.h"
#include "script/journal.h"
#include "script/model.h"

enum {
    kClassPathWidth = 128,  // the class root (40 characters) and a driver name of up to 79
};

// 1 when the mouse class already holds a subkey named for number.
static int ClassNumberTaken(HKEY mouseClass, int32_t number) {
    char digits[16];
    if (!TextFromInt(digits, sizeof(digits), number, 4)) return 0;
    HKEY key;
    if (RegOpenKeyExA(mouseClass, digits, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    RegCloseKey(key);
    return 1;
}

void NextMouseClassKey(char* out) {
    ClassScan scan;
    ClassScanStart(&scan);
    HKEY mouseClass;
    int opened = OpenKeyFull(HKEY_LOCAL_MACHINE, MOUSE_CLASS_KEY, &mouseClass);
    if (opened)
        ForEachSubkey(mouseClass, [&scan](const char* name) { return ClassScanTake(&scan, name); });
    // The scan trusts the listing order; a name that exists all the same is never handed
    // out, since writing into it would overwrite another device's driver settings.
    int32_t number = ClassScanCandidate(&scan);
    if (opened) {
        while (ClassNumberTaken(mouseClass, number)) ++number;
        RegCloseKey(mouseClass);
    }
    FormatClassName(out, kClassNameWidth, number);
}

int UpdateDriverKey(const DriverJournal& journal, const char* driverName, const char* description,
                    const char* infSection) {
    char path[kClassPathWidth];
    if (!TextJoin(path, kClassPathWidth, CLASS_KEY_ROOT, driverName)) return 1;
    HKEY key;
    int opened = OpenKeyFull(HKEY_LOCAL_MACHINE, path, &key);
    if (!JournalWrite(journal.Dir, journal.MouseType, "SubKey2", path)) {
        if (opened) RegCloseKey(key);
        return 0;  // the uninstaller could not find the key again
    }
    if (!opened) {
        CreateDriverKey(journal.MouseType, driverName, description, infSection);
        return 1;
    }
    const char* names[] = {"MouseDriver", "InfPath", "DriverDesc", "DriverDate", "InfSection"};
    const char* values[] = {Shared::DriverProfile.MouseDriver, Shared::DriverProfile.MouseInf,
                            description, Shared::DriverProfile.DriverDate, infSection};
    int recorded = 1;
    for (int i = 0; i < CountOf(names); ++i) {
        char old[kOldValueWidth];
        ReadOldText(key, names[i], old);
        if (JournalWrite(journal.Dir, journal.MouseType, names[i], old))
            SetTextValue(key, names[i], values[i]);
        else
            recorded = 0;
    }
    if (recorded) SetTextValue(key, "MouseType", journal.MouseType);
    RegCloseKey(key);
    return recorded;
}

void CreateDriverKey(const char* mouseType, const char* driverName, const char* description,
                     const char* infSection) {
    char path[kClassPathWidth];
    if (!TextJoin(path, kClassPathWidth, CLASS_KEY_ROOT, driverName)) return;
    HKEY key;
    if (!CreateKeyFull(HKEY_LOCAL_MACHINE, path, &key)) return;
    SetTextValue(key, "DevLoader", "*vmouse");
    SetTextValue(key, "MouseType", mouseType);
    SetTextValue(key, "MouseDriver", Shared::DriverProfile.MouseDriver);
    SetTextValue(key, "InfPath", Shared::DriverProfile.MouseInf);
    SetTextValue(key, "DriverDesc", description);
    SetTextValue(key, "DriverDate", Shared::DriverProfile.DriverDate);
    SetTextValue(key, "InfSection", infSection);
    RegCloseKey(key);
}
