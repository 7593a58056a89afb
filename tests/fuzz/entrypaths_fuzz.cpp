// The copy engine's paths from an entry of the install model: a composed path is never longer
// than its 80-character buffer; it is the whole join of its parts or empty.
#include <string>

#include "fuzz_input.h"
#include "install/entrypaths.h"
#include "script/model.h"

static void CheckPath(int ok, const std::vector<char>& buffer, const std::string& whole) {
    FUZZ_CHECK(Terminated(buffer));
    std::string got = buffer.data();
    FUZZ_CHECK(ok == (whole.size() < static_cast<size_t>(kDirWidth)));
    FUZZ_CHECK(got == (ok ? whole : std::string()));
}

static void Set(char* field, int width, const std::string& s) {
    std::string f = Fit(s, width);
    f.copy(field, f.size());
    field[f.size()] = 0;
}

// Input: a byte for the absolute flag and the directory key, then SourceDir, InstallDir,
// a DirTable value, DirName, DestDir, SourceFile and DestFile separated by line feeds, each
// cut to the width of its field in the model.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    int key = data[0] % kDirKeyCount;
    std::vector<std::string> p = SplitParts(data + 1, size - 1, 7);

    FileEntry entry = {};
    Set(Shared::SourceDir, kDirWidth, p[0]);
    Set(Shared::InstallDir, kDirWidth, p[1]);
    Set(Shared::DirTable[key], kDirWidth, p[2]);
    Set(entry.DirName, kEntryDirWidth, p[3]);
    Set(entry.DestDir, kEntryDirWidth, p[4]);
    Set(entry.SourceFile, kFileNameWidth, p[5]);
    Set(entry.DestFile, kFileNameWidth, p[6]);
    entry.DestIsAbsolute = data[0] >> 7;
    Shared::FileTable = &entry;
    Shared::DiskSet.DiskCount = 1;
    Shared::DiskSet.Disk[0].FileCount = 1;
    Shared::DiskSet.Disk[0].FirstEntry = 0;

    std::string source =
        std::string(Shared::SourceDir) + "\\" + entry.DirName + "\\" + entry.SourceFile;
    std::string dest = entry.DestIsAbsolute ? std::string(entry.DestDir) + "\\" + entry.DestFile
                                            : std::string(Shared::InstallDir) + "\\" +
                                                  entry.DestDir + "\\" + entry.DestFile;
    std::vector<char> buffer = Buffer(kDirWidth);
    CheckPath(MakeSourcePath(buffer.data(), 0, 0), buffer, source);
    buffer = Buffer(kDirWidth);
    CheckPath(MakeDestPath(buffer.data(), 0, 0), buffer, dest);

    buffer = Buffer(kDirWidth);
    int ok = MakeSubDirPath(buffer.data(), key);
    if (Shared::DirTable[key][0] == 0) {
        FUZZ_CHECK(ok == 0 && buffer[0] == 0);
    } else {
        CheckPath(ok, buffer, std::string(Shared::InstallDir) + "\\" + Shared::DirTable[key]);
    }
    Shared::FileTable = nullptr;
    return 0;
}
