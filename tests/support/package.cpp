#include "support/package.h"

#include <windows.h>

#include "support/vm_host.h"
#include "support/winfiles.h"

std::string SetupExeUnderTest() {
    const std::string linuxPath = EnvText("SETUP_EXE");
    return linuxPath.empty() ? std::string() : LinuxPathToWindows(linuxPath);
}

std::string MakeTestPackage(const std::string& name, const std::string& setupInf) {
    std::string dir = MakeScratchDir(name);
    std::string exe = dir + "\\SETUP.EXE";
    if (!CopyFileA(SetupExeUnderTest().c_str(), exe.c_str(), FALSE)) return std::string();
    WriteFileBytes(dir + "\\SETUP.INF", setupInf);
    WriteFileBytes(dir + "\\README.TXT", "Read me first.\r\n");  // SmallSetupInf's one file
    return exe;
}

std::string SmallSetupInf(const std::string& productName, const std::string& defaultPath,
                          int minimumSpace, int defaultSerialMouse) {
    return "[Main]\r\n"
           "DefaultPath=" +
           defaultPath +
           "\r\n"
           "ProductName=" +
           productName +
           "\r\n"
           "MinimumSpace=" +
           std::to_string(minimumSpace) +
           "\r\n"
           "OEM=0\r\n"
           "DefaultSerialMouse=" +
           std::to_string(defaultSerialMouse) +
           "\r\n"
           "\r\n[DiskLabel]\r\nDisk1=Program files\r\n"
           "\r\n[DirectoryName]\r\nRootDir=.\r\n"
           "\r\n[FileCounts]\r\nDisk1=1\r\n"
           "\r\n[Disk1]\r\n1=README.TXT, README.TXT, Read me first, RootDir\r\n";
}

std::string ToolPath(const std::string& name) {
    return LinuxPathToWindows(EnvText("SETUP_TOOLS") + "/" + name);
}

std::string SampleSource(const std::string& relative) {
    return LinuxPathToWindows(EnvText("SETUP_ROOT") + "/demo/package/" + relative);
}

std::string MakeSamplePackage(const std::string& name) {
    std::string linuxDir = EnvText("VM_PREFIX") + "/drive_c/" + name;
    std::string command = ShellQuote(EnvText("SETUP_ROOT") + "/demo/make-package") + " " +
                          ShellQuote(linuxDir) + " " + ShellQuote(EnvText("SETUP_EXE")) + " " +
                          ShellQuote(EnvText("SETUP_TOOLS")) + " >/dev/null 2>&1";
    if (EnvText("VM_PREFIX").empty() || RunHostCommand(command, 60000) != 0) return "";
    std::string exe = "C:\\" + name + "\\SETUP.EXE";
    return FileExists(exe) ? exe : "";
}
