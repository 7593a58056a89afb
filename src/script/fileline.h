// Parsing of SETUP.INF file lines: "source, destination, description, directory key".
#pragma once
#include "script/model.h"

// Takes the next field of a file line starting at pos into field (kLineWidth characters):
// leading blanks skipped, trailing blanks removed, a comma or the end of the line ends it.
// Only 0x20 is a blank. Returns where the next field begins (the end of the line when
// the line ended, so every further field is empty).
const char* SplitField(const char* pos, char* field);

// Fills e from a file line. keyNames are the ten directory key names in DirKey order.
// Matching a key fills DirName and DestDir from dirTable (or the Windows directories
// for keys 7 to 9). A file name or directory that does not fit its field is never cut
// into another name: the entry then keeps only its description (no names, no
// directories) and NameTooLong is 1, so it fails when copied. A long description is cut.
void ParseFileLine(const char* line, const char* const keyNames[kDirKeyCount],
                   const char dirTable[kDirKeyCount][kDirWidth], const char* windowsDir,
                   FileEntry* e);
