// Where lines go into wininit.ini: the [rename] section that Windows 95 and 98 work
// through at the next start ("NUL=path" deletes the file, "target=path" puts the file in
// the place of target). No Windows calls.
#pragma once

// State carried from piece to piece while wininit.ini is copied; start zeroed.
struct RenameRule {
    int lineGoesOn;  // the last piece did not end its line
    int inserted;    // the new lines were placed
};

// Judges the next piece of wininit.ini as read (up to and including the LF). Returns 1
// when the new lines go right after this piece: it ends the first "[rename]" header (letter
// case and blanks before it do not matter). After the last piece, !rule->inserted means
// that the file has no such section: "[rename]" and the lines go at its end, after a LF
// when rule->lineGoesOn.
int RenameRuleInsertAfter(RenameRule* rule, const char* piece, int length);

enum { kRenamePathWidth = 128 };

// path without "." parts and doubled backslashes into plain (kRenamePathWidth wide), as
// the start-up reads a path and a user reads it best. 0 with plain empty when it does not fit.
int PlainPath(char* plain, const char* path);

// "NUL=" and path (without "." parts and doubled backslashes) and a LF into out. 0 with
// out empty when it does not fit width or kRenamePathWidth.
int RenameDeleteLine(char* out, int width, const char* path);

// "target=source" and a LF into out, both paths plain as above: at the next start source
// takes the place of target. 0 with out empty when it does not fit.
int RenameReplaceLine(char* out, int width, const char* target, const char* source);
