// Source, destination and subdirectory paths of the copy engine.
#include <gtest/gtest.h>

#include <string>

#include "install/entrypaths.h"
#include "runtime/text.h"
#include "script/model.h"

namespace {

class EntryPaths : public ::testing::Test {
  protected:
    FileEntry table[4];

    void SetUp() override {
        ZeroBytes(table, sizeof(table));
        ZeroBytes(&Shared::DiskSet, sizeof(Shared::DiskSet));
        ZeroBytes(Shared::DirTable, sizeof(Shared::DirTable));
        Shared::DiskSet.DiskCount = 2;
        Shared::DiskSet.Disk[0].FileCount = 3;
        Shared::DiskSet.Disk[0].FirstEntry = 0;
        Shared::DiskSet.Disk[1].FileCount = 1;
        Shared::DiskSet.Disk[1].FirstEntry = 3;
        Shared::FileTable = table;
        TextCopy(Shared::SourceDir, kDirWidth, "Z:\\pkg");
        TextCopy(Shared::InstallDir, kDirWidth, "C:\\QORVA");
    }
    void TearDown() override { Shared::FileTable = nullptr; }

    void Set(int n, const char* dir, const char* destDir, const char* src, const char* dst,
             int absolute) {
        TextCopy(table[n].DirName, kEntryDirWidth, dir);
        TextCopy(table[n].DestDir, kEntryDirWidth, destDir);
        TextCopy(table[n].SourceFile, kFileNameWidth, src);
        TextCopy(table[n].DestFile, kFileNameWidth, dst);
        table[n].DestIsAbsolute = absolute;
    }
    std::string Source(int disk, int index, int expect = 1) {
        char b[kDirWidth];
        EXPECT_EQ(expect, MakeSourcePath(b, disk, index));
        return b;
    }
    std::string Dest(int disk, int index, int expect = 1) {
        char b[kDirWidth];
        EXPECT_EQ(expect, MakeDestPath(b, disk, index));
        return b;
    }
};

TEST_F(EntryPaths, RelativeAndAbsoluteDestinationsOfEachDisk) {
    Set(0, "DRIVER", "DRIVER", "QX.DL_", "QX.DLL", 0);
    Set(1, "SYS", "C:\\WINDOWS\\SYSTEM", "QXM.VX_", "QXM.VXD", 1);
    Set(2, "HELP\\EN", "HELP\\EN", "A.HLP", "A.HLP", 0);
    Set(3, "D2", "D2", "B.EXE", "B2.EXE", 0);
    EXPECT_EQ("Z:\\pkg\\DRIVER\\QX.DL_", Source(0, 0));
    EXPECT_EQ("C:\\QORVA\\DRIVER\\QX.DLL", Dest(0, 0));
    EXPECT_EQ("Z:\\pkg\\SYS\\QXM.VX_", Source(0, 1));
    EXPECT_EQ("C:\\WINDOWS\\SYSTEM\\QXM.VXD", Dest(0, 1));
    EXPECT_EQ("C:\\QORVA\\HELP\\EN\\A.HLP", Dest(0, 2));
    // Entries of the second disk start at its FirstEntry.
    EXPECT_EQ("Z:\\pkg\\D2\\B.EXE", Source(1, 0));
    EXPECT_EQ("C:\\QORVA\\D2\\B2.EXE", Dest(1, 0));
    // InstallDir is read at copy time.
    TextCopy(Shared::InstallDir, kDirWidth, "D:\\Elsewhere");
    EXPECT_EQ("D:\\Elsewhere\\D2\\B2.EXE", Dest(1, 0));
    EXPECT_EQ("C:\\WINDOWS\\SYSTEM\\QXM.VXD", Dest(0, 1));
}

TEST_F(EntryPaths, EmptyDirectoriesGiveDoubledSeparators) {
    Set(0, "", "", "README.TXT", "README.TXT", 0);
    EXPECT_EQ("Z:\\pkg\\\\README.TXT", Source(0, 0));
    EXPECT_EQ("C:\\QORVA\\\\README.TXT", Dest(0, 0));
    Set(1, "", "", "", "", 0);  // a missing file line
    EXPECT_EQ("Z:\\pkg\\\\", Source(0, 1));
    EXPECT_EQ("C:\\QORVA\\\\", Dest(0, 1));
}

TEST_F(EntryPaths, PathsThatDoNotFitAreRefusedNotCut) {
    // 79 characters fit the 80-character buffer, 80 do not.
    std::string dir(39, 'D');  // the widest DirName
    TextCopy(Shared::SourceDir, kDirWidth,
             ("Z:\\" + std::string(22, 's')).c_str());  // 25 characters
    Set(0, dir.c_str(), "", "ABCDEFGH.IJKLM", "X", 0);  // 25+1+39+1+14 = 80
    EXPECT_EQ("", Source(0, 0, 0));
    TextCopy(Shared::SourceDir, kDirWidth, ("Z:\\" + std::string(21, 's')).c_str());
    EXPECT_EQ(79u, Source(0, 0).size());

    std::string longInstall(70, 'I');
    TextCopy(Shared::InstallDir, kDirWidth, ("C:\\" + longInstall).c_str());  // 73 characters
    Set(1, "", "SUB", "A", "ABC", 0);  // 73 + 1 + 3 + 1 + 3 = 81
    EXPECT_EQ("", Dest(0, 1, 0));
    Set(1, "", "SU", "A", "AB", 0);  // 79
    EXPECT_EQ(79u, Dest(0, 1).size());
}

TEST_F(EntryPaths, SubDirectoriesBelowInstallDir) {
    char b[kDirWidth];
    TextCopy(Shared::DirTable[1], kDirWidth, "DRIVER");
    TextCopy(Shared::DirTable[2], kDirWidth, "DRIVER\\HELP");
    EXPECT_EQ(1, MakeSubDirPath(b, 1));
    EXPECT_STREQ("C:\\QORVA\\DRIVER", b);
    EXPECT_EQ(1, MakeSubDirPath(b, 2));
    EXPECT_STREQ("C:\\QORVA\\DRIVER\\HELP", b);
    EXPECT_EQ(0, MakeSubDirPath(b, 3));  // empty value: nothing to create
    EXPECT_STREQ("", b);
    TextCopy(Shared::DirTable[4], kDirWidth, std::string(71, 'x').c_str());  // 8 + 1 + 71 = 80
    EXPECT_EQ(0, MakeSubDirPath(b, 4));
    EXPECT_STREQ("", b);
}

}  // namespace
