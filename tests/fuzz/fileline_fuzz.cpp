// SETUP.INF file lines: the field splitter walks any line to its end with every field
// terminated and trimmed, and a parsed entry either holds its names and directories whole or
// none of them (a name cut short would name another file).
#include <algorithm>
#include <cctype>
#include <string>

#include "fuzz_input.h"
#include "script/fileline.h"
#include "script/model.h"

static const char* const kKeyNames[kDirKeyCount] = {
    "RootDir", "SubDir1", "SubDir2", "SubDir3",      "SubDir4",
    "SubDir5", "SubDir6", "WinDir",  "WinSystemDir", "WinInfDir"};

static std::string Trimmed(const std::string& s) {
    size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Splits the whole line and returns its first four fields as the splitter gives them.
static std::vector<std::string> CheckSplit(const std::string& line) {
    std::vector<std::string> fields;
    const char* pos = line.c_str();
    const char* end = pos + line.size();
    for (int i = 0; i < 200; ++i) {  // a line of 127 characters has at most 128 fields
        std::vector<char> field = Buffer(kLineWidth);
        const char* next = SplitField(pos, field.data());
        FUZZ_CHECK(Terminated(field));
        FUZZ_CHECK(next >= pos && next <= end);
        std::string f = field.data();
        FUZZ_CHECK(f.empty() || (f.front() != ' ' && f.back() != ' '));
        // The raw text up to the next comma, trimmed, unless it is too long for the field.
        std::string raw(pos, static_cast<size_t>(std::find(pos, end, ',') - pos));
        if (raw.size() < static_cast<size_t>(kLineWidth)) FUZZ_CHECK(f == Trimmed(raw));
        if (fields.size() < 4) fields.push_back(f);
        if (next == pos) {  // the end of the line: every further field is empty
            FUZZ_CHECK(next == end && f.empty());
            break;
        }
        pos = next;
    }
    return fields;
}

static bool TerminatedIn(const char* s, int width) {
    for (int i = 0; i < width; ++i)
        if (s[i] == 0) return true;
    return false;
}

// Input: the file line, the Windows directory, then the ten DirTable values, separated by
// line feeds; the line and the values are cut to the widths the loader reads them into.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> p = SplitParts(data, size, 12);
    std::string line = Fit(p[0], kLineWidth);
    std::string windowsDir = Fit(p[1], kDirWidth);
    char dirTable[kDirKeyCount][kDirWidth];
    for (int k = 0; k < kDirKeyCount; ++k) {
        std::string v = Fit(p[2 + k], kDirWidth);
        v.copy(dirTable[k], v.size());
        dirTable[k][v.size()] = 0;
    }

    std::vector<std::string> fields = CheckSplit(line);
    fields.resize(4);

    FileEntry* e = new FileEntry();  // zeroed, as the loader's table is
    ParseFileLine(line.c_str(), kKeyNames, dirTable, windowsDir.c_str(), e);
    FUZZ_CHECK(TerminatedIn(e->SourceFile, kFileNameWidth) &&
               TerminatedIn(e->DestFile, kFileNameWidth));
    FUZZ_CHECK(TerminatedIn(e->DirName, kEntryDirWidth) &&
               TerminatedIn(e->DestDir, kEntryDirWidth));
    FUZZ_CHECK(TerminatedIn(e->Description, kDescriptionWidth));
    FUZZ_CHECK(e->DestIsAbsolute == 0 || e->DestIsAbsolute == 1);
    FUZZ_CHECK(std::string(e->Description) == Fit(fields[2], kDescriptionWidth));

    int key = -1;
    for (int k = 0; k < kDirKeyCount && key < 0; ++k)
        if (fields[3].size() == std::string(kKeyNames[k]).size() &&
            std::equal(fields[3].begin(), fields[3].end(), kKeyNames[k], [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            key = k;
    std::string destDir = key < 7 ? ""
                                  : windowsDir + (key == 8   ? "\\SYSTEM"
                                                  : key == 9 ? "\\INF"
                                                             : "");
    if (key >= 0 && key < 7) destDir = dirTable[key];
    bool fits = fields[0].size() < kFileNameWidth && fields[1].size() < kFileNameWidth &&
                (key < 0 || (std::string(dirTable[key]).size() < kEntryDirWidth &&
                             destDir.size() < kEntryDirWidth));
    if (fits) {
        FUZZ_CHECK(std::string(e->SourceFile) == fields[0] &&
                   std::string(e->DestFile) == fields[1]);
        FUZZ_CHECK(std::string(e->DirName) == (key >= 0 ? dirTable[key] : ""));
        FUZZ_CHECK(std::string(e->DestDir) == (key >= 0 ? destDir : ""));
        FUZZ_CHECK(e->DestIsAbsolute == (key >= 7));
    } else {
        // Nothing cut into another name: the entry keeps only its description.
        FUZZ_CHECK(e->SourceFile[0] == 0 && e->DestFile[0] == 0);
        FUZZ_CHECK(e->DirName[0] == 0 && e->DestDir[0] == 0 && e->DestIsAbsolute == 0);
    }
    delete e;
    return 0;
}
