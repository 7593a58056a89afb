#include <windows.h>

#include "registry/product.h"

#include "registry/device.h"
#include "registry/regio.h"
#include "runtime/text.h"
#include "script/identity.h"
#include "script/model.h"

// One value of a product key: data is fixed text, or InstallDir followed by suffix.
struct ProductValue {
    const char* Name;    // null for the key's unnamed value
    const char* Data;    // fixed data, or null when composed
    const char* Suffix;  // appended to InstallDir when Data is null
};

static void WriteProductKey(HKEY root, const char* path, const ProductValue* values, int count) {
    HKEY key;
    if (!CreateKeyFull(root, path, &key)) return;
    for (int i = 0; i < count; ++i) {
        const ProductValue& v = values[i];
        if (v.Data != nullptr) {
            SetTextValue(key, v.Name, v.Data);
        } else {
            char composed[kProductValueWidth];
            if (TextJoin(composed, kProductValueWidth, Shared::InstallDir, v.Suffix))
                SetTextValue(key, v.Name, composed);
        }
    }
    RegCloseKey(key);
}

static void WriteProductEntries() {
    const ProductValue page[] = {{nullptr, PAGE_CLASS_NAME, nullptr}};
    const ProductValue server[] = {{nullptr, nullptr, "\\" PAGE_SERVER_FILE},
                                   {"ThreadingModel", "Apartment", nullptr}};
    const ProductValue handlers[] = {{nullptr, PAGE_HANDLER_NAME, nullptr}};
    const ProductValue handler[] = {{nullptr, PAGE_CLSID, nullptr}};
    const ProductValue run[] = {{RUN_VALUE_NAME, nullptr, "\\" COMPANION_FILE " -startup"}};
    const ProductValue uninstall[] = {{"DisplayName", Shared::DriverProfile.Title, nullptr},
                                      {"UninstallString", nullptr, "\\" UNINSTALLER_FILE}};
    // A product without a property page or a companion program has no entry for it.
    if (HAS_PAGE_SERVER) {
        WriteProductKey(HKEY_CLASSES_ROOT, "CLSID\\" PAGE_CLSID, page, 1);
        WriteProductKey(HKEY_CLASSES_ROOT, "CLSID\\" PAGE_CLSID "\\InProcServer32", server, 2);
        WriteProductKey(HKEY_LOCAL_MACHINE, PAGE_HANDLERS_KEY, handlers, 1);
        WriteProductKey(HKEY_LOCAL_MACHINE, PAGE_HANDLERS_KEY "\\" PAGE_HANDLER_NAME, handler, 1);
    }
    if (HAS_COMPANION_FILE) WriteProductKey(HKEY_LOCAL_MACHINE, RUN_KEY, run, 1);
    WriteProductKey(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, uninstall, 2);
}

int Shared::DriverSwitched = 1;

int RegisterProduct(int withProductEntries, const char* journalDir) {
    if (withProductEntries != 0) WriteProductEntries();
    RegisterMouseDevice(journalDir, &Shared::DriverSwitched);
    return Shared::DriverSwitched;
}
