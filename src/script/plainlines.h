// The numbered lines of one section of SETUP.INF read from the script's text in one pass.
// The profile functions open and check the file again for every key they are asked, which
// for a package of thousands of file lines costs more than copying its files. Where the
// text says plainly what they would read, the value is taken from it; wherever the text is
// the least unusual, the key is left to the profile functions, which then decide.
#pragma once
#include <stdint.h>

// Where a key's value lies in the text, or that the profile functions must be asked.
struct PlainLine {
    int32_t start;   // offset of the value in the text; kAskProfile: ask the profile functions
    int32_t length;  // its length in bytes; 0 for a key the section does not hold
};

enum { kAskProfile = -1 };

// Finds the values of the keys "1" to "count" of section in the text of a profile file
// (size bytes) into lines[0] to lines[count - 1]. A value is taken from the text only when
// it is shorter than width and plain: its key line is "key=value" exactly, the key is not
// given twice, and the value holds printable ASCII only, without a blank or quote at either
// end. Returns 0, leaving every key to the profile functions, when the file is not plain
// text (a NUL, a byte order mark, a carriage return alone, an end-of-file mark, a line
// over 255 bytes), when a line starting with "[" is anything but "[name]", when the section
// is there twice, or when a key in it is not ASCII.
int FindPlainLines(const char* text, long size, const char* section, int count, int width,
                   PlainLine* lines);

// 1 when the section as the profile functions list it (listed: "key=value" texts, each
// ended by a NUL, length bytes in all) holds no numbered key whose value differs from what
// lines found in text. Keys left to the profile functions are not compared; with truncated
// set the list was cut at its buffer's end and its last text is not compared either.
int PlainLinesAgree(const char* listed, long length, int truncated, const char* text, int count,
                    const PlainLine* lines);
