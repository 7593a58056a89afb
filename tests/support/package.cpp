#include "support/package.h"

#include <windows.h>

#include <cstdlib>

#include "support/ui.h"
#include "support/winfiles.h"

std::string SetupExeUnderTest() {
    const char* linuxPath = std::getenv("SETUP_EXE");
    return linuxPath != nullptr ? LinuxPathToWindows(linuxPath) : std::string();
}

std::string MakeTestPackage(const std::string& name, const std::string& setupInf) {
    std::string dir = MakeScratchDir(name);
    std::string exe = dir + "\\SETUP.EXE";
    if (!CopyFileA(SetupExeUnderTest().c_str(), exe.c_str(), FALSE)) return std::string();
    WriteFileBytes(dir + "\\SETUP.INF", setupInf);
    return exe;
}

std::string SmallSetupInf(const std::string& productName, const std::string& defaultPath,
                          int minimumSpace, int defaultSerialMouse) {
    return "[Main]\r\n"
           "DefaultPath=" + defaultPath + "\r\n"
           "ProductName=" + productName + "\r\n"
           "MinimumSpace=" + std::to_string(minimumSpace) + "\r\n"
           "OEM=0\r\n"
           "DefaultSerialMouse=" + std::to_string(defaultSerialMouse) + "\r\n"
           "\r\n[DiskLabel]\r\nDisk1=Program files\r\n"
           "\r\n[DirectoryName]\r\nRootDir=.\r\n"
           "\r\n[FileCounts]\r\nDisk1=1\r\n"
           "\r\n[Disk1]\r\n1=README.TXT, README.TXT, Read me first, RootDir\r\n";
}
