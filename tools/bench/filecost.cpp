// filecost PKGDIR [PASSES]: what each call of a new file's copy costs, the engine's ways against
// the plain loop's. PKGDIR\DATA holds the benchmark package's files. Each pass copies every
// file three ways into an emptied directory, the order turning from pass to pass:
//   plain: LZOpenFileA, LZOpenFileA(OF_CREATE), LZCopy, LZClose, LZClose;
//   work file: LZOpenFileA, the size read by LZSeek (twice, as the engine does),
//          GetFullPathNameA, the file created in a work directory, LZCopy, the install log's
//          line written, then MoveFileA to its name;
//   at its name: the same, with the file created at its name (CREATE_NEW) and no rename: the
//          engine's way for a new file.
// Prints the milliseconds per file of each call, summed over the passes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "benchpkg.h"

using namespace bench;

namespace {

enum Step { Open, Seek, Full, Create, Copy, Close, Log, Move, kSteps };
const char* const kStepNames[kSteps] = {"open the source", "LZSeek x4",      "GetFullPathNameA",
                                        "create",          "LZCopy",         "close both",
                                        "log line",        "MoveFileA"};

struct Tally {
    double at[kSteps] = {};
    double total = 0;
    int files = 0;
};

// Runs step, adding its time to the tally's slot.
template <typename F>
auto Timed(Tally* t, Step s, F step) {
    double start = Now();
    auto result = step();
    t->at[s] += Now() - start;
    return result;
}

const char kDest[] = "C:\\FILECOST";

void Fresh() {
    RemoveTree(kDest);
    CreateDirectoryA(kDest, nullptr);
    CreateDirectoryA("C:\\FILECOST\\DATA", nullptr);
    CreateDirectoryA("C:\\FILECOST\\DATA\\~SUWORK", nullptr);
    Settle();
}

void Plain(const std::string& pkg, const std::vector<std::string>& names, Tally* t) {
    Fresh();
    double start = Now();
    for (const std::string& n : names) {
        OFSTRUCT a, b;
        std::string src = pkg + "\\DATA\\" + n, dst = std::string(kDest) + "\\DATA\\" + DestName(n);
        INT s = Timed(t, Open, [&] { return LZOpenFileA(&src[0], &a, OF_READ); });
        INT d = Timed(t, Create, [&] { return LZOpenFileA(&dst[0], &b, OF_CREATE); });
        Timed(t, Copy, [&] { return LZCopy(s, d); });
        Timed(t, Close, [&] {
            LZClose(s);
            LZClose(d);
            return 0;
        });
    }
    t->total += Now() - start;
    t->files += static_cast<int>(names.size());
}

void Setup(const std::string& pkg, const std::vector<std::string>& names, Tally* t, bool inPlace) {
    Fresh();
    HANDLE log = CreateFileA("C:\\FILECOST\\DATA\\INSTALL.LOG", GENERIC_WRITE, FILE_SHARE_READ,
                             nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    double start = Now();
    int number = 0;
    for (const std::string& n : names) {
        OFSTRUCT a;
        std::string src = pkg + "\\DATA\\" + n, dst = std::string(kDest) + "\\DATA\\" + DestName(n);
        std::string temp = std::string(kDest) + "\\DATA\\~SUWORK\\T" + std::to_string(++number) + ".TMP";
        INT s = Timed(t, Open, [&] { return LZOpenFileA(&src[0], &a, OF_READ); });
        LONG size = Timed(t, Seek, [&] {
            LONG z = LZSeek(s, 0, 2);
            LZSeek(s, 0, 0);
            z = LZSeek(s, 0, 2);
            LZSeek(s, 0, 0);
            return z;
        });
        char full[MAX_PATH];
        char* name;
        Timed(t, Full, [&] { return GetFullPathNameA(dst.c_str(), MAX_PATH, full, &name); });
        const char* made = inPlace ? full : temp.c_str();
        HANDLE d = Timed(t, Create, [&] {
            return CreateFileA(made, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        });
        if (d == INVALID_HANDLE_VALUE) std::printf("filecost: cannot create %s\n", made);
        LONG got = Timed(t, Copy, [&] {
            return LZCopy(s, static_cast<HFILE>(reinterpret_cast<INT_PTR>(d)));
        });
        if (got != size) std::printf("filecost: %s copied %ld of %ld bytes\n", n.c_str(), got, size);
        Timed(t, Close, [&] {
            CloseHandle(d);
            LZClose(s);
            return 0;
        });
        Timed(t, Log, [&] {
            char line[2 * MAX_PATH + 16];
            int length = wsprintfA(line, "New|%s|%s\r\n", full, temp.c_str());
            DWORD put = 0;
            SetFilePointer(log, 0, nullptr, FILE_END);
            return WriteFile(log, line, static_cast<DWORD>(length), &put, nullptr);
        });
        if (!inPlace && !Timed(t, Move, [&] { return MoveFileA(temp.c_str(), full); }))
            std::printf("filecost: cannot rename to %s\n", full);
    }
    t->total += Now() - start;
    t->files += static_cast<int>(names.size());
    CloseHandle(log);
}

void Print(const char* what, const Tally& t) {
    std::printf("%s: %.3f ms per file in all\n", what, t.total * 1000 / t.files);
    for (int s = 0; s < kSteps; ++s)
        if (t.at[s] > 0) std::printf("  %-20s %.3f\n", kStepNames[s], t.at[s] * 1000 / t.files);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return std::printf("usage: filecost PKGDIR [PASSES]\n"), 2;
    std::string pkg = argv[1];
    int passes = argc > 2 ? std::atoi(argv[2]) : 3;
    std::vector<std::string> names = PackageNames(pkg);
    if (names.empty()) return std::printf("filecost: no files in %s\\DATA\n", pkg.c_str()), 1;
    Tally plain, setup, inPlace;
    for (int p = 0; p < passes; ++p) {
        for (int k = 0; k < 3; ++k) switch ((p + k) % 3) {
            case 0: Plain(pkg, names, &plain); break;
            case 1: Setup(pkg, names, &setup, false); break;
            default: Setup(pkg, names, &inPlace, true); break;
            }
        std::printf("pass %d done\n", p + 1);
        std::fflush(stdout);
    }
    std::printf("%zu files, %d passes\n", names.size(), passes);
    Print("plain loop", plain);
    Print("work file and rename", setup);
    Print("made at its name", inPlace);
    RemoveTree(kDest);
    return 0;
}
