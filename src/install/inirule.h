// Which line of system.ini becomes the virtual mouse line. No Windows calls.
#pragma once

// The line written in place of the mouse line of [386Enh].
extern const char kVmouseLine[];  // "mouse=*vmouse\n"

enum IniPieceAction {
    IniKeep = 0,     // write the piece unchanged
    IniReplace = 1,  // write kVmouseLine instead
    IniDrop = 2,     // write nothing: a further piece of a line already replaced
};

// State carried from piece to piece; start zeroed.
struct IniMouseRule {
    int inSection;     // a line containing "[386Enh]" was read and its mouse line is pending
    int lineGoesOn;    // the last piece did not end its line
    int lineReplaced;  // the line under way was replaced
    // When set, the line to replace is this one instead (without its LF), whole and exact:
    // the uninstaller looks for the line that setup wrote.
    const char* exactLine;
};

// Decides about the next piece of system.ini as it was read (at most 119 characters, up to
// and including the LF). Only the first piece of a line is judged: a line longer than a
// piece is copied whole or replaced whole, never in parts. The section flag is set by a line
// containing "[386Enh]" and cleared by any other line that starts with "[" (after blanks or
// tabs) or by the replacement; the mouse line is the first line in the section that
// contains "mouse" (exact case), does not start with a semicolon and is no header, or with
// exactLine set, the first line in the section that is exactLine.
IniPieceAction IniMouseRuleStep(IniMouseRule* rule, const char* piece, int length);
