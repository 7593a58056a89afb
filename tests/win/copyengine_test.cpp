// The install page's copy run under Wine: real LZ library, real files, a real page.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "install/copyengine.h"
#include "install/installlog.h"
#include "install/installrun.h"
#include "install/samefile.h"
#include "install/undorun.h"
#include "install/wholecopy.h"
#include "presentation/gauge.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/model.h"
#include "support/install_page.h"
#include "support/pixels.h"
#include "support/winfiles.h"
#include "wizard/copyprogress.h"
#include "wizard/pages.h"

// The checks report the line of their caller, as Wine's tests do.
#define ExpectOnlyFirstCopied() ExpectOnlyFirstCopied_(__LINE__)

namespace {

// Byte equality of a file with a fixture, reported by size rather than by content.
::testing::AssertionResult Holds(const std::string& path, const std::string& fixture) {
    std::string want = InstallFixture(fixture), got = ReadFileBytes(path);
    if (!want.empty() && got == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << path << " holds " << got.size() << " bytes, " << fixture
                                         << " " << want.size() << " (or differs)";
}

// Texts set on one control of the page, in order.
std::map<HWND, std::vector<std::string>>* recorded;
std::map<HWND, WNDPROC>* originals;

// An entry whose description holds "[repaint]" has the page painted over when its status
// text is set; one holding "[cancel]" puts a Cancel command into the queue then.
LRESULT CALLBACK RecordingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_SETTEXT) {
        std::string text = reinterpret_cast<const char*>(lp);
        (*recorded)[w].push_back(text);
        if (text.find("[repaint]") != std::string::npos) {
            InvalidateRect(GetParent(w), nullptr, TRUE);
            UpdateWindow(GetParent(w));
        }
        if (text.find("[cancel]") != std::string::npos)
            PostMessageA(GetParent(w), WM_COMMAND, IDC_NEXT, 0);
    }
    return CallWindowProcA((*originals)[w], w, m, wp, lp);
}

class CopyEngine : public ::testing::Test {
  protected:
    std::vector<FileEntry> entries;
    std::string root, pkg, dest;
    HWND page = nullptr;
    std::map<HWND, std::vector<std::string>> texts;
    std::map<HWND, WNDPROC> procs;

    void SetUp() override {
        static int run = 0;
        root = MakeScratchDir("ce" + std::to_string(++run));  // short: DestDir holds 39
        pkg = root + "\\pkg";
        dest = root + "\\dest";
        CreateDirectoryA(pkg.c_str(), nullptr);
        CreateDirectoryA(dest.c_str(), nullptr);
        ZeroBytes(&Shared::DiskSet, sizeof(Shared::DiskSet));
        ZeroBytes(Shared::DirTable, sizeof(Shared::DirTable));
        TextCopy(Shared::SourceDir, kDirWidth, pkg.c_str());
        TextCopy(Shared::InstallDir, kDirWidth, dest.c_str());
        TextCopy(Shared::ProductName, kProductWidth, "Qorva");
        TextCopy(Shared::SetupCaption, kCaptionWidth, "Qorva Setup Program");
        recorded = &texts;
        originals = &procs;
        Shared::PageResult = 0;
        InstallLogInit(&log);
        Shared::RunLog = &log;  // as WinMain owns it; the install page starts it
    }
    void TearDown() override {
        if (page != nullptr && IsWindow(page)) DestroyWindow(page);
        DrainQueue();
        Shared::FileTable = nullptr;
        InstallLogClose(&log);
        Shared::RunLog = nullptr;
    }
    InstallLog log;
    // The log of a run that is not started by the install page (the run before it closed).
    InstallLog* StartLog() {
        InstallLogClose(&log);
        InstallLogInit(&log);
        EXPECT_EQ(1, InstallLogStart(&log, Shared::InstallDir, ""));
        return &log;
    }
    // The lines of the install log in InstallDir from its last "Run" on.
    std::string LastRun() {
        std::string text = ReadFileBytes(std::string(Shared::InstallDir) + "\\INSTALL.LOG");
        size_t at = text.rfind("Run\r\n");
        return at == std::string::npos ? text : text.substr(at);
    }

