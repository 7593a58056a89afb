#include "install/logrules.h"

#include "runtime/text.h"

const char kLogFileName[] = "INSTALL.LOG";
const char kWorkDirName[] = "~SUWORK";

namespace {

const char* const kWords[] = {"",     "Directory", "Run",   "Dir",      "Work",  "New",
                              "Keep", "Drop",      "Queue", "Shared",   "Done",  "Registry",
                              "Mouse", "SysBak",   "Vxd",   "Undone", "Make"};
const int kWordCount = static_cast<int>(sizeof(kWords) / sizeof(kWords[0]));

enum { kPathWidth = 260 };

// Words whose part is one text that may hold anything but a line break.
int WholeRest(LogWord w) { return w == LogMouse; }

int FileLine(LogWord w) {
    return w == LogMake || w == LogNew || w == LogKeep || w == LogDrop || w == LogQueue;
}

int HasBreak(const char* s) {
    for (int i = 0; s != nullptr && s[i] != 0; ++i)
        if (s[i] == '\r' || s[i] == '\n') return 1;
    return 0;
}

// Copies n characters of from into out (width wide); 0 with out empty when they do not fit.
int CopyPart(char* out, int width, const char* from, int n) {
    if (out == nullptr) return 1;
    if (n >= width) {
        if (width > 0) out[0] = 0;
        return 0;
    }
    for (int i = 0; i < n; ++i) out[i] = from[i];
    out[n] = 0;
    return 1;
}

}  // namespace

int MakeLogLine(char* out, int width, LogWord word, const char* a, const char* b) {
    int w = static_cast<int>(word);
    int ok = w > 0 && w < kWordCount && !HasBreak(a) && !HasBreak(b);
    if (ok && a != nullptr && b != nullptr) ok = !TextContains(a, "|");
    if (ok)
        ok = TextJoin(out, width, kWords[w], a != nullptr ? " " : "", a, b != nullptr ? "|" : "",
                      b) &&
             TextAppend(out, width, "\r\n");
    if (!ok && width > 0) out[0] = 0;
    return ok;
}

void LogBlockFromBytes(char* bytes, long length) {
    long end = length;
    while (end > 0 && bytes[end - 1] != '\n') --end;  // a torn last line goes
    long to = 0;
    long lineStart = 0;
    for (long at = 0; at < end; ++at) {
        char c = bytes[at];
        if (c == '\n') {
            if (to > lineStart && bytes[to - 1] == '\r') --to;
            if (to > lineStart) bytes[to++] = 0;  // an empty line would end the block
            lineStart = to;
        } else if (c != 0) {
            bytes[to++] = c;
        }
    }
    to = lineStart;
    bytes[to] = 0;
    bytes[to + 1] = 0;
}

LogWord SplitLogLine(const char* line, char* a, int aWidth, char* b, int bWidth) {
    if (a != nullptr && aWidth > 0) a[0] = 0;
    if (b != nullptr && bWidth > 0) b[0] = 0;
    int n = 0;
    while (line[n] != 0 && line[n] != ' ') ++n;
    LogWord word = LogNone;
    for (int k = 1; k < kWordCount; ++k) {
        if (TextLength(kWords[k]) != n) continue;
        int same = 1;
        for (int i = 0; i < n && same; ++i) same = line[i] == kWords[k][i];
        if (same) word = static_cast<LogWord>(k);
    }
    if (word == LogNone) return LogNone;
    const char* rest = line[n] == ' ' ? line + n + 1 : line + n;
    int bar = 0;
    // "|" may be the second byte of a double-byte character ("\x83\x7C" in code page 932).
    while (rest[bar] != 0 && (WholeRest(word) || rest[bar] != '|'))
        bar += TextCharBytes(rest + bar);
    int ok = CopyPart(a, aWidth, rest, bar);
    if (ok && rest[bar] == '|') ok = CopyPart(b, bWidth, rest + bar + 1, TextLength(rest + bar + 1));
    if (ok) return word;
    if (a != nullptr && aWidth > 0) a[0] = 0;
    if (b != nullptr && bWidth > 0) b[0] = 0;
    return LogNone;
}

const char* NextLogLine(const char* line) {
    const char* next = line + TextLength(line) + 1;
    return next[0] != 0 ? next : nullptr;
}

const char* OpenRun(const char* block) {
    const char* open = nullptr;
    for (const char* line = block[0] != 0 ? block : nullptr; line != nullptr;
         line = NextLogLine(line)) {
        LogWord w = SplitLogLine(line, nullptr, 0);
        if (w == LogRun) open = line;
        if (w == LogDone || w == LogUndone) open = nullptr;
    }
    return open;
}

int RunCommitted(const char* runLine) {
    for (const char* line = NextLogLine(runLine); line != nullptr; line = NextLogLine(line)) {
        LogWord w = SplitLogLine(line, nullptr, 0);
        if (w == LogRun || w == LogUndone) return 0;
        if (w == LogDone) return 1;
    }
    return 0;
}

int LineDecides(const char* line) {
    char path[kPathWidth], next[kPathWidth];
    LogWord w = SplitLogLine(line, path, kPathWidth);
    if (!FileLine(w)) return 1;
    const char* after = NextLogLine(line);
    LogWord n = after != nullptr ? SplitLogLine(after, next, kPathWidth) : LogNone;
    if (!FileLine(n) || !TextEqualNoCase(path, next)) return 1;
    // The same entry's next step: a file made at its name, a new file that found an older one
    // there (kept or in use), or a step that did not happen. A second Make, New or Keep of
    // the path is another entry's.
    return !(n == LogDrop || (w == LogMake && n == LogNew) ||
             (w == LogNew && (n == LogKeep || n == LogQueue)));
}

int CommittedLine(const char* block, LogWord word, char* value, int width) {
    int committed = 0;
    for (const char* line = block[0] != 0 ? block : nullptr; line != nullptr;
         line = NextLogLine(line)) {
        char part[kPathWidth];
        LogWord w = SplitLogLine(line, part, kPathWidth);
        if (w == LogRun) committed = RunCommitted(line);
        if (w == word && committed) {
            if (value != nullptr) TextCopy(value, width, part);
            return 1;
        }
    }
    if (value != nullptr && width > 0) value[0] = 0;
    return 0;
}
