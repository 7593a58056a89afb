#include "support/vm_host.h"

#include <vector>

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

// This process's environment without DISPLAY, as a block for CreateProcessA.
static std::vector<char> EnvironmentWithoutDisplay() {
    std::vector<char> block;
    char* all = GetEnvironmentStringsA();
    for (const char* p = all; *p != 0; p += lstrlenA(p) + 1)
        if (std::string(p).compare(0, 8, "DISPLAY=") != 0)
            block.insert(block.end(), p, p + lstrlenA(p) + 1);
    FreeEnvironmentStringsA(all);
    block.push_back(0);
    return block;
}

RunningProgram StartCommand(const std::string& commandLine, const std::string& directory,
                            HANDLE output, bool withoutDisplay) {
    RunningProgram program;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (output != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION info = {};
    std::string line = commandLine;  // CreateProcessA may write into its command line
    std::vector<char> environment;
    if (withoutDisplay) environment = EnvironmentWithoutDisplay();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0,
                        withoutDisplay ? environment.data() : nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info))
        return program;
    if (info.hThread != nullptr) CloseHandle(info.hThread);
    program.process = info.hProcess;
    program.id = info.dwProcessId;
    program.started = true;
    return program;
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
    RunningProgram shell = StartCommand("/bin/sh -c " + QuoteArgument(script));
    if (!shell.started) return -1;
    if (shell.process != nullptr) CloseHandle(shell.process);

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

static std::string SmallDriveDir() { return HostScratchDir() + "/smalldrive"; }

bool MountSmallDrive(int kilobytes) {
    std::string dir = ShellQuote(SmallDriveDir());
    return RunHostCommand("mkdir -p " + dir + " && mount -t tmpfs -o size=" +
                          std::to_string(kilobytes) + "k tmpfs " + dir + " && ln -sfn " + dir +
                          " " + ShellQuote(EnvText("VM_PREFIX") + "/dosdevices/e:")) == 0;
}

void UnmountSmallDrive() {
    RunHostCommand("rm -f " + ShellQuote(EnvText("VM_PREFIX") + "/dosdevices/e:") + "; umount " +
                   ShellQuote(SmallDriveDir()) + " && rmdir " + ShellQuote(SmallDriveDir()));
}

void FillSmallDrive(ULONGLONG leaveBytes) {
    HANDLE h = CreateFileA("E:\\FILLER", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    std::vector<char> block(4096, 'f');
    ULARGE_INTEGER free;
    DWORD put = 0;
    // Whole blocks while they fit, then single bytes up to the last one.
    while (GetDiskFreeSpaceExA("E:\\", &free, nullptr, nullptr) &&
           free.QuadPart >= leaveBytes + block.size() &&
           WriteFile(h, block.data(), 4096, &put, nullptr) && put == 4096) {
    }
    while (leaveBytes == 0 && WriteFile(h, block.data(), 1, &put, nullptr) && put == 1) {
    }
    CloseHandle(h);
}

bool MountReadOnly(const std::string& linuxDir) {
    std::string dir = ShellQuote(linuxDir);
    return RunHostCommand("mount --bind " + dir + " " + dir + " && mount -o remount,ro,bind " +
                          dir) == 0;
}

void Unmount(const std::string& linuxDir) { RunHostCommand("umount " + ShellQuote(linuxDir)); }
