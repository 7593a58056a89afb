#include "check/authorrules.h"

#include "check/report.h"
#include "check/rules.h"
#include "runtime/text.h"
#include "script/model.h"

static char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Edits (insert, delete, change, swap of neighbours) from a to b, letter case aside; names
// longer than the checker's names count as far apart.
static int EditDistance(const char* a, const char* b) {
    enum { kMax = kNameWidth };
    int n = TextLength(a), m = TextLength(b);
    if (n >= kMax || m >= kMax) return kMax;
    static int d[kMax + 1][kMax + 1];
    for (int i = 0; i <= n; ++i) d[i][0] = i;
    for (int j = 0; j <= m; ++j) d[0][j] = j;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= m; ++j) {
            int cost = LowerAscii(a[i - 1]) == LowerAscii(b[j - 1]) ? 0 : 1;
            int best = d[i - 1][j - 1] + cost;
            if (d[i - 1][j] + 1 < best) best = d[i - 1][j] + 1;
            if (d[i][j - 1] + 1 < best) best = d[i][j - 1] + 1;
            if (i > 1 && j > 1 && LowerAscii(a[i - 1]) == LowerAscii(b[j - 2]) &&
                LowerAscii(a[i - 2]) == LowerAscii(b[j - 1]) && d[i - 2][j - 2] + 1 < best)
                best = d[i - 2][j - 2] + 1;
            d[i][j] = best;
        }
    return d[n][m];
}

int NearestKey(const char* key, const KnownKey known[], int knownCount) {
    int nearest = -1, best = 3;
    for (int k = 0; k < knownCount; ++k) {
        int distance = EditDistance(key, known[k].Name);
        if (distance < best) {
            best = distance;
            nearest = k;
        }
    }
    return nearest;
}

static int ListHolds(const char* keys, const char* name) {
    for (const char* k = keys; *k != 0; k += TextLength(k) + 1)
        if (TextEqualNoCase(k, name)) return 1;
    return 0;
}

void CheckSectionKeys(const char* section, const char* keys, const KnownKey known[],
                      int knownCount) {
    for (const char* k = keys; *k != 0; k += TextLength(k) + 1) {
        int isKnown = 0;
        for (int i = 0; i < knownCount && !isKnown; ++i)
            isKnown = TextEqualNoCase(k, known[i].Name);
        if (isKnown) continue;
        char place[kPlaceWidth];
        MakePlace(place, section, k);
        int meant = NearestKey(k, known, knownCount);
        if (meant >= 0 && !ListHolds(keys, known[meant].Name))
            Found(FindKeyMisspelt, place, k, known[meant].Name, known[meant].Default);
        else
            Found(FindKeyUnknown, place, k);
    }
}

int EntryInstalling(const char* name) {
    for (int d = 0; d < Shared::DiskSet.DiskCount; ++d)
        for (int i = 0; i < Shared::DiskSet.Disk[d].FileCount; ++i) {
            int index = Shared::DiskSet.Disk[d].FirstEntry + i;
            const FileEntry& e = Shared::FileTable[index];
            if (EntryNamesFile(e) && TextEqualNoCase(e.DestFile, name)) return index;
        }
    return -1;
}

void CheckProfileFileInstalled(const char* place, const char* key, const char* name) {
    if (name[0] != 0 && EntryInstalling(name) < 0) Found(FindProfileFileMissing, place, name, key);
}

// Skips blanks and tabs.
static const char* SkipBlanks(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

int InfHasSection(const char* text, const char* section) {
    int length = TextLength(section);
    for (const char* line = text; *line != 0;) {
        const char* p = SkipBlanks(line);
        if (*p == '[') {
            p = SkipBlanks(p + 1);
            int same = 1;
            for (int i = 0; i < length && same; ++i)
                same = LowerAscii(p[i]) == LowerAscii(section[i]);
            if (same && *SkipBlanks(p + length) == ']') return 1;
        }
        while (*line != 0 && *line != '\n') ++line;
        if (*line == '\n') ++line;
    }
    return 0;
}

void CheckInfSection(const char* place, const char* section, const char* infName,
                     const char* infText) {
    if (section[0] != 0 && !InfHasSection(infText, section))
        Found(FindInfSectionMissing, place, section, infName);
}
