#include "script/plainlines.h"

#include "runtime/text.h"

namespace {

enum { kMaxLine = 255, kUnseen = -2 };

int IsBlank(char c) { return c == ' ' || c == '\t'; }

int IsPrintableAscii(char c) { return c >= 0x20 && c < 0x7F; }

// The key number of the text [p, end) written as the profile functions' keys "1", "2", ...
// are: decimal, without sign or leading zero; 0 when it is none of them or above count.
int KeyNumber(const char* p, const char* end, int count) {
    if (end - p < 1 || end - p > 5 || *p == '0') return 0;
    int n = 0;
    for (; p < end; ++p) {
        if (*p < '0' || *p > '9') return 0;
        n = n * 10 + (*p - '0');
    }
    return n <= count ? n : 0;
}

// 1 when [p, end) is a section header "[name]", blanks allowed after it only, that the
// profile functions of every Windows read alike.
int IsPlainHeader(const char* p, const char* end) {
    while (end > p && IsBlank(end[-1])) --end;
    if (end - p < 3 || *p != '[' || end[-1] != ']') return 0;
    for (const char* c = p + 1; c < end - 1; ++c)
        if (!IsPrintableAscii(*c) || *c == '[' || *c == ']') return 0;
    return p[1] != ' ' && end[-2] != ' ';
}

// 1 when the plain header [p, end) names section, letters in either case.
int NamesSection(const char* p, const char* end, const char* section) {
    char name[kMaxLine + 1];
    int n = 0;
    for (const char* c = p + 1; c < end && *c != ']'; ++c) name[n++] = *c;
    name[n] = 0;
    return TextEqualNoCase(name, section);
}

// 1 when the value [p, end) reads the same through the profile functions as it stands.
int IsPlainValue(const char* p, const char* end, int width) {
    if (end - p >= width) return 0;
    if (p == end) return 1;
    for (const char* c = p; c < end; ++c)
        if (!IsPrintableAscii(*c)) return 0;
    char first = *p, last = end[-1];
    return first != ' ' && first != '"' && first != '\'' && last != ' ' && last != '"' &&
           last != '\'';
}

// One line of the section: a key line of a numbered key sets or refers that key.
// Returns 0 when the line's key is not ASCII.
int TakeLine(const char* line, const char* end, int count, int width, const char* text,
             PlainLine* lines) {
    const char* p = line;
    while (p < end && IsBlank(*p)) ++p;
    if (p == end || *p == ';') return 1;  // blank, or a comment
    const char* eq = p;
    while (eq < end && *eq != '=') ++eq;
    for (const char* c = line; c < eq; ++c)
        if (*c < 0x20 ? !IsBlank(*c) : *c >= 0x7F) return 0;
    const char* keyEnd = eq;
    while (keyEnd > p && IsBlank(keyEnd[-1])) --keyEnd;
    int key = KeyNumber(p, keyEnd, count);
    if (key == 0) return 1;
    PlainLine& slot = lines[key - 1];
    if (slot.start != kUnseen || eq == end || p != line || keyEnd != eq ||
        !IsPlainValue(eq + 1, end, width)) {
        slot.start = kAskProfile;
        slot.length = 0;
        return 1;
    }
    slot.start = static_cast<int32_t>(eq + 1 - text);
    slot.length = static_cast<int32_t>(end - (eq + 1));
    return 1;
}

}  // namespace

int FindPlainLines(const char* text, long size, const char* section, int count, int width,
                   PlainLine* lines) {
    for (int i = 0; i < count; ++i) lines[i] = {kUnseen, 0};
    int plain = text != nullptr && size >= 0;
    if (plain && size >= 2) {
        unsigned char a = static_cast<unsigned char>(text[0]);
        unsigned char b = static_cast<unsigned char>(text[1]);
        plain = !((a == 0xEF && b == 0xBB) || (a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF));
    }
    int sections = 0, inSection = 0;
    for (long at = 0; plain && at < size;) {
        long next = at;
        while (next < size && text[next] != '\n') ++next;
        long end = next;
        if (end > at && text[end - 1] == '\r') --end;
        for (long i = at; plain && i < end; ++i)
            plain = text[i] != 0 && text[i] != '\r' && text[i] != 0x1A;
        plain = plain && end - at <= kMaxLine && !(next == size && end < next);
        if (!plain) break;
        const char* line = text + at;
        const char* stop = text + end;
        const char* p = line;
        while (p < stop && IsBlank(*p)) ++p;
        if (p < stop && *p == '[') {
            plain = p == line && IsPlainHeader(line, stop);
            inSection = plain && NamesSection(line, stop, section);
            sections += inSection;
            plain = plain && sections <= 1;
        } else if (inSection) {
            plain = TakeLine(line, stop, count, width, text, lines);
        }
        at = next + 1;
    }
    for (int i = 0; i < count; ++i) {
        if (!plain)
            lines[i] = {kAskProfile, 0};
        else if (lines[i].start == kUnseen)
            lines[i] = {0, 0};  // not in the section: the profile functions give the default
    }
    return plain;
}

int PlainLinesAgree(const char* listed, long length, int truncated, const char* text, int count,
                    const PlainLine* lines) {
    for (long at = 0; at < length && listed[at] != 0;) {
        long end = at;
        while (end < length && listed[end] != 0) ++end;
        if (truncated && end + 1 >= length) break;  // the last text may be cut short
        const char* eq = listed + at;
        while (eq < listed + end && *eq != '=') ++eq;
        int key = eq < listed + end ? KeyNumber(listed + at, eq, count) : 0;
        if (key != 0 && lines[key - 1].start != kAskProfile) {
            const PlainLine& slot = lines[key - 1];
            long valueLength = listed + end - (eq + 1);
            if (valueLength != slot.length) return 0;
            for (long i = 0; i < valueLength; ++i)
                if (eq[1 + i] != text[slot.start + i]) return 0;
        }
        at = end + 1;
    }
    return 1;
}