    // Puts a fixture into the package below dir under the given name.
    void Source(const std::string& dir, const std::string& fixture, const std::string& name) {
        std::string d = pkg;
        size_t start = 0;
        while (!dir.empty() && start <= dir.size()) {  // every level of dir
            size_t end = dir.find('\\', start);
            if (end == std::string::npos) end = dir.size();
            d += "\\" + dir.substr(start, end - start);
            CreateDirectoryA(d.c_str(), nullptr);
            start = end + 1;
        }
        WriteFileBytes(d + "\\" + name, InstallFixture(fixture), false);
    }
    void Entry(const std::string& dir, const std::string& destDir, const std::string& src,
               const std::string& dst, const std::string& desc, int absolute = 0) {
        FileEntry e;
        ZeroBytes(&e, sizeof(e));
        TextCopy(e.DirName, kEntryDirWidth, dir.c_str());
        TextCopy(e.DestDir, kEntryDirWidth, destDir.c_str());
        TextCopy(e.SourceFile, kFileNameWidth, src.c_str());
        TextCopy(e.DestFile, kFileNameWidth, dst.c_str());
        TextCopy(e.Description, kDescriptionWidth, desc.c_str());
        e.DestIsAbsolute = absolute;
        entries.push_back(e);
    }
    // Disks of the given sizes over the entries added so far.
    void Disks(std::vector<int> counts) {
        Shared::DiskSet.DiskCount = static_cast<int16_t>(counts.size());
        int first = 0;
        for (size_t d = 0; d < counts.size(); ++d) {
            TextCopy(Shared::DiskSet.Disk[d].DiskLabelText, kLabelWidth, "Disk");
            Shared::DiskSet.Disk[d].FileCount = static_cast<int16_t>(counts[d]);
            Shared::DiskSet.Disk[d].FirstEntry = first;
            first += counts[d];
        }
        Shared::FileTable = entries.data();
    }
    void OpenPage() {
        page = CreateInstallPage();
        ASSERT_NE(nullptr, page);
        for (int id : {IDC_STATUS, IDC_PERCENT}) {
            HWND c = GetDlgItem(page, id);
            procs[c] = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(c, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
        }
        DrainQueue();
    }
    std::vector<std::string> Texts(int id) { return texts[GetDlgItem(page, id)]; }
    // CopyFiles alone: the page stays open for its pixels to be read. The gauge's place.
    RECT CopyKeepingThePage() {
        RECT r = {0, 0, 0, 0};
        OpenPage();
        Shared::PageResult = 1;
        StartLog();
        CopyFiles(page);
        EXPECT_EQ(1, ControlRectInParent(page, IDC_GAUGE, &r));
        return r;
    }
    std::vector<std::string> textsAfterClose[2];
    // Runs WM_SETUP_INIT; returns whether the page closed itself and posted its quit.
    bool RunInstall() {
        OpenPage();
        HWND status = GetDlgItem(page, IDC_STATUS), percent = GetDlgItem(page, IDC_PERCENT);
        SendMessageA(page, WM_SETUP_INIT, 0, 0);
        textsAfterClose[0] = texts[status];
        textsAfterClose[1] = texts[percent];
        bool closed = !IsWindow(page);
        return DrainQueue() && closed;
    }
};

TEST_F(CopyEngine, CopiesPlainAndPackedFilesToTheirPlaces) {
    TextCopy(Shared::DirTable[1], kDirWidth, "DRIVER");
    TextCopy(Shared::DirTable[2], kDirWidth, "HELP");
    TextCopy(Shared::DirTable[3], kDirWidth,
             "HELP\\EN");  // second level below SubDir2, made before it
    std::string abs = root + "\\win";
    CreateDirectoryA(abs.c_str(), nullptr);
    Source("DRIVER", "driver.pk", "DRIVER.BI_");
    Source("DRIVER", "driver.bin", "PLAIN.BIN");
    Source("", "readme.pk", "README.TX_");
    Source("HELP\\EN", "short.pk", "SHORT.TX_");
    Source("WIN", "readme.txt", "README.TXT");
    Source("DRIVER", "short.txt", "SHORT.TXT");
    // An existing destination is replaced, even by a shorter file.
    WriteFileBytes(dest + "\\DRIVER.OLD", std::string(50000, 'o'), false);
    Entry("DRIVER", "DRIVER", "DRIVER.BI_", "DRIVER.BIN", "Driver");
    Entry("DRIVER", "DRIVER", "PLAIN.BIN", "PLAIN.BIN", "Plain copy");
    Entry("", "", "README.TX_", "README.TXT", "Read me");
    Entry("HELP\\EN", "HELP\\EN", "SHORT.TX_", "SHORT.TXT", "Help");
    Entry("WIN", abs, "README.TXT", "ABS.TXT", "Into an absolute directory", 1);
    Entry("DRIVER", "", "SHORT.TXT", "DRIVER.OLD", "Replaces");
    Disks({4, 2});

    ASSERT_TRUE(RunInstall());
    EXPECT_EQ(1, Shared::PageResult);
    EXPECT_TRUE(Holds(dest + "\\DRIVER\\DRIVER.BIN", "driver.bin"));
    EXPECT_TRUE(Holds(dest + "\\DRIVER\\PLAIN.BIN", "driver.bin"));
    EXPECT_TRUE(Holds(dest + "\\README.TXT", "readme.txt"));
    EXPECT_TRUE(Holds(dest + "\\HELP\\EN\\SHORT.TXT", "short.txt"));
    EXPECT_TRUE(Holds(abs + "\\ABS.TXT", "readme.txt"));
    EXPECT_TRUE(Holds(dest + "\\DRIVER.OLD", "short.txt"));
    EXPECT_FALSE(FileExists(dest + "\\ABS.TXT"));

    EXPECT_EQ(
        (std::vector<std::string>{"Copying DRIVER.BI_\n\nDriver", "Copying PLAIN.BIN\n\nPlain copy",
                                  "Copying README.TX_\n\nRead me", "Copying SHORT.TX_\n\nHelp",
                                  "Copying README.TXT\n\nInto an absolute directory",
                                  "Copying SHORT.TXT\n\nReplaces", "Updating Registry..."}),
        textsAfterClose[0]);
    EXPECT_EQ((std::vector<std::string>{"25%", "50%", "75%", "100%", "50%", "100%"}),
              textsAfterClose[1]);
}

TEST_F(CopyEngine, MissingSourcesAndUnmadeDirectoriesAreAskedAbout) {
    TextCopy(Shared::DirTable[1], kDirWidth, "NOPE\\DEEP");  // first level missing: not created
    TextCopy(Shared::DirTable[2], kDirWidth, "OK");
    Source("OK", "short.txt", "ONE.TXT");
    Source("NOPE\\DEEP", "short.txt", "TWO.TXT");
    WriteFileBytes(dest + "\\KEEP.TXT", "an older file that must survive", false);
    Entry("OK", "OK", "ABSENT.TX_", "KEEP.TXT", "Missing, over an existing file");
    Entry("OK", "OK", "ABSENT2.TX_", "NEW.TXT", "Missing, no file");
    Entry("NOPE\\DEEP", "NOPE\\DEEP", "TWO.TXT", "TWO.TXT", "Into a directory never made");
    Entry("OK", "OK", "ONE.TXT", "ONE.TXT", "Still copied afterwards");
    Disks({4});
    // Destination of the first entry lives in OK; put the survivor there.
    CreateDirectoryA((dest + "\\OK").c_str(), nullptr);
    WriteFileBytes(dest + "\\OK\\KEEP.TXT", "an older file that must survive", false);

    MessageBoxAnswerer ignore(IDIGNORE);
    ASSERT_TRUE(RunInstall());
    EXPECT_EQ(1, Shared::PageResult);
    EXPECT_EQ("an older file that must survive", ReadFileBytes(dest + "\\OK\\KEEP.TXT"));
    EXPECT_FALSE(FileExists(dest + "\\OK\\NEW.TXT"));
    EXPECT_FALSE(FileExists(dest + "\\NOPE"));
    EXPECT_TRUE(Holds(dest + "\\OK\\ONE.TXT", "short.txt"));
    // One box for each failed entry, owned by the page, in the order of the entries.
    std::vector<std::string> boxes = ignore.Texts();
    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ("ABSENT.TX_ cannot be copied to " + dest +
                  "\\OK\\KEEP.TXT.\n\nThe file cannot be "
                  "found. Insert the disk or CD that holds it, then choose Retry.",
              boxes[0]);
    EXPECT_EQ(0u, boxes[2].find("TWO.TXT cannot be copied to " + dest +
                                "\\NOPE\\DEEP\\TWO.TXT.\n\n"
                                "The destination cannot be written"))
        << boxes[2];
}

size_t CountOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// Names in dir that setup's temporary files take.
std::vector<std::string> TempFilesIn(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir + "\\~SU*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(found.cFileName);
    while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

// A file copied from an LZ source opened on path as the engine copies it: into the work
// directory, then given its name, new or in the place of the file that stood there.
WholeCopyResult CopyWholeFrom(InstallLog* log, const std::string& source, const std::string& dest) {
    OFSTRUCT scratch;
    INT handle = LZOpenFileA(const_cast<LPSTR>(source.c_str()), &scratch, OF_READ);
    if (handle < 0) return WholeDestFailed;
    char temp[MAX_PATH];
    LONG written = 0;
    HANDLE created = CreateWorkFile(log, dest.c_str(), temp);
    WholeCopyResult result = created != INVALID_HANDLE_VALUE
                                 ? CopyWholeToNew(handle, created, temp, &written)
                                 : WholeDestFailed;
    LZClose(handle);
    OwnFileGuard guard = {};
    int stood = 0;
    if (result == WholeInPlace)
        result = PlaceWhole(log, &guard, source.c_str(), temp, dest.c_str(), &stood);
    return result;
}

// Whole or not at all: a whole file replaces the old one; cut packed data, a full or missing
// directory, a read-only old file or a directory of the name leave what stood there (or
// nothing, where nothing stood) and no temporary file; a file in use is replaced at the next
// start through wininit.ini.
TEST_F(CopyEngine, AFileArrivesWholeOrNotAtAll) {
    TextCopy(Shared::WindowsDir, kDirWidth, root.c_str());
    WriteFileBytes(pkg + "\\README.TX_", InstallFixture("readme.pk"), false);
    WriteFileBytes(pkg + "\\CUT.TX_", InstallFixture("readme.pk").substr(0, 400), false);
    WriteFileBytes(dest + "\\OLD.TXT", "an older file that must survive", false);
    InstallLog* run = StartLog();

    EXPECT_EQ(WholeInPlace, CopyWholeFrom(run, pkg + "\\README.TX_", dest + "\\NEW.TXT"));
    EXPECT_TRUE(Holds(dest + "\\NEW.TXT", "readme.txt"));
    EXPECT_EQ(WholeDataShort, CopyWholeFrom(run, pkg + "\\CUT.TX_", dest + "\\OLD.TXT"));
    EXPECT_EQ("an older file that must survive", ReadFileBytes(dest + "\\OLD.TXT"));
    EXPECT_EQ(WholeDataShort, CopyWholeFrom(run, pkg + "\\CUT.TX_", dest + "\\CUT.TXT"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dest + "\\CUT.TXT").c_str()));
    EXPECT_EQ(WholeDestFailed, CopyWholeFrom(run, pkg + "\\README.TX_", dest + "\\NONE\\X.TXT"));
    WriteFileBytes(dest + "\\RO.TXT", "write-protected", false);
    SetFileAttributesA((dest + "\\RO.TXT").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(WholeDestFailed, CopyWholeFrom(run, pkg + "\\README.TX_", dest + "\\RO.TXT"));
    SetFileAttributesA((dest + "\\RO.TXT").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("write-protected", ReadFileBytes(dest + "\\RO.TXT"));
    CreateDirectoryA((dest + "\\DIR.TXT").c_str(), nullptr);
    EXPECT_EQ(WholeDestFailed, CopyWholeFrom(run, pkg + "\\README.TX_", dest + "\\DIR.TXT"));
    EXPECT_TRUE(TempFilesIn(dest).empty());
    // Every failed step is marked as one that did not happen, and its file is gone.
    // Every failed step after the data arrived is marked as one that did not happen.
    std::string steps = LastRun();
    for (const char* name : {"NONE\\X.TXT", "RO.TXT", "DIR.TXT"})
        EXPECT_NE(std::string::npos, steps.find("Drop " + dest + "\\" + name + "\r\n"))
            << name << steps;
    EXPECT_EQ(std::string::npos, steps.find("CUT.TXT")) << steps;

    // Held open without sharing, as a loaded driver is: the new file waits beside it.
    HANDLE held = CreateFileA((dest + "\\OLD.TXT").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(WholeAtRestart, CopyWholeFrom(run, pkg + "\\README.TX_", dest + "\\OLD.TXT"));
    CloseHandle(held);
    EXPECT_EQ("an older file that must survive", ReadFileBytes(dest + "\\OLD.TXT"));
    std::vector<std::string> waiting = TempFilesIn(dest);
    ASSERT_EQ(1u, waiting.size());
    EXPECT_TRUE(Holds(dest + "\\" + waiting[0], "readme.txt"));
    char shortDest[MAX_PATH];
    ASSERT_NE(0u, GetShortPathNameA(dest.c_str(), shortDest, MAX_PATH));
    std::string line = std::string(shortDest) + "\\OLD.TXT=" + shortDest + "\\" + waiting[0];
    EXPECT_EQ("[rename]\r\n" + line + "\r\n", ReadFileBytes(root + "\\wininit.ini"));

    // The run put back: the replacement is no longer queued, the file that waited is gone,
    // and so is the file the run made.
    EXPECT_EQ(0, FinishCopy(run, 0));
    EXPECT_EQ("[rename]\r\n", ReadFileBytes(root + "\\wininit.ini"));
    EXPECT_TRUE(TempFilesIn(dest).empty());
    EXPECT_EQ("an older file that must survive", ReadFileBytes(dest + "\\OLD.TXT"));
    EXPECT_FALSE(FileExists(dest + "\\NEW.TXT"));
}

TEST_F(CopyEngine, PathsTooLongForTheirBufferAreNeverCut) {
    // InstallDir of 70 characters: "\\" + 12-character name makes 84.
    std::string longDest = dest + "\\" + std::string(70 - dest.size() - 1, 'L');
    ASSERT_EQ(70u, longDest.size());
    CreateDirectoryA(longDest.c_str(), nullptr);
    TextCopy(Shared::InstallDir, kDirWidth, longDest.c_str());
    Source("", "short.txt", "ABCDEFGH.TXT");
    Source("", "short.txt", "A.TXT");
    Entry("", "", "ABCDEFGH.TXT", "ABCDEFGH.TXT", "Too long");
    Entry("", "", "A.TXT", "A.TXT", "Fits: 70 + 2 + 5");
    Disks({2});
    MessageBoxAnswerer ignore(IDIGNORE);  // the entry whose path does not fit fails
    ASSERT_TRUE(RunInstall());
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((longDest + "\\*").c_str(), &fd);
    std::vector<std::string> names;
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (fd.cFileName[0] != '.') names.push_back(fd.cFileName);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    EXPECT_EQ((std::vector<std::string>{"A.TXT", "INSTALL.LOG"}), names);
    // The box names the whole path and says that it is too long.
    ASSERT_EQ(1u, ignore.Texts().size());
    EXPECT_EQ("ABCDEFGH.TXT cannot be copied to " + longDest +
                  "\\ABCDEFGH.TXT.\n\nThe destination's path is longer than 79 characters. "
                  "Install into a directory with a shorter path.",
              ignore.Texts()[0]);
}

// A package installed into its own directory: the files that would be copied onto
// themselves keep their contents, the others are copied as usual.
TEST_F(CopyEngine, AFileThatIsItsOwnDestinationKeepsItsContents) {
    TextCopy(Shared::InstallDir, kDirWidth, pkg.c_str());
    TextCopy(Shared::DirTable[1], kDirWidth, "HELP");
    Source("", "readme.txt", "README.TXT");
    Source("HELP", "short.txt", "SHORT.TXT");
    Source("", "readme.pk", "PACKED.TX_");
    Entry("", "", "README.TXT", "README.TXT", "Onto itself, with a doubled separator");
    Entry("HELP", "help", "SHORT.TXT", "short.txt", "Onto itself, in other letters");
    Entry("", "", "PACKED.TX_", "PACKED.TXT", "Expanded beside its source");
    Disks({3});

    ASSERT_TRUE(RunInstall());
    EXPECT_EQ(1, Shared::PageResult);
    EXPECT_TRUE(Holds(pkg + "\\README.TXT", "readme.txt"));
    EXPECT_TRUE(Holds(pkg + "\\HELP\\SHORT.TXT", "short.txt"));
    EXPECT_TRUE(Holds(pkg + "\\PACKED.TXT", "readme.txt"));
    EXPECT_TRUE(Holds(pkg + "\\PACKED.TX_", "readme.pk"));
    EXPECT_EQ(4u, textsAfterClose[0].size());  // every entry was shown
}

// The package's own directory given as another name of it: the files stay whole, and the
// install record counts them as standing there before.
TEST_F(CopyEngine, TheOwnDirectoryUnderAnotherNameIsRecognised) {
    std::string longPkg = root + "\\Package of a long name";
    CreateDirectoryA(longPkg.c_str(), nullptr);
    CreateDirectoryA((longPkg + "\\SUB").c_str(), nullptr);
    char alias[MAX_PATH] = "";
    ASSERT_NE(0u, GetShortPathNameA(longPkg.c_str(), alias, MAX_PATH));
    ASSERT_EQ(std::string::npos, std::string(alias).find(' ')) << alias;
    const std::string script = "[Main]\r\nProductName=Qorva\r\n[PS2]\r\nDeviceDesc=Old\r\n";
    TextCopy(Shared::SourceDir, kDirWidth, longPkg.c_str());
    Entry("", "", "SETUP.INF", "SETUP.INF", "Script and journal");
    Entry("", "", "README.TXT", "README.TXT", "Read me");
    Disks({2});
    for (std::string dir : {longPkg + "\\SUB\\..", longPkg + ".",
                            root + "\\\\Package of a long name\\\\", std::string(alias)}) {
        WriteFileBytes(longPkg + "\\SETUP.INF", script, false);
        WriteFileBytes(longPkg + "\\README.TXT", InstallFixture("readme.txt"), false);
        TextCopy(Shared::InstallDir, kDirWidth, dir.c_str());
        ASSERT_TRUE(RunInstall()) << dir;
        // Neither file is written, nor counted as made by setup: they stood there, and an
        // uninstall leaves them.
        EXPECT_EQ(script, ReadFileBytes(longPkg + "\\SETUP.INF")) << dir;
        std::string steps = LastRun();
        EXPECT_NE(std::string::npos, steps.find("\\SETUP.INF\r\nMake ")) << steps;
        EXPECT_NE(std::string::npos, steps.find("\\README.TXT\r\nDone")) << steps;
        // The script's own step, and README.TXT's two: made at its name, and its own file.
        EXPECT_EQ(3u, CountOf(steps, "Drop ")) << steps;
        EXPECT_TRUE(Holds(longPkg + "\\README.TXT", "readme.txt")) << dir;
    }
}

// The guard walks the file system once per pair of directories, not once per file: into
// another directory with every destination there already, and into the package itself.
TEST_F(CopyEngine, TheOwnFileGuardResolvesEachPairOfDirectoriesOnce) {
    for (int i = 0; i < 12; ++i) {
        std::string name = "F" + std::to_string(i) + ".TXT";
        Source("DATA", "short.txt", name);
        WriteFileBytes(dest + "\\" + name, "older", false);
        Entry("DATA", "", name, name, "Replaces an older file");
    }
    Disks({12});
    long before = PathResolutionCount();
    ASSERT_TRUE(RunInstall());
    EXPECT_LE(PathResolutionCount() - before, 2);
    EXPECT_TRUE(Holds(dest + "\\F11.TXT", "short.txt"));

    TextCopy(Shared::InstallDir, kDirWidth, pkg.c_str());
    for (FileEntry& e : entries) TextCopy(e.DestDir, kEntryDirWidth, "DATA");
    before = PathResolutionCount();
    ASSERT_TRUE(RunInstall());
    EXPECT_LE(PathResolutionCount() - before, 2);
    EXPECT_TRUE(Holds(pkg + "\\DATA\\F11.TXT", "short.txt"));
}

TEST_F(CopyEngine, NoDisksStillRegistersAfterASecond) {
    Disks({});
    DWORD start = GetTickCount();
    ASSERT_TRUE(RunInstall());
    EXPECT_GE(GetTickCount() - start, 1000u);
    EXPECT_EQ(1, Shared::PageResult);
    EXPECT_EQ((std::vector<std::string>{"Updating Registry..."}), textsAfterClose[0]);
    EXPECT_TRUE(textsAfterClose[1].empty());
}

TEST_F(CopyEngine, EmptyDiskIsPassedOver) {
    Source("", "short.txt", "A.TXT");
    Entry("", "", "A.TXT", "A.TXT", "On the second disk");
    Disks({0, 1});
    ASSERT_TRUE(RunInstall());
    EXPECT_TRUE(Holds(dest + "\\A.TXT", "short.txt"));
    EXPECT_EQ((std::vector<std::string>{"100%"}), textsAfterClose[1]);
}

// The engine alone: a caller that records what it is told, with no window anywhere.
struct Recorder {
    std::vector<std::string> calls;
    int stopAtPoll = -1;  // the poll (from 0) that asks to stop
    int polls = 0;
    std::vector<CopyAnswer> answers;  // to the failures in turn; then go on
    std::function<void()> onFailure;  // runs before a failure is answered
    CopyCaller Caller() {
        return {this,
                [](void* r, int disk) { Rec(r)->calls.push_back("disk " + std::to_string(disk)); },
                [](void* r, const FileEntry* e) {
                    Rec(r)->calls.push_back(std::string("entry ") + e->SourceFile);
                },
                [](void* r, int16_t p) { Rec(r)->calls.push_back(std::to_string(p) + "%"); },
                [](void* r) { return Rec(r)->polls++ == Rec(r)->stopAtPoll ? 1 : 0; },
                [](void* r, const CopyFailureReport* f) {
                    Recorder* me = Rec(r);
                    std::string dest = f->Dest;
                    me->calls.push_back("failed " + std::string(f->Entry->SourceFile) + " " +
                                        std::to_string(f->Why) + " " +
                                        dest.substr(dest.rfind('\\') + 1));
                    if (me->onFailure) me->onFailure();
                    if (me->answers.empty()) return CopyGoOn;
                    CopyAnswer a = me->answers.front();
                    me->answers.erase(me->answers.begin());
                    return a;
                },
                [](void* r, const char* dest, int existed) {
                    std::string d = dest;
                    Rec(r)->calls.push_back("wrote " + d.substr(d.rfind('\\') + 1) +
                                            (existed ? " over" : ""));
                },
                [](void* r) { Rec(r)->calls.push_back("registering"); }};
    }
    static Recorder* Rec(void* r) { return static_cast<Recorder*>(r); }
};

using Calls = std::vector<std::string>;

TEST_F(CopyEngine, WithoutAWindowTheCallerHearsEveryStepInOrder) {
    Source("", "short.txt", "A.TXT");
    Source("", "readme.pk", "B.TX_");
    WriteFileBytes(dest + "\\B.TXT", "older", false);
    Entry("", "", "A.TXT", "A.TXT", "a");
    Entry("", "", "GONE.TXT", "GONE.TXT", "missing");
    Entry("", "", "B.TX_", "B.TXT", "b");
    Disks({2, 1});
    Recorder r;
    CopyCaller caller = r.Caller();
    EXPECT_EQ(1, CopyAndRegister(&caller, StartLog()));
    EXPECT_EQ((Calls{"disk 0", "entry A.TXT", "50%", "wrote A.TXT", "entry GONE.TXT", "100%",
                     "failed GONE.TXT 1 GONE.TXT", "disk 1", "entry B.TX_", "100%",
                     "wrote B.TXT over", "registering"}),
              r.calls);
    EXPECT_EQ(6, r.polls);  // two per entry
    EXPECT_TRUE(Holds(dest + "\\B.TXT", "readme.txt"));

    // A stop asked for at the first entry's second poll: that entry is finished, no other
    // begins, and the run is put back: the new file goes, the replaced one returns.
    DeleteFileA((dest + "\\A.TXT").c_str());
    WriteFileBytes(dest + "\\B.TXT", "older", false);
    entries[0] = entries[2];
    Recorder stop;
    stop.stopAtPoll = 3;
    caller = stop.Caller();
    EXPECT_EQ(0, CopyEntries(&caller, StartLog()));
    EXPECT_EQ((Calls{"disk 0", "entry B.TX_", "50%", "wrote B.TXT over", "entry GONE.TXT",
                     "100%", "failed GONE.TXT 1 GONE.TXT"}),
              stop.calls);
    EXPECT_EQ("older", ReadFileBytes(dest + "\\B.TXT"));
    EXPECT_FALSE(FileExists(dest + "\\~SUWORK"));
    EXPECT_EQ("Run\r\nUndone\r\n", LastRun().substr(0, 5) + LastRun().substr(LastRun().size() - 8));
}

TEST_F(CopyEngine, AFailedEntryIsRetriedOrAbortsAsTheCallerAnswers) {
    Source("", "short.txt", "C.TXT");
    Entry("", "", "LATE.TXT", "LATE.TXT", "arrives on retry");
    Entry("", "", "", "EMPTY.TXT", "names no source: no failure");
    Entry("", "", "", "", "a name too long: fails");
    entries.back().NameTooLong = 1;
    Entry("", "", "GONE.TXT", "GONE.TXT", "aborts");
    Entry("", "", "C.TXT", "C.TXT", "never reached");
    Disks({5});
    Recorder r;
    r.answers = {CopyRetry, CopyGoOn, CopyAbort};
    int failures = 0;
    r.onFailure = [&] {  // the source turns up before the retry
        if (++failures == 1) Source("", "short.txt", "LATE.TXT");
    };
    CopyCaller caller = r.Caller();
    EXPECT_EQ(0, CopyEntries(&caller, StartLog()));
    // Abort puts the run back: the file that arrived on retry goes again.
    EXPECT_FALSE(FileExists(dest + "\\LATE.TXT"));
    EXPECT_FALSE(FileExists(dest + "\\C.TXT"));
    EXPECT_EQ((Calls{"disk 0", "entry LATE.TXT", "20%", "failed LATE.TXT 1 LATE.TXT",
                     "entry LATE.TXT", "20%", "wrote LATE.TXT", "entry ", "40%", "entry ",
                     "60%", "failed  5 ", "entry GONE.TXT", "80%", "failed GONE.TXT 1 GONE.TXT"}),
              r.calls);
}

// Two entries with one destination, undone by an Abort: what stood before the first returns,
// on a first installation and on a reinstall, which writes over the files in place.
TEST_F(CopyEngine, TwoEntriesOfOneDestinationAreBothPutBack) {
    Source("", "short.txt", "A.TXT");
    WriteFileBytes(pkg + "\\B.TX_", InstallFixture("readme.pk"), false);
    WriteFileBytes(dest + "\\OLD.TXT", "stood there", false);
    for (const char* name : {"NEW.TXT", "OLD.TXT"}) {
        Entry("", "", "A.TXT", name, "first");
        Entry("", "", "B.TX_", name, "second");
    }
    Entry("", "", "GONE.TXT", "GONE.TXT", "aborts");
    Disks({5});
    Recorder r;
    r.answers = {CopyAbort};
    CopyCaller caller = r.Caller();
    EXPECT_EQ(0, CopyEntries(&caller, StartLog()));
    EXPECT_FALSE(FileExists(dest + "\\NEW.TXT"));
    EXPECT_EQ("stood there", ReadFileBytes(dest + "\\OLD.TXT"));

    entries.pop_back();  // a whole run, then a reinstall that aborts
    Disks({4});
    EXPECT_EQ(1, CopyEntries(nullptr, StartLog()));
    Entry("", "", "GONE.TXT", "GONE.TXT", "aborts");
    Disks({5});
    r.answers = {CopyAbort};
    EXPECT_EQ(0, CopyEntries(&caller, StartLog()));
    EXPECT_NE(std::string::npos, LastRun().find("Keep " + dest + "\\NEW.TXT")) << LastRun();
    EXPECT_TRUE(Holds(dest + "\\NEW.TXT", "readme.txt"));
    EXPECT_TRUE(Holds(dest + "\\OLD.TXT", "readme.txt"));
}

// A run killed while it made new files at their names: the undo removes the files it had
// made, the empty one it was killed after making, and leaves the file that stood where it
// was about to make one.
TEST_F(CopyEngine, AKilledRunsFilesMadeAtTheirNamesGo) {
    WriteFileBytes(dest + "\\PARTIAL.DLL", "the first bytes", false);
    WriteFileBytes(dest + "\\EMPTY.DLL", "", false);
    WriteFileBytes(dest + "\\STOOD.DLL", "somebody's", false);
    WriteFileBytes(dest + "\\INSTALL.LOG",
                   "Directory " + dest + "\r\nRun\r\nMake " + dest + "\\PARTIAL.DLL\r\nNew " + dest +
                       "\\PARTIAL.DLL\r\nMake " + dest + "\\GONE.DLL\r\nNew " + dest +
                       "\\GONE.DLL\r\nMake " + dest + "\\STOOD.DLL\r\nMake " + dest +
                       "\\EMPTY.DLL\r\n",
                   false);
    StartLog();
    EXPECT_FALSE(FileExists(dest + "\\PARTIAL.DLL"));
    EXPECT_FALSE(FileExists(dest + "\\EMPTY.DLL"));
    EXPECT_EQ("somebody's", ReadFileBytes(dest + "\\STOOD.DLL"));
}

// A packed file cut inside its 14-byte header reads as a plain file of a few bytes: its copy
// fails as damaged, and nothing of it arrives.
TEST_F(CopyEngine, APackedFileCutInsideItsHeaderIsDamaged) {
    WriteFileBytes(pkg + "\\CUT.DR_", std::string("SZDD\x88\xf0\x27\x33\x41\x00", 10), false);
    Entry("", "", "CUT.DR_", "CUT.DRV", "cut in its header");
    Disks({1});
    Recorder r;
    CopyCaller caller = r.Caller();
    EXPECT_EQ(1, CopyEntries(&caller, StartLog()));
    EXPECT_EQ("failed CUT.DR_ 3 CUT.DRV", r.calls.back());
    EXPECT_FALSE(FileExists(dest + "\\CUT.DRV"));
}

// A package's file of the install log's name is refused: the log stays setup's own.
TEST_F(CopyEngine, AFileOfTheInstallLogsNameIsRefused) {
    Source("", "short.txt", "INSTALL.LOG");
    Entry("", "", "INSTALL.LOG", "install.log", "the log's name");
    Disks({1});
    Recorder r;
    CopyCaller caller = r.Caller();
    EXPECT_EQ(1, CopyEntries(&caller, StartLog()));
    EXPECT_EQ("failed INSTALL.LOG 2 install.log", r.calls.back());
    EXPECT_EQ(0u, ReadFileBytes(dest + "\\INSTALL.LOG").find("Directory " + dest + "\r\nRun\r\n"));

    // Somebody's own file of that name stays, and without a log no step is taken.
    InstallLogClose(&log);
    WriteFileBytes(dest + "\\INSTALL.LOG", "my own notes\r\n");
    EXPECT_EQ(0, InstallLogStart(&log, dest.c_str(), ""));
    Source("", "short.txt", "A.TXT");
    Entry("", "", "A.TXT", "A.TXT", "not without a log");
    Disks({0, 1});
    EXPECT_EQ(0, CopyEntries(&caller, &log));
    EXPECT_FALSE(FileExists(dest + "\\A.TXT"));
    EXPECT_EQ("my own notes\r\n", ReadFileBytes(dest + "\\INSTALL.LOG"));
}

// The whole installation with no caller at all: subdirectories, files, the registration,
// and system.ini only after a copy that was not stopped.
TEST_F(CopyEngine, TheWholeInstallationRunsWithoutAnyWindow) {
    std::string win = root + "\\win";
    CreateDirectoryA(win.c_str(), nullptr);
    TextCopy(Shared::WindowsDir, kDirWidth, win.c_str());
    const std::string ini = "[386Enh]\r\nmouse=*vmd,msmouse.vxd\r\n";
    WriteFileBytes(win + "\\system.ini", ini);
    TextCopy(Shared::DirTable[1], kDirWidth, "SUB");
    Source("", "short.txt", "A.TXT");
    Entry("", "SUB", "A.TXT", "A.TXT", "a");
    Disks({1});
    EXPECT_EQ(1, RunInstallation(nullptr, StartLog()));
    EXPECT_TRUE(Holds(dest + "\\SUB\\A.TXT", "short.txt"));
    EXPECT_EQ("[386Enh]\r\nmouse=*vmouse\r\n", ReadFileBytes(win + "\\system.ini"));
    // The log has the line from before the switch, and that system.bak was made.
    std::string steps = LastRun();
    EXPECT_NE(std::string::npos,
              steps.find("Done\r\nRegistry\r\nMouse mouse=*vmd,msmouse.vxd\r\nSysBak New\r\n"))
        << steps;

    // Stopped: nothing is registered, system.ini stays, and the file it replaced returns.
    WriteFileBytes(win + "\\system.ini", ini);
    WriteFileBytes(dest + "\\SUB\\A.TXT", "the first installation's", false);
    Recorder stop;
    stop.stopAtPoll = 0;
    CopyCaller caller = stop.Caller();
    InstallLogClose(&log);
    EXPECT_EQ(0, RunInstallation(&caller, StartLog()));
    EXPECT_NE("registering", stop.calls.back());
    EXPECT_EQ(ini, ReadFileBytes(win + "\\system.ini"));
    EXPECT_EQ("the first installation's", ReadFileBytes(dest + "\\SUB\\A.TXT"));
    Shared::WindowsDir[0] = 0;
}

// Five entries; a cancel reaches the copy during the first one.
class CopyEngineCancel : public CopyEngine {
  protected:
    void FiveEntries() {
        for (int i = 0; i < 5; ++i) {
            std::string n = "F" + std::to_string(i) + ".TXT";
            Source("", "driver.pk", n);
            Entry("", "", n, n, "Entry " + std::to_string(i));
        }
        Disks({5});
    }
    // The first entry was finished, then put back with the rest of the run: no file stays,
    // and nothing is registered.
    void ExpectOnlyFirstCopied_(int line) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        for (int i = 0; i < 5; ++i)
            EXPECT_FALSE(FileExists(dest + "\\F" + std::to_string(i) + ".TXT")) << i;
        EXPECT_EQ((std::vector<std::string>{"Copying F0.TXT\n\nEntry 0"}), textsAfterClose[0]);
        // A log of no completed run goes with the rest, and so does the work directory.
        EXPECT_FALSE(FileExists(dest + "\\INSTALL.LOG"));
        EXPECT_FALSE(FileExists(dest + "\\~SUWORK"));
    }
};

TEST_F(CopyEngineCancel, AClickOnCancelFinishesTheEntryThenStops) {
    FiveEntries();
    MessageBoxAnswerer answerer;
    OpenPage();
    HWND cancel = GetDlgItem(page, IDC_NEXT);
    // A click: press and release, taken out by the two pumps of the first entry.
    PostMessageA(cancel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(cancel, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND status = GetDlgItem(page, IDC_STATUS);
    HWND owner = page;
    SendMessageA(page, WM_SETUP_INIT, 0, 0);
    textsAfterClose[0] = texts[status];
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_TRUE(DrainQueue());
    EXPECT_EQ(0, Shared::PageResult);
    ExpectOnlyFirstCopied();
    ASSERT_EQ(1u, answerer.Texts().size());
    EXPECT_EQ("Qorva installation is not completed !", answerer.Texts()[0]);
    EXPECT_EQ(owner, answerer.Owners()[0]);
}

TEST_F(CopyEngineCancel, ACancelCommandStandingInTheQueueIsCaughtByThePump) {
    FiveEntries();
    MessageBoxAnswerer answerer;
    OpenPage();
    PostMessageA(page, WM_COMMAND, IDC_NEXT, 0);
    HWND status = GetDlgItem(page, IDC_STATUS);
    SendMessageA(page, WM_SETUP_INIT, 0, 0);
    textsAfterClose[0] = texts[status];
    EXPECT_TRUE(DrainQueue());
    EXPECT_EQ(0, Shared::PageResult);
    ExpectOnlyFirstCopied();
    EXPECT_EQ(1u, answerer.Texts().size());
}

TEST_F(CopyEngineCancel, ACloseFromElsewhereWhileCopyingActsAsCancel) {
    FiveEntries();
    MessageBoxAnswerer answerer;
    OpenPage();
    PostMessageA(page, WM_CLOSE, 0, 0);
    HWND status = GetDlgItem(page, IDC_STATUS);
    SendMessageA(page, WM_SETUP_INIT, 0, 0);
    textsAfterClose[0] = texts[status];
    EXPECT_FALSE(IsWindow(page));
    EXPECT_TRUE(DrainQueue());
    EXPECT_EQ(0, Shared::PageResult);
    ExpectOnlyFirstCopied();
    EXPECT_EQ(1u, answerer.Texts().size());
}

TEST_F(CopyEngine, GaugeShowsTheDiskDoneInBlue) {
    Source("", "short.txt", "A.TXT");
    Source("", "short.txt", "B.TXT");
    Entry("", "", "A.TXT", "A.TXT", "a");
    Entry("", "", "B.TXT", "B.TXT", "b");
    Disks({2});
    RECT r = CopyKeepingThePage();
    EXPECT_EQ(1, Shared::PageResult);
    EXPECT_EQ("Updating Registry...", Texts(IDC_STATUS).back());
    EXPECT_EQ("100%", Texts(IDC_PERCENT).back());
    const COLORREF blue = RGB(0, 0, 255), white = RGB(255, 255, 255);
    EXPECT_EQ(blue, ClientPixel(page, r.left + 1, r.top + 1));
    EXPECT_EQ(blue, ClientPixel(page, r.right - 3, r.bottom - 4));
    EXPECT_EQ(white, ClientPixel(page, r.left + 1, r.bottom - 3));  // the row under the fill
    EXPECT_EQ(RGB(128, 128, 128), ClientPixel(page, r.right - 2, r.top + 3));
}

// The gauge starts empty again with every disk: stopped after the first entry of the
// second disk, it shows a third of its width blue and the rest white, not the first
// disk's full bar.
TEST_F(CopyEngine, EveryDiskStartsWithAnEmptyGauge) {
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT"}) Source("", "short.txt", name);
    Entry("", "", "A.TXT", "A.TXT", "a");
    Entry("", "", "B.TXT", "B.TXT", "b");
    Entry("", "", "C.TXT", "C.TXT", "c [cancel]");
    Entry("", "", "D.TXT", "D.TXT", "never reached");
    Entry("", "", "E.TXT", "E.TXT", "never reached");
    Disks({2, 3});
    RECT r = CopyKeepingThePage();
    EXPECT_EQ(0, Shared::PageResult);
    EXPECT_EQ((std::vector<std::string>{"50%", "100%", "33%"}), Texts(IDC_PERCENT));
    const int inner = (r.right - 3) - (r.left + 1);
    const int filled = r.left + 1 + ((inner + 1) * 33) / 100;
    EXPECT_EQ(RGB(0, 0, 255), ClientPixel(page, r.left + 1, r.top + 2));
    EXPECT_EQ(RGB(0, 0, 255), ClientPixel(page, filled - 1, r.top + 2));
    EXPECT_EQ(RGB(255, 255, 255), ClientPixel(page, filled + 2, r.top + 2));
    EXPECT_EQ(RGB(255, 255, 255), ClientPixel(page, r.right - 4, r.top + 2));
}

// A disk without entries still gets its empty white gauge, after a first disk filled it.
TEST_F(CopyEngine, ADiskWithoutEntriesShowsAnEmptyGauge) {
    Source("", "short.txt", "A.TXT");
    Entry("", "", "A.TXT", "A.TXT", "a");
    Disks({1, 0});
    RECT r = CopyKeepingThePage();
    EXPECT_EQ((std::vector<std::string>{"100%"}), Texts(IDC_PERCENT));
    for (int x : {r.left + 1, (r.left + r.right) / 2, r.right - 4})
        EXPECT_EQ(RGB(255, 255, 255), ClientPixel(page, x, r.top + 2)) << x;
    EXPECT_EQ(RGB(128, 128, 128), ClientPixel(page, r.left - 1, r.top + 2));
}

// Each fill's brush is deleted after use: a copy run leaves no GDI object behind.
TEST_F(CopyEngine, FillingTheGaugeLeavesNoGdiObjectBehind) {
    Source("", "short.txt", "A.TXT");
    for (int i = 0; i < 20; ++i) Entry("", "", "A.TXT", "A.TXT", "again");
    Disks({20});
    OpenPage();
    Shared::PageResult = 1;
    StartLog();
    int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    CopyFiles(page);
    EXPECT_EQ(before, GdiObjectCount());
}

// The fill is drawn straight onto the page, so a repaint of the page takes it away. The
// next entry draws it again even when its percentage is the same as before.
TEST_F(CopyEngine, FillComesBackAfterThePageWasPaintedOver) {
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT"}) Source("", "short.txt", name);
    Entry("", "", "A.TXT", "A.TXT", "0%");
    Entry("", "", "B.TXT", "B.TXT", "1%");
    Entry("", "", "C.TXT", "C.TXT", "1% again [repaint] [cancel]");
    for (int i = 3; i < 200; ++i) Entry("", "", "NONE.TXT", "NONE.TXT", "never reached");
    Disks({200});
    RECT r = CopyKeepingThePage();
    EXPECT_EQ(0, Shared::PageResult);
    EXPECT_EQ((std::vector<std::string>{"0%", "1%"}), Texts(IDC_PERCENT));
    EXPECT_EQ(RGB(0, 0, 255), ClientPixel(page, r.left + 1, r.top + 2));
}

// A SETUP.INF copied over the one in the installation directory, which holds the journal
// of replaced registry values in its [PS2] and [Serial] sections.
class CopyEngineJournal : public CopyEngine {
  protected:
    const std::string scriptLines =
        "[Main]\r\nProductName=New\r\n[PS2]\r\nDeviceDesc=From the package\r\n"
        "[Disk1]\r\n1=SETUP.INF, SETUP.INF, Script, RootDir\r\n";
    // A record of an installation that comes with the package names nothing setup made.
    const std::string newScript =
        scriptLines + "[Installed]\r\nDirectory=C:\\\r\nC:\\WINDOWS\\WIN.INI=New\r\n";
    const std::string oldJournal =
        "[Main]\r\nProductName=Old\r\n[Extra]\r\nOnly=old\r\n"
        "[PS2]\r\nDeviceDesc=Standard PS/2 Port Mouse\r\nMouseDriver=mouse.drv\r\n"
        "[Serial]\r\nDeviceDesc=Standard Serial Mouse\r\n";
    // The package's script as the only entry, to destDir \ destFile below InstallDir.
    void ScriptEntry(const std::string& destDir, const std::string& destFile = "SETUP.INF") {
        WriteFileBytes(pkg + "\\SETUP.INF", newScript, false);
        Entry("", destDir, "SETUP.INF", destFile, "Script");
        Disks({1});
    }
    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
};

TEST_F(CopyEngineJournal, JournalSectionsOfTheOldScriptSurviveTheCopy) {
    WriteFileBytes(dest + "\\SETUP.INF", oldJournal);  // aged: the profile cache keeps it
    std::string file = dest + "\\SETUP.INF";
    char v[64];
    GetPrivateProfileStringA("Main", "ProductName", "", v, sizeof(v), file.c_str());
    ASSERT_STREQ("Old", v);
    ScriptEntry(".", "setup.inf");  // RootDir "." and a name in other case: the same file

    ASSERT_TRUE(RunInstall());
    EXPECT_EQ(1, Shared::PageResult);
    std::string got = ReadFileBytes(file);
    EXPECT_TRUE(Has(got, "ProductName=New")) << got;
    EXPECT_TRUE(Has(got, "1=SETUP.INF, SETUP.INF, Script, RootDir")) << got;
    EXPECT_FALSE(Has(got, "ProductName=Old")) << got;
    EXPECT_FALSE(Has(got, "Only=old")) << got;
    EXPECT_FALSE(Has(got, "From the package")) << got;  // the old journal wins over the package's
    GetPrivateProfileStringA("PS2", "DeviceDesc", "", v, sizeof(v), file.c_str());
    EXPECT_STREQ("Standard PS/2 Port Mouse", v);
    GetPrivateProfileStringA("PS2", "MouseDriver", "", v, sizeof(v), file.c_str());
    EXPECT_STREQ("mouse.drv", v);
    GetPrivateProfileStringA("Serial", "DeviceDesc", "", v, sizeof(v), file.c_str());
    EXPECT_STREQ("Standard Serial Mouse", v);
    GetPrivateProfileStringA("Main", "ProductName", "", v, sizeof(v), file.c_str());
    EXPECT_STREQ("New", v);
}

TEST_F(CopyEngineJournal, WithoutAnOldJournalTheScriptIsCopiedWithTheInstallationsRecord) {
    // No old file: a plain copy, but for the record, which is the installation's own.
    ScriptEntry("");
    ASSERT_TRUE(RunInstall());
    EXPECT_EQ(scriptLines, ReadFileBytes(dest + "\\SETUP.INF"));
    EXPECT_NE(std::string::npos, LastRun().find("New " + dest + "\\SETUP.INF|")) << LastRun();
}

TEST_F(CopyEngineJournal, AnOldScriptWithoutJournalOrElsewhereIsSimplyReplaced) {
    // An old script without journal sections, and a SETUP.INF in a subdirectory that has
    // journal sections but is not the journal: both are replaced byte for byte, the first
    // then gaining the record of what the installation wrote (over files that stood there).
    WriteFileBytes(dest + "\\SETUP.INF", "[Main]\r\nProductName=Old\r\n[Extra]\r\nOnly=old\r\n");
    CreateDirectoryA((dest + "\\HELP").c_str(), nullptr);
    WriteFileBytes(dest + "\\HELP\\SETUP.INF", oldJournal);
    WriteFileBytes(pkg + "\\SETUP.INF", newScript, false);
    Entry("", "", "SETUP.INF", "SETUP.INF", "Script");
    Entry("", "HELP", "SETUP.INF", "SETUP.INF", "Not the journal");
    Disks({2});
    ASSERT_TRUE(RunInstall());
    EXPECT_EQ(scriptLines, ReadFileBytes(dest + "\\SETUP.INF"));
    EXPECT_EQ(newScript, ReadFileBytes(dest + "\\HELP\\SETUP.INF"));
}

}  // namespace
