#include "texts/log.h"

#include "runtime/text.h"
#include "runtime/textfile.h"

static TextFile Log;
static int Open;
static int Failed;

int LogOpen(const char* path) {
    if (Open) LogClose();
    Failed = 0;
    Open = path != nullptr && path[0] != 0 && TextFileOpenWrite(&Log, path);
    return Open;
}

int LogActive() { return Open; }

static void Part(const char* text) {
    if (text != nullptr) TextFileWrite(&Log, text, TextLength(text));
}

void LogLine(const char* a, const char* b, const char* c, const char* d, const char* e,
             const char* f, const char* g, const char* h) {
    if (!Open) return;
    const char* parts[] = {a, b, c, d, e, f, g, h};
    for (const char* part : parts) Part(part);
    Part("\n");
    if (!TextWriterFlush(&Log.writer)) Failed = 1;
}

void LogLineNumber(const char* a, const char* b, long value) {
    char number[24];
    TextFromInt(number, static_cast<int>(sizeof(number)), value);
    LogLine(a, b, number);
}

int LogClose() {
    if (!Open) return 1;
    Open = 0;
    int closed = TextFileClose(&Log);
    return closed && !Failed;
}
