#include "support/ui.h"

#include <vector>

namespace {

const DWORD kSendTimeoutMs = 2000;

// Not SMTO_ABORTIFHUNG: Wine takes a thread that has not asked for a message for 5 s as hung
// and fails the call at once, and a program starting or copying on the emulated 32-bit
// machine easily takes that long. The timeout bounds the wait all the same.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL,
                             MachineTime(kSendTimeoutMs), &result))
        return 0;
    return static_cast<LRESULT>(result);
}

struct TopWindowQuery {
    const char* className;
    const char* title;
    DWORD processId;
    HWND owner;
    bool needOwner;
    HWND found;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM lParam) {
    TopWindowQuery* q = reinterpret_cast<TopWindowQuery*>(lParam);
    if (!IsWindowVisible(window)) return TRUE;
    if (q->processId != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != q->processId) return TRUE;
    }
    if (q->needOwner && GetWindow(window, GW_OWNER) != q->owner) return TRUE;
    if (q->className != nullptr && ClassOf(window) != q->className) return TRUE;
    if (q->title != nullptr && WindowText(window) != q->title) return TRUE;
    q->found = window;
    return FALSE;
}

// WaitUntil with a bound already scaled to the machine.
bool WaitFor(const std::function<bool()>& condition, DWORD limitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= limitMs) return false;
        DrainQueue();
        Sleep(20);
    }
}

}  // namespace

RunningProgram StartProgram(const std::string& exePath, const std::string& tail) {
    RunningProgram program;
    std::string commandLine = "\"" + exePath + "\"";
    if (!tail.empty()) commandLine += " " + tail;
    std::string directory = exePath.substr(0, exePath.find_last_of('\\'));
    if (directory.size() == 2) directory += "\\";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(0);
    if (!CreateProcessA(exePath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &info))
        return program;
    CloseHandle(info.hThread);
    program.process = info.hProcess;
    program.id = info.dwProcessId;
    return program;
}

DWORD WaitProgramEnd(const RunningProgram& program, DWORD timeoutMs) {
    if (program.process == nullptr) return STILL_ACTIVE;
    if (WaitForSingleObject(program.process, MachineTime(timeoutMs)) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(program.process, &code);
    return code;
}

void StopProgram(RunningProgram& program) {
    if (program.process == nullptr) return;
    if (WaitForSingleObject(program.process, 0) != WAIT_OBJECT_0) {
        TerminateProcess(program.process, 99);
        WaitForSingleObject(program.process, MachineTime(5000));
    }
    CloseHandle(program.process);
    program.process = nullptr;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    return WaitFor(condition, MachineTime(timeoutMs));
}

HWND FindTopWindow(const char* className, const char* title, DWORD processId) {
    TopWindowQuery q = {className, title, processId, nullptr, false, nullptr};
    EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

HWND WaitForTopWindow(const char* className, const char* title, DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(className, title, processId)) != nullptr; },
              timeoutMs);
    return found;
}

HWND WaitForPage(const char* pageClass, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    DWORD limit = MachineTime(timeoutMs);
    HWND page = nullptr;
    WaitFor([&] { return (page = FindTopWindow(pageClass, nullptr)) != nullptr; }, limit);
    if (page == nullptr) return nullptr;
    // A page is shown while it is being created, before its controls exist and are
    // filled. Wait for its controls, then for its loop: a message sent to the page is
    // handled only once the page has been initialised and waits for input.
    DWORD used = GetTickCount() - start;
    DWORD left = used < limit ? limit - used : 0;
    if (!WaitFor([&] { return GetDlgItem(page, 1) != nullptr; }, left)) return nullptr;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(page, WM_NULL, 0, 0, SMTO_NORMAL, limit, &ignored);
    return IsWindow(page) ? page : nullptr;
}

HWND WaitForMessageBox(HWND owner, DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            TopWindowQuery q = {"#32770", nullptr, processId, owner, owner != nullptr, nullptr};
            EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&q));
            found = q.found;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

bool WaitWindowGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    SendWithTimeout(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::string ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? WindowText(item) : std::string("<no control>");
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string MessageBoxText(HWND box) {
    // The text of a message box is its static control with id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    if (text != nullptr) return WindowText(text);
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == "Static" && !WindowText(child).empty()) return WindowText(child);
    }
    return std::string();
}

bool IsItemChecked(HWND dialog, int id) {
    return SendWithTimeout(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsItemEnabled(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr && IsWindowEnabled(item);
}

bool IsItemVisible(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr && (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

int FocusedItemId(HWND dialog) {
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return 0;
    if (info.hwndFocus == nullptr || GetParent(info.hwndFocus) != dialog) return 0;
    return GetDlgCtrlID(info.hwndFocus);
}

RECT WindowRect(HWND window) {
    RECT r = {0, 0, 0, 0};
    GetWindowRect(window, &r);
    return r;
}

RECT ItemRectInDialogUnits(HWND dialog, int id) {
    RECT r = WindowRect(GetDlgItem(dialog, id));
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    RECT unit = {0, 0, 4, 8};  // 4 horizontal and 8 vertical units
    MapDialogRect(dialog, &unit);
    auto back = [](LONG pixels, LONG per4or8, LONG units) {
        return static_cast<LONG>(MulDiv(pixels, units, per4or8));
    };
    RECT out;
    out.left = back(r.left, unit.right, 4);
    out.top = back(r.top, unit.bottom, 8);
    out.right = back(r.right - r.left, unit.right, 4);    // width
    out.bottom = back(r.bottom - r.top, unit.bottom, 8);  // height
    return out;
}

bool ClickItem(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr && PostMessageA(item, BM_CLICK, 0, 0);
}

bool ChooseItem(HWND dialog, int id, DWORD timeoutMs) {
    return ClickItem(dialog, id) && WaitUntil([&] { return IsItemChecked(dialog, id); }, timeoutMs);
}

void Activate(HWND window) {
    // Another program's window can take the foreground back a moment later (Wine's
    // desktop does while the machine settles after a restart): ask again until it holds.
    for (int attempt = 0; attempt < 5; ++attempt) {
        SetForegroundWindow(window);
        if (WaitUntil([&] { return GetForegroundWindow() == window; }, 1000)) return;
    }
}

bool TypeKeys(HWND window, const std::string& keys) {
    Activate(window);
    // Keys go where the X server has its input focus, and right after another program's
    // windows went away that can lag behind Wine's foreground window. Wine keeps the X
    // window of each top-level window in this property; focusing it first sends the keys
    // to the window meant.
    std::string focus;
    HWND top = GetAncestor(window, GA_ROOT);
    uintptr_t xid = reinterpret_cast<uintptr_t>(GetPropA(top, "__wine_x11_whole_window"));
    if (xid != 0) focus = "windowfocus " + std::to_string(xid) + " ";
    return RunHostCommand("xdotool " + focus + "key --delay 30 " + keys) == 0;
}

bool MouseClickItem(HWND dialog, int id) {
    RECT r = WindowRect(GetDlgItem(dialog, id));
    int x = (r.left + r.right) / 2;
    int y = (r.top + r.bottom) / 2;
    return RunHostCommand("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                          " click 1") == 0;
}

void SaveDocumentationShot(HWND window, const std::string& name) {
    const std::string dir = EnvText("SETUP_SHOTS_DIR");
    if (dir.empty() || window == nullptr) return;
    Sleep(200);  // let the window finish painting
    RECT r = WindowRect(window);
    SaveScreenshot(dir + "/" + name + ".png", &r);
}
