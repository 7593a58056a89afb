// Benchmark of LoadSetupScript against bare profile reads of the same keys, on a 64 KB
// script (a very large real package) and on a maximal one (six disks, 32767 file lines).
//
//   bench_loader [--setup-exe PATH] [--rounds N]
//
// The loader reads SETUP.INF from beside the running program, so this program writes each
// script into a package directory of its own below C:\bench, copies itself there and runs
// the copy with --measure. The string table comes from SETUP.EXE (loaded as data): by
// default the one in the directory above this program (out/x86_64), or $SETUP_EXE.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "script/loader.h"
#include "script/model.h"
#include "support/vm_host.h"
#include "texts/textring.h"

namespace {

const char* const kDirKeys[kDirKeyCount] = {"RootDir",      "SubDir1",  "SubDir2", "SubDir3",
                                            "SubDir4",      "SubDir5",  "SubDir6", "WinDir",
                                            "WinSystemDir", "WinInfDir"};

double Now() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// A package script with the given file lines per disk.
std::string MakeScript(const std::vector<int>& counts) {
    std::string s =
        "[Main]\r\nDefaultPath=C:\\QXMOUSE\r\nProductName=Qorva Mouse 3.1\r\n"
        "MinimumSpace=4096\r\nOEM=0\r\nDefaultSerialMouse=1\r\n[DiskLabel]\r\n";
    for (size_t n = 0; n < counts.size(); ++n)
        s += "Disk" + std::to_string(n + 1) + "=Qorva Mouse disk " + std::to_string(n + 1) + "\r\n";
    s += "[DirectoryName]\r\nRootDir=BASE\r\nSubDir1=DRIVERS\r\nSubDir2=UTILS\r\nSubDir3=HELP\r\n"
         "SubDir4=LANG\r\nSubDir5=SAMPLES\r\nSubDir6=EXTRA\r\nWinDir=WIN\r\nWinSystemDir=SYSTEM\r\n"
         "WinInfDir=INF\r\n[FileCounts]\r\n";
    for (size_t n = 0; n < counts.size(); ++n)
        s += "Disk" + std::to_string(n + 1) + "=" + std::to_string(counts[n]) + "\r\n";
    int index = 0;
    for (size_t n = 0; n < counts.size(); ++n) {
        s += "[Disk" + std::to_string(n + 1) + "]\r\n";
        for (int j = 1; j <= counts[n]; ++j, ++index) {
            char line[160];
            snprintf(line, sizeof(line),
                     "%d=QX%06d.DL_, QX%06d.DLL, Qorva mouse component %d, %s\r\n", j, index, index,
                     index, kDirKeys[index % kDirKeyCount]);
            s += line;
        }
    }
    s += "[Startup]\r\nTitle=Qorva Mouse Driver\r\nMfg=Qorva\r\nMouseDriver=qxmouse.drv\r\n"
         "MouseInf=QXMOUSE.INF\r\nDriverDate=10-01-1998\r\nPS2InfSection=QXPS2\r\n"
         "SerialInfSection=QXSER\r\nPS2Name=Qorva PS/2 Mouse\r\nSeialName=Qorva Serial Mouse\r\n";
    return s;
}

// Reads every key the loader reads, in its order, with bare profile calls.
void BareReads(const char* script) {
    char v[128];
    GetPrivateProfileStringA("Main", "DefaultPath", "C:\\QORVA", v, 80, script);
    GetPrivateProfileStringA("Main", "ProductName", "Qorva", v, 72, script);
    GetPrivateProfileIntA("Main", "MinimumSpace", 1024, script);
    int disks = 0;
    for (int n = 1; n <= 6; ++n) {
        std::string key = "Disk" + std::to_string(n);
        GetPrivateProfileStringA("DiskLabel", key.c_str(), "", v, 40, script);
        if (v[0] != 0) ++disks;
    }
    for (int k = 0; k < kDirKeyCount; ++k)
        GetPrivateProfileStringA("DirectoryName", kDirKeys[k], "", v, 80, script);
    int counts[6] = {};
    for (int n = 1; n <= disks; ++n)
        counts[n - 1] = static_cast<int>(
            GetPrivateProfileIntA("FileCounts", ("Disk" + std::to_string(n)).c_str(), 0, script));
    for (int n = 1; n <= disks; ++n) {
        std::string section = "Disk" + std::to_string(n);
        for (int j = 1; j <= counts[n - 1]; ++j) {
            char key[16];
            snprintf(key, sizeof(key), "%d", j);
            GetPrivateProfileStringA(section.c_str(), key, "", v, 128, script);
        }
    }
    GetPrivateProfileIntA("Main", "OEM", 0, script);
    GetPrivateProfileIntA("Main", "DefaultSerialMouse", 1, script);
    const char* startup[] = {"Title",      "Mfg",           "MouseDriver",      "MouseInf",
                             "DriverDate", "PS2InfSection", "SerialInfSection", "PS2Name",
                             "SeialName"};
    for (const char* key : startup)
        GetPrivateProfileStringA("Startup", key, "", v, key == startup[0] ? 80 : 40, script);
}

// The loaded model is the script that was written: every entry in place.
bool ModelIsRight(const std::vector<int>& counts) {
    int total = 0;
    for (int c : counts) total += c;
    if (Shared::TotalFiles != total || Shared::DiskSet.DiskCount != static_cast<int>(counts.size()))
        return false;
    for (int i = 0; i < total; ++i) {
        char name[16];
        snprintf(name, sizeof(name), "QX%06d.DLL", i);
        if (lstrcmpA(Shared::FileTable[i].DestFile, name) != 0) return false;
        int k = i % kDirKeyCount;
        if (Shared::FileTable[i].DestIsAbsolute != (k >= 7 ? 1 : 0)) return false;
    }
    return lstrcmpA(Shared::DriverProfile.SeialName, "Qorva Serial Mouse") == 0;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// In the package directory: load the script beside this program `rounds` times, alternating
// with the bare reads, and print the medians.
int Measure(const char* setupExe, int rounds, const std::vector<int>& counts, const char* label) {
    Shared::AppInstance = LoadLibraryExA(setupExe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const char* probe = Shared::AppInstance != nullptr ? LoadText(22) : nullptr;
    if (probe == nullptr || lstrcmpA(probe, "Main") != 0) {
        fprintf(stderr, "bench_loader: no string table in %s\n", setupExe);
        return 2;
    }
    GetWindowsDirectoryA(Shared::WindowsDir, kDirWidth);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string script(self);
    script = script.substr(0, script.rfind('\\')) + "\\SETUP.INF";

    // Warm up (the profile functions cache the file) and check what the loader read.
    if (!LoadSetupScript() || !ModelIsRight(counts)) {
        fprintf(stderr, "bench_loader: %s: the model does not match the script\n", label);
        return 1;
    }
    ReleaseFileTable();
    BareReads(script.c_str());

    std::vector<double> loader, bare;
    // Alternate which goes first, so that drift of the machine falls on both alike.
    for (int r = 0; r < rounds; ++r) {
        for (int half = 0; half < 2; ++half) {
            if ((r + half) % 2 == 0) {
                double t0 = Now();
                int ok = LoadSetupScript();
                loader.push_back(Now() - t0);
                ReleaseFileTable();
                if (!ok) return 1;
            } else {
                double t0 = Now();
                BareReads(script.c_str());
                bare.push_back(Now() - t0);
            }
        }
        if (!EnvText("BENCH_LOADER_VERBOSE").empty())
            printf("  round %d: loader %.2f ms, bare %.2f ms\n", r, loader.back() * 1000.0,
                   bare.back() * 1000.0);
    }
    // The ratio is taken round by round (the two runs of a round lie side by side in time),
    // then its median: one slow moment of a busy machine moves neither figure.
    std::vector<double> ratios;
    for (int r = 0; r < rounds; ++r) ratios.push_back(loader[r] / bare[r]);
    int total = 0;
    for (int c : counts) total += c;
    printf(
        "%-8s %6d lines  loader %9.2f ms  bare reads %9.2f ms  ratio %.3f (min %.3f, max %.3f)"
        "  median of %d rounds, model checked\n",
        label, total, Median(loader) * 1000.0, Median(bare) * 1000.0, Median(ratios),
        *std::min_element(ratios.begin(), ratios.end()),
        *std::max_element(ratios.begin(), ratios.end()), rounds);
    return 0;
}

std::vector<int> Counts64K() {
    // Lines per disk such that the script is 64 KB.
    for (int per = 1;; ++per) {
        std::vector<int> counts(6, per);
        if (MakeScript(counts).size() >= 65536) return counts;
    }
}

std::vector<int> CountsMaximal() { return {5461, 5461, 5461, 5461, 5461, 5462}; }

std::string DefaultSetupExe(const char* self) {
    std::string path = EnvText("SETUP_EXE");
    if (!path.empty()) return path[0] == '/' ? LinuxPathToWindows(path) : path;
    std::string dir(self);
    dir = dir.substr(0, dir.rfind('\\'));
    return dir.substr(0, dir.rfind('\\')) + "\\SETUP.EXE";
}

// Writes the package and runs the copy of this program in it.
int RunPackage(const char* self, const std::string& setupExe, int rounds, const char* label) {
    std::string dir = std::string("C:\\bench\\loader-") + label;
    CreateDirectoryA("C:\\bench", nullptr);
    CreateDirectoryA(dir.c_str(), nullptr);
    std::vector<int> counts = lstrcmpA(label, "maximal") == 0 ? CountsMaximal() : Counts64K();
    std::string script = MakeScript(counts);
    std::string scriptPath = dir + "\\SETUP.INF";
    HANDLE h = CreateFileA(scriptPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, script.data(), static_cast<DWORD>(script.size()), &written, nullptr);
    // Older than a few seconds, so that the profile functions keep it parsed between calls.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= 10ULL * 10000000ULL;
    FILETIME past = {t.LowPart, t.HighPart};
    SetFileTime(h, &past, &past, &past);
    CloseHandle(h);
    printf("%-8s script %zu bytes, %d disks\n", label, script.size(),
           static_cast<int>(counts.size()));
    fflush(stdout);

    std::string exe = dir + "\\SETUP.EXE";
    CopyFileA(self, exe.c_str(), FALSE);
    std::string command =
        "\"" + exe + "\" --measure " + label + " \"" + setupExe + "\" " + std::to_string(rounds);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi)) {
        fprintf(stderr, "bench_loader: cannot start %s\n", exe.c_str());
        return 1;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DeleteFileA(exe.c_str());
    DeleteFileA(scriptPath.c_str());
    RemoveDirectoryA(dir.c_str());
    return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && lstrcmpA(argv[1], "--measure") == 0) {
        bool maximal = lstrcmpA(argv[2], "maximal") == 0;
        return Measure(argv[3], atoi(argv[4]), maximal ? CountsMaximal() : Counts64K(), argv[2]);
    }
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string setupExe = DefaultSetupExe(self);
    int rounds = 31;
    for (int i = 1; i < argc; ++i) {
        if (lstrcmpA(argv[i], "--setup-exe") == 0 && i + 1 < argc) setupExe = argv[++i];
        if (lstrcmpA(argv[i], "--rounds") == 0 && i + 1 < argc) rounds = atoi(argv[++i]);
    }
    int rc = RunPackage(self, setupExe, rounds, "64k");
    if (rc == 0) rc = RunPackage(self, setupExe, std::max(3, rounds / 10), "maximal");
    return rc;
}
