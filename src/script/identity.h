// What names this package on a machine: the defaults of its script, the companion
// program's window, the Mouse control panel's property page, the own serial device key,
// and the entries that setup writes and the uninstaller takes away again.
#pragma once

#define DEFAULT_INSTALL_PATH "C:\\QORVA"
#define DEFAULT_PRODUCT_NAME "Qorva"

// The companion program's top-level window, asked to close before its files are replaced.
#define COMPANION_WINDOW_TITLE "Quillotrax"

// Files of the installation directory that the registry entries name.
#define COMPANION_FILE "QXMAIN.EXE"
#define PAGE_SERVER_FILE "QXPAGE.DLL"
#define UNINSTALLER_FILE "UNINSTAL.EXE"

// The property-page extension of the Mouse control panel.
#define PAGE_CLSID "{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}"
#define PAGE_CLASS_NAME "QXMouseControlPage"
#define PAGE_HANDLER_NAME "QXMousePage"

// Below HKEY_LOCAL_MACHINE.
#define CURRENT_VERSION_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"
#define PAGE_HANDLERS_KEY \
    CURRENT_VERSION_KEY "\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers"
#define RUN_KEY CURRENT_VERSION_KEY "\\Run"
#define RUN_VALUE_NAME "Quillotrax"
#define UNINSTALL_KEY CURRENT_VERSION_KEY "\\Uninstall\\Quillotrax"
// The device key made for a serial mouse that no device node names.
#define OWN_SERIAL_DEVICE_KEY "Enum\\Root\\QorvaMouse"
#define OWN_SERIAL_DEVICE_INSTANCE OWN_SERIAL_DEVICE_KEY "\\0000"

// The copying page's status while the registration runs.
#define UPDATING_REGISTRY_TEXT "Updating Registry..."
