#include "support/install_page.h"

#include "app/app.h"
#include "resource.h"
#include "support/vm_host.h"
#include "support/winfiles.h"
#include "wizard/pages.h"

std::string InstallFixture(const std::string& name) {
    std::string root = EnvText("SETUP_ROOT");
    if (root.empty()) root = "/work";
    return ReadFileBytes(LinuxPathToWindows(root + "/tests/fixtures/install/" + name));
}

HWND CreateInstallPage() {
    Shared::AppInstance = GetModuleHandleA(nullptr);
    Shared::ScreenWidth =
        static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));  // the page is centred
    Shared::ScreenHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
    return CreatePage("SETUP_INSTALL", InstallPageProc, IDD_INSTALL);
}

MessageBoxAnswerer::MessageBoxAnswerer(int answer) : answer_(answer) {
    InitializeCriticalSection(&lock_);
    thread_ = std::thread([this] { Run(); });
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    stop_ = true;
    thread_.join();
    DeleteCriticalSection(&lock_);
}

void MessageBoxAnswerer::Run() {
    DWORD self = GetCurrentProcessId();
    while (!stop_) {
        HWND box = nullptr;
        while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(box, &pid);
            if (pid != self || !IsWindowVisible(box)) continue;
            char text[512] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            EnterCriticalSection(&lock_);
            texts_.push_back(text);
            owners_.push_back(GetWindow(box, GW_OWNER));
            LeaveCriticalSection(&lock_);
            // A box without that button ends with it all the same.
            PostMessageA(box, WM_COMMAND, answer_, 0);
            Sleep(200);  // let it close before looking again
            break;
        }
        Sleep(20);
    }
}

std::vector<std::string> MessageBoxAnswerer::Texts() {
    EnterCriticalSection(&lock_);
    std::vector<std::string> t = texts_;
    LeaveCriticalSection(&lock_);
    return t;
}

std::vector<HWND> MessageBoxAnswerer::Owners() {
    EnterCriticalSection(&lock_);
    std::vector<HWND> o = owners_;
    LeaveCriticalSection(&lock_);
    return o;
}
