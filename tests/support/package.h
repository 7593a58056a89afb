// Test packages: a directory below C:\tests holding the SETUP.EXE under test beside a
// SETUP.INF written by the test, or the sample package assembled whole.
#pragma once
#include <string>

// The Windows path of the SETUP.EXE under test (environment SETUP_EXE, a Linux path).
std::string SetupExeUnderTest();

// Makes C:\tests\<name> with SETUP.EXE, the given SETUP.INF text (aged, so that the
// profile functions cache it) and a README.TXT; returns the path of that SETUP.EXE, or "" on failure.
std::string MakeTestPackage(const std::string& name, const std::string& setupInf);

// A small script: [Main] with the given values and one disk of one file.
std::string SmallSetupInf(const std::string& productName, const std::string& defaultPath,
                          int minimumSpace, int defaultSerialMouse = 1);

// Assembles the sample package (demo/make-package) as C:\<name>; the Windows path of its
// SETUP.EXE, or "" on failure.
std::string MakeSamplePackage(const std::string& name);

// A file of the sample package's sources (demo/package/<relative>), as a Windows path.
std::string SampleSource(const std::string& relative);

// A Windows tool of ours (out/x86_64/tools/<name>), as a Windows path.
std::string ToolPath(const std::string& name);
