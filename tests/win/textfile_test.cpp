// Our text files against the C runtime's text mode (this test's own msvcrt) on the same
// bytes: what fgets yields, and what fputs leaves on disk.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "runtime/textfile.h"
#include "texts/log.h"
#include "support/winfiles.h"

namespace {

std::vector<std::string> RuntimePieces(const std::string& path, int width) {
    std::vector<std::string> out;
    FILE* f = std::fopen(path.c_str(), "rt");
    if (f == nullptr) return out;
    std::vector<char> buf(width + 1);
    while (std::fgets(buf.data(), width, f) != nullptr) out.emplace_back(buf.data());
    std::fclose(f);
    return out;
}

std::vector<std::string> OurPieces(const std::string& path, int width) {
    std::vector<std::string> out;
    TextFile f;
    if (!TextFileOpenRead(&f, path.c_str())) return out;
    std::vector<char> buf(width + 1);
    int n;
    while ((n = TextFileReadPiece(&f, buf.data(), width)) > 0) out.emplace_back(buf.data(), n);
    EXPECT_EQ(1, TextFileClose(&f));
    return out;
}

std::string RuntimeWritten(const std::string& path, const std::vector<std::string>& parts) {
    FILE* f = std::fopen(path.c_str(), "wt");
    for (const std::string& p : parts) std::fputs(p.c_str(), f);
    std::fclose(f);
    return ReadFileBytes(path);
}

std::string OurWritten(const std::string& path, const std::vector<std::string>& parts) {
    TextFile f;
    EXPECT_EQ(1, TextFileOpenWrite(&f, path.c_str()));
    for (const std::string& p : parts) TextFileWrite(&f, p.data(), static_cast<int>(p.size()));
    EXPECT_EQ(1, TextFileClose(&f));
    return ReadFileBytes(path);
}

std::vector<std::string> Inputs() {
    std::vector<std::string> in = {
        "",
        "[boot]\r\nshell=Explorer.exe\r\n",
        "no line end",
        "lf only\nsecond\n",
        "lone\rcr\r\n",
        "cr cr lf\r\r\n",
        "ends in cr\r",
        "before\x1A"
        "after\r\n",
        "\x1A",
        "cr then z\r\x1A\n",
        std::string(119, 'a') + "\r\n" + std::string(120, 'b') + "\r\n" + std::string(500, 'c'),
        std::string(4095, 'd') + "\r\n" + "after a CR LF across 4096 bytes\r\n",
        std::string(511, 'e') + "\r\nacross our own buffer\r\n",
    };
    std::mt19937 rng(99);
    const char alphabet[] = {'a', 'b', '\r', '\n', '[', ' ', '\x1A'};
    for (int i = 0; i < 200; ++i) {
        std::string s(rng() % 700, 'x');
        for (char& c : s) {
            unsigned k = rng() % 100;
            c = k < 3 ? '\x1A' : alphabet[k % 6];
        }
        in.push_back(s);
    }
    return in;
}

TEST(TextFileVsRuntime, ReadsTheSamePieces) {
    std::string dir = MakeScratchDir("textread");
    std::string path = dir + "\\in.txt";
    int n = 0;
    for (const std::string& bytes : Inputs()) {
        WriteFileBytes(path, bytes, false);
        for (int width : {120, 2, 7}) {
            ASSERT_EQ(RuntimePieces(path, width), OurPieces(path, width))
                << "input " << n << " width " << width;
        }
        ++n;
    }
}

TEST(TextFileVsRuntime, WritesTheSameBytes) {
    std::string dir = MakeScratchDir("textwrite");
    std::string a = dir + "\\runtime.txt", b = dir + "\\ours.txt";
    std::vector<std::vector<std::string>> cases = {
        {"[boot]\n", "x=1\n", "last"},
        {"cr\r\n", "\n\n", "mouse=*vmouse\n"},
        {std::string(5000, 'q') + "\n", std::string(3, '\n')},
        {},
    };
    for (const std::string& s : Inputs()) {
        std::string noNul;
        for (char c : s)
            if (c != 0) noNul += c;
        cases.push_back({noNul});
    }
    for (size_t i = 0; i < cases.size(); ++i)
        ASSERT_EQ(RuntimeWritten(a, cases[i]), OurWritten(b, cases[i])) << "case " << i;
}

TEST(TextFile, OpeningAMissingFileFails) {
    TextFile f;
    EXPECT_EQ(0, TextFileOpenRead(&f, "C:\\tests\\no-such-dir\\x.ini"));
    EXPECT_EQ(0, TextFileOpenWrite(&f, "C:\\tests\\no-such-dir\\x.ini"));
}

// The log writes every part whole, however long, one line each, and refuses a file it
// cannot create.
TEST(Log, LinesKeepEveryPartWhole) {
    std::string dir = MakeScratchDir("log");
    std::string path = dir + "\\SETUP.LOG", longPath = "C:\\" + std::string(600, 'P');
    ASSERT_EQ(1, LogOpen(path.c_str()));
    LogLine("file ", longPath.c_str(), " <- ", "A:\\X.EX_");
    LogLineNumber("exit code", " ", 7);
    EXPECT_EQ(1, LogClose());
    EXPECT_EQ("file " + longPath + " <- A:\\X.EX_\r\nexit code 7\r\n", ReadFileBytes(path));
    LogLine("not written: no log is open");
    EXPECT_EQ(0, LogOpen((dir + "\\missing\\SETUP.LOG").c_str()));
    EXPECT_EQ(0, LogActive());
}

}  // namespace
