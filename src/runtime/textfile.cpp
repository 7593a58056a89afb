#include "runtime/textfile.h"

enum { kCtrlZ = 0x1A };

void TextReaderInit(TextReader* r, TextSourceFill fill, void* context) {
    r->fill = fill;
    r->context = context;
    r->length = 0;
    r->position = 0;
    r->ended = 0;
    r->failed = 0;
}

// The next raw byte without taking it, or -1 when the source has no more. A Ctrl-Z is
// returned like any byte; the caller ends the text there.
static int PeekRaw(TextReader* r) {
    if (r->position >= r->length) {
        if (r->ended) return -1;
        int got = r->fill(r->context, r->buffer, kTextBufferSize);
        if (got <= 0) {
            if (got < 0) r->failed = 1;
            r->ended = 1;
            r->length = 0;
            r->position = 0;
            return -1;
        }
        r->length = got;
        r->position = 0;
    }
    return r->buffer[r->position];
}

// The next character of the text with CR LF read as LF, or -1 at the end.
static int NextChar(TextReader* r) {
    int c = PeekRaw(r);
    if (c < 0) return -1;
    if (c == kCtrlZ) {
        r->ended = 1;  // everything after it is not text
        r->length = 0;
        r->position = 0;
        return -1;
    }
    ++r->position;
    if (c == '\r' && PeekRaw(r) == '\n') {
        ++r->position;
        return '\n';
    }
    return c;
}

int TextReadPiece(TextReader* r, char* out, int width) {
    int n = 0;
    if (width <= 0) return 0;
    while (n < width - 1) {
        int c = NextChar(r);
        if (c < 0) break;
        out[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    out[n] = 0;
    return n;
}

void TextWriterInit(TextWriter* w, TextSinkWrite write, void* context) {
    w->write = write;
    w->context = context;
    w->length = 0;
    w->failed = 0;
}

static void PutByte(TextWriter* w, unsigned char b) {
    if (w->length == kTextBufferSize) TextWriterFlush(w);
    w->buffer[w->length++] = b;
}

void TextWriteChars(TextWriter* w, const char* text, int length) {
    for (int i = 0; i < length; ++i) {
        if (text[i] == '\n') PutByte(w, '\r');
        PutByte(w, static_cast<unsigned char>(text[i]));
    }
}

int TextWriterFlush(TextWriter* w) {
    if (w->length > 0) {
        if (!w->write(w->context, w->buffer, w->length)) w->failed = 1;
        w->length = 0;
    }
    return !w->failed;
}
