#include "runtime/switches.h"

#include "runtime/text.h"

static char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// 1 when word begins with name, letters compared without regard to case.
static int StartsNoCase(const char* word, const char* name) {
    for (; *name != 0; ++word, ++name)
        if (Lower(*word) != Lower(*name)) return 0;
    return 1;
}

// The next word of the tail into word (width characters), quotes taken off: a blank inside
// quotes belongs to the word. Returns the position after it; *fits is 0 when the word was
// longer than its buffer (it is then not to be used).
static const char* NextWord(const char* p, char* word, int width, int* fits) {
    int length = 0, quoted = 0;
    *fits = 1;
    for (; *p != 0 && (quoted || static_cast<unsigned char>(*p) > ' '); ++p) {
        if (*p == '"') {
            quoted = !quoted;
            continue;
        }
        if (length + 1 < width) {
            word[length++] = *p;
        } else {
            *fits = 0;
        }
    }
    word[length] = 0;
    return p;
}

// A value after "=" into out; 0 when it is empty or does not fit.
static int TakeValue(const char* value, char* out, int width) {
    if (value[0] == 0 || TextLength(value) >= width) return 0;
    TextCopy(out, width, value);
    return 1;
}

static int Refuse(Switches* out, const char* word) {
    TextCopy(out->refused, kSwitchWordWidth, word);
    return 0;
}

// One word that begins with "/". 1 when it is a switch of the set with a good value.
static int TakeSwitch(const char* word, SwitchSet set, Switches* out) {
    out->any = 1;
    const char* name = word + 1;
    if (TextEqualNoCase(name, "S")) {
        out->silent = 1;
    } else if (TextEqualNoCase(name, "RESTART")) {
        out->restart = 1;
    } else if (TextEqualNoCase(name, "?")) {
        out->help = 1;
    } else if (StartsNoCase(name, "LOG=")) {
        if (!TakeValue(name + 4, out->logPath, kSwitchPathWidth)) return 0;
    } else if (set == SetupSwitches && StartsNoCase(name, "D=")) {
        if (!TakeValue(name + 2, out->installDir, kSwitchDirWidth)) return 0;
    } else if (set == SetupSwitches && StartsNoCase(name, "M=")) {
        if (TextEqualNoCase(name + 2, "PS2")) {
            out->mouse = MouseChosenPS2;
        } else if (TextEqualNoCase(name + 2, "SERIAL")) {
            out->mouse = MouseChosenSerial;
        } else {
            return 0;
        }
    } else {
        return 0;
    }
    return 1;
}

int ParseSwitches(const char* tail, SwitchSet set, Switches* out) {
    ZeroBytes(out, sizeof(*out));
    out->mouse = MouseNotChosen;
    const char* p = tail != nullptr ? tail : "";
    out->driverSwitchMode = set == SetupSwitches && p[0] == '-' && p[1] == 'u';
    // A word is at most a switch name, "=" and the longest value, with room to tell a
    // longer one apart.
    char word[kSwitchPathWidth + 16];
    int good = 1;
    for (;;) {
        while (*p != 0 && static_cast<unsigned char>(*p) <= ' ') ++p;
        if (*p == 0) return good;
        int fits;
        p = NextWord(p, word, static_cast<int>(sizeof(word)), &fits);
        if (word[0] != '/') continue;  // the mode word, or no switch: passed over as ever
        // After a refused word the others are still read: a /S behind it keeps the run
        // from showing anything.
        if ((!fits || !TakeSwitch(word, set, out)) && good) good = Refuse(out, word);
    }
}
