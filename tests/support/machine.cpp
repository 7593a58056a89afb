#include "support/machine.h"

#include <windows.h>

#include "support/registry_util.h"
#include "support/ui.h"
#include "support/winfiles.h"

namespace {

const char kEnumRoot[] = "Config Manager\\Enum";
const char kClassMouse[] = "System\\CurrentControlSet\\Services\\Class\\Mouse";
const char kProductClsid[] = "CLSID\\{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}";
const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// Copies of system.ini and VMOUSE.VXD as the template had them, taken at the first reset.
const char kSavedSystemIni[] = "C:\\tests\\system.ini.template";
const char kSavedVmouse[] = "C:\\tests\\VMOUSE.VXD.template";

void SaveOnce(const std::string& from, const char* to) {
    CreateDirectoryA("C:\\tests", nullptr);
    if (!FileExists(to)) CopyFileA(from.c_str(), to, TRUE);
}

void Restore(const char* saved, const std::string& to) {
    SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    CopyFileA(saved, to.c_str(), FALSE);
}

void Remove(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

// A companion program still running (for instance started by a restart) holds its files
// in the installation directory: ask it to close and wait until it has ended.
void CloseCompanions() {
    for (int i = 0; i < 5; ++i) {
        HWND window = FindTopWindow(nullptr, "Quillotrax");
        if (window == nullptr) return;
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (process != nullptr) {
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

void SetFlags(HKEY root, const std::string& path, const std::string& name) {
    SetRaw(root, path, name, REG_BINARY, std::string(4, '\0'));
}

}  // namespace

std::string VmouseDir() { return SystemPath() + "\\VMM32"; }

void SeedOtherDevices() {
    AddDeviceNode("C29A2B60", "Htree\\Root\\0");
    AddDeviceNode("C29A2E50", "ROOT\\*PNP0A03\\0000");
    AddDeviceNode("C29A3060", "BIOS\\*PNP0000\\0000");
    AddDeviceNode("C29A3210", "BIOS\\*PNP0303\\0000");
    AddDeviceNode("C29A3D30", "BIOS\\*PNP0501\\0000");
    AddDeviceNode("C29A3F20", "PCI\\VEN_1234&DEV_1111&SUBSYS_00000000&REV_00\\000000");
}

namespace {

// A mouse's device node, its device key below Enum and its driver class key Mouse\<index>
// with the standard driver's values; hardwareId may be null.
void SeedMouse(const char* node, const std::string& hardwareKey, const char* description,
               const char* index, const char* infSection, const char* hardwareId) {
    AddDeviceNode(node, hardwareKey);
    const std::string dev = "Enum\\" + hardwareKey;
    SetString(HKEY_LOCAL_MACHINE, dev, "Class", "Mouse");
    SetString(HKEY_LOCAL_MACHINE, dev, "DeviceDesc", description);
    SetString(HKEY_LOCAL_MACHINE, dev, "Mfg", "(Standard mouse types)");
    SetString(HKEY_LOCAL_MACHINE, dev, "Driver", std::string("Mouse\\") + index);
    if (hardwareId != nullptr) SetString(HKEY_LOCAL_MACHINE, dev, "HardwareID", hardwareId);
    SetFlags(HKEY_LOCAL_MACHINE, dev, "ConfigFlags");
    const std::string cls = std::string(kClassMouse) + "\\" + index;
    SetString(HKEY_LOCAL_MACHINE, cls, "DriverDesc", description);
    SetString(HKEY_LOCAL_MACHINE, cls, "MouseDriver", "mouse.drv");
    SetString(HKEY_LOCAL_MACHINE, cls, "InfPath", "MOUSE.INF");
    SetString(HKEY_LOCAL_MACHINE, cls, "InfSection", infSection);
    SetString(HKEY_LOCAL_MACHINE, cls, "DriverDate", " 4-23-1999");
    SetString(HKEY_LOCAL_MACHINE, cls, "DevLoader", "*vmouse");
}

}  // namespace

void SeedPs2Mouse() {
    SeedMouse("C29A3B40", "BIOS\\*PNP0F13\\0000", "Standard PS/2 Port Mouse", "0000", "PS2_Inst",
              "*PNP0F13");
    SetString(HKEY_LOCAL_MACHINE, kClassMouse, "", "Mouse");
}

void SeedSerialMouse() {
    SeedMouse("C29A3C10", "ROOT\\*PNP0F0C\\0000", "Standard Serial Mouse", "0001", "Ser_Inst",
              nullptr);
}

void ResetMachine() {
    const std::string win = WindowsPath();
    SaveOnce(win + "\\system.ini", kSavedSystemIni);
    SaveOnce(VmouseDir() + "\\VMOUSE.VXD", kSavedVmouse);

    DeleteTree(HKEY_DYN_DATA, kEnumRoot);
    DeleteTree(HKEY_LOCAL_MACHINE, "Enum\\BIOS");
    DeleteTree(HKEY_LOCAL_MACHINE, "Enum\\ROOT");
    DeleteTree(HKEY_LOCAL_MACHINE, kClassMouse);
    DeleteTree(HKEY_CLASSES_ROOT, kProductClsid);
    DeleteTree(HKEY_LOCAL_MACHINE, std::string(kCurrentVersion) + "\\Controls Folder\\Mouse");
    DeleteTree(HKEY_LOCAL_MACHINE, std::string(kCurrentVersion) + "\\Uninstall\\Quillotrax");
    DeleteTree(HKEY_LOCAL_MACHINE, std::string(kCurrentVersion) + "\\SharedDLLs");
    HKEY run;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kCurrentVersion) + "\\Run").c_str(), 0,
                      KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "Quillotrax");
        RegCloseKey(run);
    }

    CloseCompanions();
    RemoveTree("C:\\QORVA");
    Remove("C:\\QXMAIN.LOG");
    for (const char* f : {"\\QXMOUSE.INI", "\\INF\\QXMOUSE.INF", "\\SYSTEM\\QXMOUSE.DRV",
                          "\\SYSTEM\\QXMOUSE.VXD", "\\system.bak", "\\system.new"})
        Remove(win + f);
    Remove(VmouseDir() + "\\VMOUSE.BAK");
    Restore(kSavedSystemIni, win + "\\system.ini");
    Restore(kSavedVmouse, VmouseDir() + "\\VMOUSE.VXD");
}
