// Buffered text files with the C runtime's text mode, for a program linked without one.
// Reading: CR LF arrives as LF (a lone CR stays), a Ctrl-Z (0x1A) ends the text, and a
// line comes in pieces of at most width - 1 characters, like fgets. Writing: every LF goes
// out as CR LF, nothing else changes; a last line without LF stays without one.
// The codec takes its bytes from and gives them to callbacks, so it is tested natively;
// the TextFile functions bind it to Win32 files (textfilewin.cpp).
#pragma once

enum { kTextBufferSize = 512 };

// Fills up to capacity bytes; returns the number read, 0 at the end, -1 on a read error.
typedef int (*TextSourceFill)(void* context, unsigned char* buffer, int capacity);
// Writes length bytes; returns 1 when all of them were written.
typedef int (*TextSinkWrite)(void* context, const unsigned char* data, int length);

struct TextReader {
    TextSourceFill fill;
    void* context;
    unsigned char buffer[kTextBufferSize];
    int length;
    int position;
    int ended;   // no more text: the source is exhausted, failed, or a Ctrl-Z was met
    int failed;  // a read of the source failed
};

struct TextWriter {
    TextSinkWrite write;
    void* context;
    unsigned char buffer[kTextBufferSize];
    int length;
    int failed;  // some bytes could not be written
};

void TextReaderInit(TextReader* r, TextSourceFill fill, void* context);

// Reads the next piece of a line into out: at most width - 1 characters, up to and
// including the LF, then a terminating zero. Returns the number of characters stored
// (a piece may hold zero bytes, so use the count), 0 at the end of the text.
int TextReadPiece(TextReader* r, char* out, int width);

void TextWriterInit(TextWriter* w, TextSinkWrite write, void* context);

// Writes length characters of text, each LF as CR LF.
void TextWriteChars(TextWriter* w, const char* text, int length);

// Hands the buffered bytes to the sink. Returns 1 when every write so far succeeded.
int TextWriterFlush(TextWriter* w);

// ---- Win32 files (textfilewin.cpp) ----

struct TextFile {
    void* handle;  // the Win32 file handle
    int writing;
    TextReader reader;
    TextWriter writer;
};

// Opens an existing file for reading. 1 when it is open.
int TextFileOpenRead(TextFile* f, const char* path);

// Creates a file for writing, emptying one that exists. 1 when it is open.
int TextFileOpenWrite(TextFile* f, const char* path);

inline int TextFileReadPiece(TextFile* f, char* out, int width) {
    return TextReadPiece(&f->reader, out, width);
}
inline void TextFileWrite(TextFile* f, const char* text, int length) {
    TextWriteChars(&f->writer, text, length);
}

// Flushes (when writing) and closes. Returns 1 when every read or write of the file
// succeeded, the flush and the close included.
int TextFileClose(TextFile* f);

// Puts the completed file newPath in the place of path, keeping the old one as oldPath (an
// earlier oldPath is deleted first). Should newPath not take the name, path is put back.
// Returns 1 when newPath is now path; with 0, path is as it was (and newPath may remain).
int TextFileReplace(const char* path, const char* newPath, const char* oldPath);
