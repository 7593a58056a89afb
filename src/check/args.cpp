#include "check/args.h"

#include "runtime/text.h"

// The next word of the tail into word (width wide), a quoted one without its quotes.
// Returns where the tail goes on, or null when the word does not fit.
static const char* NextWord(const char* p, char* word, int width) {
    int n = 0;
    char end = ' ';
    if (*p == '"') {
        end = '"';
        ++p;
    }
    for (; *p != 0 && *p != end && (end == '"' || *p != '\t'); ++p) {
        if (n >= width - 1) return nullptr;
        word[n++] = *p;
    }
    word[n] = 0;
    if (*p == '"') ++p;
    return p;
}

int ParseCheckArgs(const char* tail, int* quiet, char* dir, int width, int* plan) {
    *quiet = 0;
    if (plan != nullptr) *plan = 0;
    dir[0] = 0;
    int dirs = 0;
    const char* p = tail;
    for (;;) {
        while (*p == ' ' || *p == '\t') ++p;
        if (*p == 0) break;
        char word[260];
        p = NextWord(p, word, sizeof(word));
        if (p == nullptr) return 0;
        if (TextEqual(word, "--quiet") || TextEqual(word, "-q")) {
            *quiet = 1;
        } else if (plan != nullptr && TextEqual(word, "--plan")) {
            *plan = 1;
        } else if (word[0] == '-' || word[0] == 0 || ++dirs > 1 || !TextCopy(dir, width, word)) {
            return 0;
        }
    }
    TextTrimBackslashes(dir, 1);
    return dirs == 1;
}
