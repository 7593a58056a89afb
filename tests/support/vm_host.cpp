#include "support/vm_host.h"

std::string EnvText(const char* name) {
    char buf[4096];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

std::string LinuxPathToWindows(const std::string& linuxPath) {
    std::string out = "Z:";
    for (char c : linuxPath) out += c == '/' ? '\\' : c;
    return out;
}

std::string QuoteArgument(const std::string& text) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
        } else {
            out.append(backslashes, '\\');
        }
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

std::string ShellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

DWORD MachineTime(DWORD timeoutMs) {
    static DWORD scale = 0;
    if (scale == 0) {
        for (char c : EnvText("VM_TIME_SCALE")) {
            if (c < '0' || c > '9' || scale > 20) break;
            scale = scale * 10 + (c - '0');
        }
        if (scale < 1) scale = 1;
        if (scale > 20) scale = 20;
    }
    return timeoutMs > MAXDWORD / scale ? MAXDWORD : timeoutMs * scale;
}

std::string HostScratchDir() {
    std::string prefix = EnvText("VM_PREFIX");
    return prefix.empty() ? std::string("/tmp") : prefix + "/.vm";
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

int RunHostCommand(const std::string& shellCommand, DWORD timeoutMs) {
    static unsigned counter = 0;
    char name[96];
    wsprintfA(name, "/host-%lu-%lu-%u.status", GetCurrentProcessId(), GetTickCount(), ++counter);
    const std::string status = HostScratchDir() + name;
    const std::string statusWin = LinuxPathToWindows(status);
    DeleteFileA(statusWin.c_str());

    // The status file appears whole: written to a side name, then renamed.
    const std::string script = "(" + shellCommand + ") </dev/null; echo $? > " +
                               ShellQuote(status + ".tmp") + " && mv " +
                               ShellQuote(status + ".tmp") + " " + ShellQuote(status);
    std::string commandLine = "/bin/sh -c " + QuoteArgument(script);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return -1;
    }
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);

    const DWORD start = GetTickCount();
    const DWORD limit = MachineTime(timeoutMs);
    while (GetFileAttributesA(statusWin.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > limit) return -1;
        DrainQueue();
        Sleep(10);
    }
    HANDLE h = CreateFileA(statusWin.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           0, nullptr);
    char text[16] = {};
    DWORD got = 0;
    if (h != INVALID_HANDLE_VALUE) {
        ReadFile(h, text, sizeof text - 1, &got, nullptr);
        CloseHandle(h);
    }
    DeleteFileA(statusWin.c_str());
    DrainQueue();
    if (got == 0) return -1;
    int code = 0;
    for (DWORD i = 0; i < got && text[i] >= '0' && text[i] <= '9'; ++i) {
        code = code * 10 + (text[i] - '0');
    }
    return code;
}

bool SaveScreenshot(const std::string& linuxPath, const RECT* area) {
    std::string command = "import -window root ";
    if (area != nullptr) {
        command += "-crop " + std::to_string(area->right - area->left) + "x" +
                   std::to_string(area->bottom - area->top) + "+" + std::to_string(area->left) +
                   "+" + std::to_string(area->top) + " +repage ";
    }
    return RunHostCommand(command + ShellQuote(linuxPath)) == 0;
}
