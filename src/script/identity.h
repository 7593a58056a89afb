// What names this package on a machine: the defaults of its script, the companion
// program's window, the Mouse control panel's property page, the own serial device key,
// and the entries that setup writes and the uninstaller takes away again.
//
// The values come from the identity file the build was made with (resources/identity.ini
// unless `make kit` names another): identity_values.h is generated from it, and defines
//   DEFAULT_INSTALL_PATH, DEFAULT_PRODUCT_NAME   the script's defaults
//   COMPANION_WINDOW_TITLE   the companion program's top-level window, asked to close
//                            before its files are replaced (HAS_COMPANION_WINDOW 0: none)
//   COMPANION_FILE           the companion in the installation directory that the Run
//                            entry starts (HAS_COMPANION_FILE 0: none, and no Run entry)
//   PAGE_SERVER_FILE, PAGE_CLSID, PAGE_CLASS_NAME, PAGE_HANDLER_NAME
//                            the property-page extension of the Mouse control panel
//                            (HAS_PAGE_SERVER 0: none, and no class identifier or handler)
//   UNINSTALL_KEY_NAME, RUN_VALUE_NAME, OWN_SERIAL_DEVICE_NAME   key and value names
//   IDENTITY_FILE_NAME       the identity file's name, for the checker's report
// A value that is "none" in the identity is "" here.
#pragma once

#include "identity_values.h"

#define UNINSTALLER_FILE "UNINSTAL.EXE"

// Below HKEY_LOCAL_MACHINE.
#define CURRENT_VERSION_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"
#define PAGE_HANDLERS_KEY \
    CURRENT_VERSION_KEY "\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers"
#define RUN_KEY CURRENT_VERSION_KEY "\\Run"
#define UNINSTALL_KEY CURRENT_VERSION_KEY "\\Uninstall\\" UNINSTALL_KEY_NAME
// The device key made for a serial mouse that no device node names.
#define OWN_SERIAL_DEVICE_KEY "Enum\\Root\\" OWN_SERIAL_DEVICE_NAME
#define OWN_SERIAL_DEVICE_INSTANCE OWN_SERIAL_DEVICE_KEY "\\0000"
