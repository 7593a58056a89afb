// The lines of the install record: section [Installed] of the installation's SETUP.INF,
// one profile line per directory setup created and per file it wrote, the path being the
// key ("C:\QORVA\QXMAIN.EXE=New"), and a line that names the installation directory the
// record belongs to ("Directory=C:\QORVA"). No Windows calls.
#pragma once

extern const char kRecordSection[];       // "Installed"
extern const char kRecordDirectoryKey[];  // "Directory"

enum RecordKind {
    RecordNone = 0,  // not a line of a path
    RecordDir,       // "Dir": a directory that setup created
    RecordNew,       // "New": a file written where none stood
    RecordOld,       // "Old": a file written over one that stood there before
    RecordShared,    // "Shared": a file of a Windows directory, counted in SharedDLLs
};

// The word of a kind ("Dir", "New", "Old", "Shared"; "" for RecordNone).
const char* RecordWord(RecordKind kind);

// "path=Word" into out. 0 with out empty when it does not fit width, or when path could not
// be read back as a key: empty, holding "=", starting with ";" or "[", or with blanks at
// either end.
int MakeRecordLine(char* out, int width, const char* path, RecordKind kind);

// Splits a line "key=word" of a section as the profile functions list it: the key into key
// (width wide) and the kind of the word (letter case aside). Returns the kind; RecordNone
// (and key empty) for the Directory line, a line without "=", an unknown word or a key too
// long for width.
RecordKind SplitRecordLine(const char* line, char* key, int width);

// The value of the Directory line of a section block into out; 0 with out empty when the
// block has none or it does not fit width.
int RecordDirectory(const char* block, char* out, int width);

// A section block is a series of zero-ended lines that ends with an empty one. The line after
// line, or null when line is the last.
const char* NextRecordLine(const char* line);

// 1 when a line of the block has path as its key (case and doubled separators aside).
int RecordHolds(const char* block, const char* path);
