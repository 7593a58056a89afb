#include "support/uninstall_state.h"

#include <algorithm>

#include "support/machine.h"
#include "support/package.h"
#include "support/registry_util.h"
#include "support/uninstall_run.h"
#include "support/winfiles.h"

const std::string kCurrent = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kMouseClass = "System\\CurrentControlSet\\Services\\Class\\Mouse";
const std::string kInstallDir = "C:\\QORVA";
const std::string kUninstaller = kInstallDir + "\\UNINSTAL.EXE";
const std::string kShared = kCurrent + "\\SharedDLLs";

static std::string Printable(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 32 && c < 127)
            out += static_cast<char>(c);
        else
            out += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
    }
    return out;
}

static void DumpKey(HKEY root, const std::string& label, const std::string& path,
                    std::vector<std::string>& out) {
    if (!KeyExists(root, path)) return;
    out.push_back(label + path);
    for (const std::string& name : ValueNames(root, path)) {
        RegValue v = ReadValue(root, path, name);
        out.push_back(label + path + " |" + name + "| " + std::to_string(v.type) + " " +
                      Printable(v.data));
    }
    for (const std::string& sub : SubkeyNames(root, path))
        DumpKey(root, label, path + "\\" + sub, out);
}

void DumpFiles(const std::string& dir, std::vector<std::string>& out) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = fd.cFileName, path = dir + "\\" + name;
        if (name == "." || name == "..") continue;
        out.push_back(path);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            DumpFiles(path, out);
        else
            out.back() += " " + std::to_string(ReadFileBytes(path).size()) + " bytes";
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

// What an installation touches, one line per key, value, file or line of system.ini.
std::vector<std::string> MachineState() {
    std::vector<std::string> s;
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM\\", "Enum", s);
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM\\", kMouseClass, s);
    DumpKey(HKEY_CLASSES_ROOT, "HKCR\\", "CLSID\\{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}", s);
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM\\", kCurrent + "\\Controls Folder", s);
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM\\", kCurrent + "\\Uninstall\\Quillotrax", s);
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM\\", kShared, s);
    s.push_back("Run Quillotrax: " +
                ReadText(HKEY_LOCAL_MACHINE, kCurrent + "\\Run", "Quillotrax"));
    std::string ini = ReadFileBytes(WindowsPath() + "\\system.ini");
    for (size_t at = 0, n = 0; at < ini.size(); ++n) {
        size_t end = ini.find('\n', at);
        end = end == std::string::npos ? ini.size() : end + 1;
        s.push_back("system.ini " + std::to_string(n) + ": " + Printable(ini.substr(at, end - at)));
        at = end;
    }
    DumpFiles(VmouseDir(), s);
    if (FileExists(kInstallDir)) s.push_back(kInstallDir);
    DumpFiles(kInstallDir, s);
    for (const char* f : {"\\QXMOUSE.INI", "\\INF\\QXMOUSE.INF", "\\SYSTEM\\QXMOUSE.DRV",
                          "\\SYSTEM32\\QXMOUSE.DRV", "\\SYSTEM32\\QXMOUSE.VXD", "\\system.bak"})
        if (FileExists(WindowsPath() + f)) s.push_back(WindowsPath() + f);
    std::sort(s.begin(), s.end());
    return s;
}

// The lines that differ, "-" before, "+" after. Values that the uninstaller leaves by
// design (ConfigFlags of a device key, MouseType of a class key) are not counted.
std::string Differences(const std::vector<std::string>& before,
                        const std::vector<std::string>& after) {
    std::string d;
    for (const std::string& l : before)
        if (!std::binary_search(after.begin(), after.end(), l)) d += "- " + l + "\n";
    for (const std::string& l : after)
        if (!std::binary_search(before.begin(), before.end(), l) &&
            l.find("|ConfigFlags|") == std::string::npos &&
            l.find("|MouseType|") == std::string::npos)
            d += "+ " + l + "\n";
    return d;
}

DWORD Uninstall(int firstAnswer, std::vector<std::string>* texts, int restart, int shared) {
    return RunUninstaller(kUninstaller, firstAnswer, texts, restart, shared);
}

// The count of a shared file; -1 when it has none.
long SharedCount(const std::string& path) {
    RegValue v = ReadValue(HKEY_LOCAL_MACHINE, kShared, path);
    if (v.type != REG_DWORD || v.data.size() != 4) return -1;
    return static_cast<unsigned char>(v.data[0]) | static_cast<unsigned char>(v.data[1]) << 8;
}

void SetSharedCount(const std::string& path, DWORD count) {
    SetRaw(HKEY_LOCAL_MACHINE, kShared, path, REG_DWORD,
           std::string(reinterpret_cast<const char*>(&count), 4));
}

// The shared files the sample package installs into the Windows directories.
std::vector<std::string> SampleSharedFiles() {
    std::vector<std::string> files;
    for (const char* f :
         {"\\SYSTEM\\QXMOUSE.DRV", "\\SYSTEM\\QXMOUSE.VXD", "\\INF\\QXMOUSE.INF", "\\QXMOUSE.INI"})
        files.push_back(WindowsPath() + f);
    return files;
}

void UninstallerMachine::SetUp() {
    ResetMachine();
    DeleteFileA((WindowsPath() + "\\wininit.ini").c_str());
    SeedOtherDevices();
    // A Windows 98 machine has these keys whatever its mouse, and counts of shared files.
    SetString(HKEY_LOCAL_MACHINE, kMouseClass, "", "Mouse");
    SetString(HKEY_LOCAL_MACHINE, "Enum\\Root\\*PNP0C01\\0000", "DeviceDesc", "System board");
    SetSharedCount(SystemPath() + "\\MFC42.DLL", 3);
    package = MakeSamplePackage("SAMPLE");
    ASSERT_FALSE(package.empty());
}
