#include <windows.h>

#include "registry/product.h"

#include "registry/device.h"
#include "registry/regio.h"
#include "runtime/text.h"
#include "script/model.h"

#define PAGE_CLSID "{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}"
#define CURRENT_VERSION "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"
#define PAGE_HANDLERS CURRENT_VERSION "\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers"

// InstallDir (at most 79 characters) and the longest appended text fit whole.
enum { kComposedWidth = 128 };

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
            char composed[kComposedWidth];
            if (TextJoin(composed, kComposedWidth, InstallDir, v.Suffix))
                SetTextValue(key, v.Name, composed);
        }
    }
    RegCloseKey(key);
}

static void WriteProductEntries() {
    const ProductValue page[] = {{nullptr, "QXMouseControlPage", nullptr}};
    const ProductValue server[] = {{nullptr, nullptr, "\\QXPAGE.DLL"},
                                   {"ThreadingModel", "Apartment", nullptr}};
    const ProductValue handlers[] = {{nullptr, "QXMousePage", nullptr}};
    const ProductValue handler[] = {{nullptr, PAGE_CLSID, nullptr}};
    const ProductValue run[] = {{"Quillotrax", nullptr, "\\QXMAIN.EXE -startup"}};
    const ProductValue uninstall[] = {{"DisplayName", DriverProfile.Title, nullptr},
                                      {"UninstallString", nullptr, "\\UNINSTAL.EXE"}};
    WriteProductKey(HKEY_CLASSES_ROOT, "CLSID\\" PAGE_CLSID, page, 1);
    WriteProductKey(HKEY_CLASSES_ROOT, "CLSID\\" PAGE_CLSID "\\InProcServer32", server, 2);
    WriteProductKey(HKEY_LOCAL_MACHINE, PAGE_HANDLERS, handlers, 1);
    WriteProductKey(HKEY_LOCAL_MACHINE, PAGE_HANDLERS "\\QXMousePage", handler, 1);
    WriteProductKey(HKEY_LOCAL_MACHINE, CURRENT_VERSION "\\Run", run, 1);
    WriteProductKey(HKEY_LOCAL_MACHINE, CURRENT_VERSION "\\Uninstall\\Quillotrax", uninstall, 2);
}

void RegisterProduct(int withProductEntries) {
    if (withProductEntries != 0) WriteProductEntries();
    RegisterMouseDevice();
}
