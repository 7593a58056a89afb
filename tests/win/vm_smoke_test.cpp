// The virtual Windows 98 machine is what the other Windows-side tests take for granted:
// Windows 98 version, a Windows 98 SYSTEM.INI and mouse VxD, the requested screen, a working
// HKEY_DYN_DATA, the registry helper, and X input and screenshots from inside a test.
// It runs at 640 x 480 and at 1024 x 768 (see cmake/windows-tests.cmake).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/ui.h"
#include "support/vm_host.h"
#include "support/winfiles.h"

namespace {

// Runs a Windows program to its end and returns its exit code (-1 if it did not start).
int RunProgram(const std::string& exe, const std::string& args) {
    std::string commandLine = QuoteArgument(exe) + " " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return -1;
    }
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return static_cast<int>(code);
}

std::string ReadText(HKEY root, const char* path, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    char buf[512] = {};
    DWORD size = sizeof buf - 1, type = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? std::string(buf) : "<no value>";
}

}  // namespace

TEST(VirtualMachine, ReportsTheWindows98Family) {
    DWORD version = GetVersion();
    EXPECT_NE(version & 0x80000000u, 0u) << std::hex << version;
    EXPECT_EQ(LOBYTE(LOWORD(version)), 4);
    EXPECT_EQ(HIBYTE(LOWORD(version)), 10);
}

TEST(VirtualMachine, HasWindows98SystemFiles) {
    const std::string ini = WindowsPath() + "\\system.ini";
    ASSERT_TRUE(FileExists(ini));
    EXPECT_NE(ReadFileBytes(ini).find("[386Enh]\r\n"), std::string::npos);
    char mouse[64] = {};
    GetPrivateProfileStringA("386Enh", "mouse", "", mouse, sizeof mouse, ini.c_str());
    EXPECT_STREQ(mouse, "*vmd");
    char drv[64] = {};
    GetPrivateProfileStringA("boot", "mouse.drv", "", drv, sizeof drv, ini.c_str());
    EXPECT_STREQ(drv, "mouse.drv");

    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_TRUE(FileExists(std::string(system) + "\\VMM32\\VMOUSE.VXD"));
    EXPECT_TRUE(FileExists(WindowsPath() + "\\Fonts\\sserife.fon"));
}

TEST(VirtualMachine, ScreenHasTheRequestedSize) {
    const std::string requested = EnvText("VM_SCREEN");
    ASSERT_FALSE(requested.empty()) << "run under tools/vm/vmrun";
    char actual[32];
    wsprintfA(actual, "%dx%d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(requested, actual);
}

TEST(VirtualMachine, DynDataKeysAreCreatedAndEnumerated) {
    HKEY enumKey;
    ASSERT_EQ(RegCreateKeyExA(HKEY_DYN_DATA, "Config Manager\\Enum", 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &enumKey, nullptr),
              ERROR_SUCCESS);
    const char* nodes[] = {"C29A3B40", "C29A3B41"};
    for (const char* node : nodes) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(enumKey, node, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const char hardware[] = "BIOS\\*PNP0F13\\0000";
        EXPECT_EQ(RegSetValueExA(key, "HardWareKey", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(hardware), sizeof hardware),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    std::string seen;
    char name[64];
    for (DWORD i = 0; RegEnumKeyA(enumKey, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
        seen += std::string(name) + ";";
    }
    RegCloseKey(enumKey);
    EXPECT_NE(seen.find("C29A3B40;"), std::string::npos) << seen;
    EXPECT_NE(seen.find("C29A3B41;"), std::string::npos) << seen;
    EXPECT_EQ(ReadText(HKEY_DYN_DATA, "Config Manager\\Enum\\C29A3B41", "HardWareKey"),
              "BIOS\\*PNP0F13\\0000");
}

TEST(VirtualMachine, HelperSeedsKeysThatOtherProcessesRead) {
    const std::string tools = EnvText("SETUP_TOOLS");
    ASSERT_FALSE(tools.empty());
    const std::string helper = LinuxPathToWindows(tools + "/vmhelper.exe");
    ASSERT_TRUE(FileExists(helper)) << helper;

    // Several commands in one run; the volatile key outlives the helper's process.
    EXPECT_EQ(RunProgram(helper,
                         "setsz HKDD \"Config Manager\\Enum\\C0FFEE00\" HardWareKey "
                         "\"BIOS\\*PNP0F13\\0000\" ; setdw HKDD \"Config Manager\\Enum\\C0FFEE00\""
                         " Problem 0x1c ; setbin HKLM Enum\\Smoke Data \"01 02 ff\""),
              0);
    EXPECT_EQ(ReadText(HKEY_DYN_DATA, "Config Manager\\Enum\\C0FFEE00", "HardWareKey"),
              "BIOS\\*PNP0F13\\0000");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_DYN_DATA, "Config Manager\\Enum\\C0FFEE00", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD problem = 0, size = sizeof problem, type = 0;
    EXPECT_EQ(
        RegQueryValueExA(key, "Problem", nullptr, &type, reinterpret_cast<BYTE*>(&problem), &size),
        ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(problem, 0x1cu);

    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum\\Smoke", 0, KEY_READ, &key), ERROR_SUCCESS);
    BYTE data[8] = {};
    size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "Data", nullptr, &type, data, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(size, 3u);
    EXPECT_EQ(data[2], 0xff);

    // exists answers by exit code; deltree removes the whole tree; bad usage is 2.
    EXPECT_EQ(RunProgram(helper, "exists HKDD \"Config Manager\\Enum\\C0FFEE00\" Problem"), 0);
    EXPECT_EQ(RunProgram(helper, "exists HKDD \"Config Manager\\Enum\\C0FFEE00\" Missing"), 1);
    EXPECT_EQ(RunProgram(helper, "deltree HKDD \"Config Manager\\Enum\\C0FFEE00\""), 0);
    EXPECT_EQ(RunProgram(helper, "exists HKDD \"Config Manager\\Enum\\C0FFEE00\""), 1);
    EXPECT_EQ(RunProgram(helper, "frobnicate HKLM Enum"), 2);
    EXPECT_EQ(RunProgram(helper, "get HKXX Enum x"), 2);
}

TEST(VirtualMachine, HostCommandsRunAndTakeScreenshots) {
    EXPECT_EQ(RunHostCommand("exit 3"), 3);
    EXPECT_EQ(RunHostCommand("test \"$DISPLAY\" = \"$VM_DISPLAY\" && test -n \"$DISPLAY\""), 0);
    // Quotes, backslashes and dollars reach the shell unchanged.
    EXPECT_EQ(RunHostCommand("test 'a\"b\\\\c $x' = \"a\\\"b\\\\\\\\c \\$x\""), 0);

    const std::string shot = HostScratchDir() + "/smoke-shot.png";
    ASSERT_TRUE(SaveScreenshot(shot));
    const std::string png = ReadFileBytes(LinuxPathToWindows(shot));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto be32 = [&](size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) |
               (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) |
               static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(be32(20), GetSystemMetrics(SM_CYSCREEN));
}

TEST(VirtualMachine, XKeyPressesReachTheFocusedWindow) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 20, 200, 24,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    SetForegroundWindow(edit);
    SetFocus(edit);
    ASSERT_TRUE(TypeKeys(edit, "a b c"));
    char text[32] = {};
    for (int i = 0; i < 100 && lstrlenA(text) < 3; ++i) {
        DrainQueue();
        GetWindowTextA(edit, text, sizeof text);
        Sleep(10);
    }
    EXPECT_STREQ(text, "abc");
    DestroyWindow(edit);
}
