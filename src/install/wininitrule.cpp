#include "install/wininitrule.h"

#include "runtime/text.h"

// 1 when the line starts (after blanks or tabs) with "[rename]" in any letter case.
static int IsRenameHeader(const char* line, int length) {
    static const char kHeader[] = "[rename]";
    int i = 0;
    while (i < length && (line[i] == ' ' || line[i] == '\t')) ++i;
    for (int k = 0; kHeader[k] != 0; ++k, ++i) {
        if (i >= length) return 0;
        char c = line[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kHeader[k]) return 0;
    }
    return 1;
}

int RenameRuleInsertAfter(RenameRule* rule, const char* piece, int length) {
    int continuation = rule->lineGoesOn;
    rule->lineGoesOn = length > 0 && piece[length - 1] != '\n';
    if (rule->inserted || continuation || rule->lineGoesOn) return 0;
    if (!IsRenameHeader(piece, length)) return 0;
    rule->inserted = 1;
    return 1;
}

int PlainPath(char* plain, const char* path) {
    int n = 0;
    // A part starts after a backslash of its own (not the second byte of a double-byte
    // character).
    int atPart = 1;
    for (int i = 0; path[i] != 0;) {
        int bytes = TextCharBytes(path + i);
        if (atPart && path[i] == '.' && (path[i + 1] == '\\' || path[i + 1] == 0) && i > 0) {
            if (path[i + 1] == 0) break;
            i += 2;  // "." and its backslash: the next part starts
            continue;
        }
        int backslash = path[i] == '\\';
        if (!(atPart && backslash && i > 0)) {
            if (n + bytes > kRenamePathWidth - 1) {
                plain[0] = 0;
                return 0;
            }
            for (int k = 0; k < bytes; ++k) plain[n++] = path[i + k];
        }
        atPart = backslash;
        i += bytes;
    }
    plain[n] = 0;
    TextTrimBackslashes(plain, 0);  // what a "." at the end left
    return 1;
}

int RenameDeleteLine(char* out, int width, const char* path) {
    char plain[kRenamePathWidth];
    if (!PlainPath(plain, path)) {
        out[0] = 0;
        return 0;
    }
    return TextJoin(out, width, "NUL=", plain, "\n");
}

int RenameReplaceLine(char* out, int width, const char* target, const char* source) {
    char plainTarget[kRenamePathWidth], plainSource[kRenamePathWidth];
    if (!PlainPath(plainTarget, target) || !PlainPath(plainSource, source)) {
        out[0] = 0;
        return 0;
    }
    return TextJoin(out, width, plainTarget, "=", plainSource, "\n");
}
