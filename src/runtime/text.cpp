#include "runtime/text.h"

// One flag per byte value; all zero on a single-byte code page.
static unsigned char gLeadByte[256];

void TextSetLeadBytes(int (*isLeadByte)(unsigned char byte)) {
    for (int b = 0; b < 256; ++b)
        gLeadByte[b] =
            isLeadByte != nullptr && b >= 0x80 && isLeadByte(static_cast<unsigned char>(b));
}

int TextIsLeadByte(char c) { return gLeadByte[static_cast<unsigned char>(c)]; }

int TextCharBytes(const char* s) {
    if (s[0] == 0) return 0;
    return TextIsLeadByte(s[0]) && s[1] != 0 ? 2 : 1;
}

int TextWholeLength(const char* s, int n) {
    int i = 0;
    while (i < n && s[i] != 0) {
        int step = TextCharBytes(s + i);
        if (i + step > n) break;
        i += step;
    }
    return i;
}

int TextDropTornCharacter(char* s) {
    int i = 0;
    while (s[i] != 0) {
        if (TextIsLeadByte(s[i]) && s[i + 1] == 0) {
            s[i] = 0;
            break;
        }
        i += TextCharBytes(s + i);
    }
    return i;
}

int TextTrimBackslashes(char* s, int keep) {
    int n = TextLength(s);
    while (n > keep) {
        // The last character starts at the last character start before n.
        int last = 0;
        for (int i = 0; i < n; i += TextCharBytes(s + i)) last = i;
        if (last != n - 1 || s[last] != '\\') break;
        s[--n] = 0;
    }
    return n;
}

int TextLastBackslash(const char* s) {
    int last = -1;
    for (int i = 0; s[i] != 0; i += TextCharBytes(s + i))
        if (s[i] == '\\') last = i;
    return last;
}

int TextLength(const char* s) {
    int n = 0;
    while (s[n] != 0) ++n;
    return n;
}

int TextCopy(char* dst, int width, const char* src) {
    if (width <= 0) return 0;
    int i = 0;
    for (; i < width - 1 && src[i] != 0; ++i) dst[i] = src[i];
    if (src[i] == 0) {
        dst[i] = 0;
        return 1;
    }
    // Cut: a first byte whose second did not fit would join whatever follows it.
    dst[TextWholeLength(src, i)] = 0;
    return 0;
}

int TextAppend(char* dst, int width, const char* src) {
    int len = 0;
    while (len < width && dst[len] != 0) ++len;
    if (len >= width) return 0;
    return TextCopy(dst + len, width - len, src);
}

int TextJoin(char* dst, int width, const char* a, const char* b, const char* c, const char* d,
             const char* e) {
    if (width <= 0) return 0;
    const char* parts[5] = {a, b, c, d, e};
    int total = 0;
    for (const char* p : parts)
        if (p != nullptr) total += TextLength(p);
    if (total > width - 1) {
        dst[0] = 0;
        return 0;
    }
    int pos = 0;
    for (const char* p : parts)
        if (p != nullptr)
            for (int i = 0; p[i] != 0; ++i) dst[pos++] = p[i];
    dst[pos] = 0;
    return 1;
}

int TextEqual(const char* a, const char* b) {
    int i = 0;
    for (; a[i] != 0 && a[i] == b[i]; ++i) {
    }
    return a[i] == b[i];
}

static char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// 1 when the n bytes at a and b are the same text, ASCII letters in either case; a
// double-byte character is compared byte for byte (its second byte may be a letter).
static int SameNoCase(const char* a, const char* b, int n) {
    for (int i = 0; i < n;) {
        if (TextIsLeadByte(a[i])) {
            if (a[i] != b[i] || (i + 1 < n && a[i + 1] != b[i + 1])) return 0;
            i += 2;
            continue;
        }
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return 0;
        ++i;
    }
    return 1;
}

int TextEqualNoCase(const char* a, const char* b) {
    for (int i = 0;;) {
        if (TextIsLeadByte(a[i])) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return 0;
            if (a[i + 1] == 0) return 1;
            i += 2;
        } else {
            if (LowerAscii(a[i]) != LowerAscii(b[i])) return 0;
            if (a[i] == 0) return 1;
            ++i;
        }
    }
}

static int IsSeparator(char c) { return c == '\\' || c == '/'; }

// The next part of path p from *at on, separators and "." parts passed over: its start in
// *start and its length, 0 at the end of the path. A double-byte character is stepped over
// whole: its second byte is never a separator.
static int NextPathPart(const char* p, int* at, int* start) {
    for (;;) {
        while (IsSeparator(p[*at])) ++*at;
        *start = *at;
        while (p[*at] != 0 && !IsSeparator(p[*at])) *at += TextCharBytes(p + *at);
        int length = *at - *start;
        if (length != 1 || p[*start] != '.') return length;
    }
}

int TextSamePathNoCase(const char* a, const char* b) {
    int atA = 0, atB = 0;
    for (;;) {
        int startA, startB;
        int length = NextPathPart(a, &atA, &startA);
        if (length != NextPathPart(b, &atB, &startB)) return 0;
        if (length == 0) return 1;
        if (!SameNoCase(a + startA, b + startB, length)) return 0;
    }
}

int TextContains(const char* haystack, const char* needle) {
    if (needle[0] == 0) return 1;
    for (int i = 0; haystack[i] != 0; i += TextCharBytes(haystack + i)) {
        int j = 0;
        while (needle[j] != 0 && haystack[i + j] == needle[j]) ++j;
        if (needle[j] == 0) return 1;
    }
    return 0;
}

long TextToLong(const char* text) {
    int at = text[0] == '-' ? 1 : 0;
    long value = 0;
    for (; text[at] >= '0' && text[at] <= '9' && value < 100000000L; ++at)
        value = value * 10 + (text[at] - '0');
    return text[0] == '-' ? -value : value;
}

int TextFromInt(char* dst, int width, long value, int minDigits) {
    char digits[24];
    int n = 0;
    int negative = value < 0;
    unsigned long v =
        negative ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0 && n < 22);
    while (n < minDigits && n < 22) digits[n++] = '0';
    int need = n + negative;
    if (need > width - 1) {
        if (width > 0) dst[0] = 0;
        return 0;
    }
    int pos = 0;
    if (negative) dst[pos++] = '-';
    while (n > 0) dst[pos++] = digits[--n];
    dst[pos] = 0;
    return 1;
}

void ZeroBytes(void* p, size_t n) {
    volatile unsigned char* b = static_cast<unsigned char*>(p);
    for (size_t i = 0; i < n; ++i) b[i] = 0;
}

void TextFlattenLines(char* s) {
    for (; *s != 0; ++s)
        if (*s == '\r' || *s == '\n') *s = ' ';
}
