// The machine around an uninstallation: the state an installation touches, one line per key,
// value, file or line of system.ini, compared before and after; the counts of shared files;
// a fixture that puts the machine back and assembles the sample package as C:\SAMPLE.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

extern const std::string kCurrent;      // SOFTWARE\Microsoft\Windows\CurrentVersion
extern const std::string kMouseClass;   // the Mouse class key
extern const std::string kInstallDir;   // C:\QORVA, where the sample package installs
extern const std::string kUninstaller;  // C:\QORVA\UNINSTAL.EXE
extern const std::string kShared;       // the SharedDLLs key

// The files below dir (directories too, each file with its size), appended to out.
void DumpFiles(const std::string& dir, std::vector<std::string>& out);

// What an installation touches, sorted: the device and class keys, the product's entries,
// the shared-file counts, system.ini line by line, VMM32, C:\QORVA and the Windows files.
std::vector<std::string> MachineState();

// The lines that differ, "-" before, "+" after. Values that the uninstaller leaves by
// design (ConfigFlags of a device key, MouseType of a class key) are not counted.
std::string Differences(const std::vector<std::string>& before,
                        const std::vector<std::string>& after);

// Runs C:\QORVA\UNINSTAL.EXE; see RunUninstaller.
DWORD Uninstall(int firstAnswer, std::vector<std::string>* texts = nullptr, int restart = IDNO,
                int shared = IDYES);

// The count of a shared file; -1 when it has none. SetSharedCount writes one.
long SharedCount(const std::string& path);
void SetSharedCount(const std::string& path, DWORD count);

// The shared files the sample package installs into the Windows directories, in its order.
std::vector<std::string> SampleSharedFiles();

// The machine put back (ResetMachine, no wininit.ini), the keys every Windows 98 has, and the
// sample package in C:\SAMPLE (package: its SETUP.EXE).
class UninstallerMachine : public ::testing::Test {
  protected:
    void SetUp() override;
    std::string package;
};
