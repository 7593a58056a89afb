#include "support/install_util.h"

#include <cstdlib>

#include "resource.h"

std::string ZPath(const std::string& unixPath) {
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

std::string InstallFixtureDir() {
    const char* root = std::getenv("SETUP_ROOT");
    return ZPath(std::string(root != nullptr ? root : "/work") + "/tests/fixtures/install");
}

static void RegisterInstallClass(WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    wc.lpszClassName = "SETUP_INSTALL";
    RegisterClassA(&wc);
}

HWND CreateInstallPage(WNDPROC proc) {
    HINSTANCE AppInstance = GetModuleHandleA(nullptr);
    RegisterInstallClass(proc);
    if (FindResourceA(AppInstance, MAKEINTRESOURCEA(IDD_INSTALL), MAKEINTRESOURCEA(5)) != nullptr)
        return CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_INSTALL), nullptr, nullptr, 0);

    // The template's layout in pixels for the 8-point Arial dialog font (about 1.5 x 1.625
    // pixels per unit): enough for the engine, which only uses these controls.
    HWND page = CreateWindowExA(0, "SETUP_INSTALL", "Setup", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                100, 50, 420, 300, nullptr, nullptr, AppInstance, nullptr);
    auto child = [&](const char* cls, const char* text, DWORD style, int id, int x, int y, int w,
                     int h) {
        CreateWindowExA(0, cls, text, WS_CHILD | style, x, y, w, h, page,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, nullptr);
    };
    child("BUTTON", "Cancel", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDC_NEXT, 337, 263, 65, 23);
    child("STATIC", "", WS_VISIBLE | SS_LEFT, IDC_STATUS, 144, 52, 260, 39);
    child("STATIC", "", SS_BLACKFRAME, IDC_GAUGE, 144, 112, 212, 20);
    child("STATIC", "0%", WS_VISIBLE | SS_LEFT, IDC_PERCENT, 374, 115, 30, 13);
    UpdateWindow(page);
    return page;
}

bool DrainQueue() {
    bool quit = false;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return quit;
}

MessageBoxAnswerer::MessageBoxAnswerer() {
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
            char text[256] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            EnterCriticalSection(&lock_);
            texts_.push_back(text);
            owners_.push_back(GetWindow(box, GW_OWNER));
            LeaveCriticalSection(&lock_);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
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

COLORREF ClientPixel(HWND w, int x, int y) {
    HDC dc = GetDC(w);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}
