#include <windows.h>

#include "registry/reglog.h"

#include "runtime/text.h"
#include "texts/log.h"

namespace {

enum {
    kKeyPathWidth = 260,
    kKnownKeys = 8,  // keys open at once in any registration step
};

struct KnownKey {
    HKEY key;
    char path[kKeyPathWidth];  // empty when the whole path did not fit
};

// The keys opened most recently, in a ring: a handle used again names its newest key.
KnownKey Known[kKnownKeys];
int NextKnown;

const char* RootName(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (key == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
    if (key == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    if (key == HKEY_DYN_DATA) return "HKEY_DYN_DATA";
    return nullptr;
}

// The path of a key, or a placeholder for one that is not known.
const char* KeyName(HKEY key) {
    const char* root = RootName(key);
    if (root != nullptr) return root;
    for (int n = 1; n <= kKnownKeys; ++n) {
        const KnownKey& k = Known[(NextKnown - n + kKnownKeys) % kKnownKeys];
        if (k.key == key && k.key != nullptr)
            return k.path[0] != 0 ? k.path : "(a key of a path too long)";
    }
    return "(a key)";
}

char HexDigit(int v) { return static_cast<char>(v < 10 ? '0' + v : 'A' + v - 10); }

}  // namespace

void RegLogKeyOpened(HKEY parent, const char* path, HKEY key) {
    if (!LogActive()) return;
    KnownKey& k = Known[NextKnown];
    NextKnown = (NextKnown + 1) % kKnownKeys;
    k.key = key;
    if (!TextJoin(k.path, kKeyPathWidth, KeyName(parent), "\\", path)) k.path[0] = 0;
}

int RegLogReadValue(HKEY key, const char* name, char* out) {
    BYTE data[kLoggedValueWidth];
    DWORD type = 0, size = sizeof(data);
    out[0] = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, data, &size);
    if (result == ERROR_MORE_DATA) {
        TextCopy(out, kLoggedValueWidth, "(a value longer than the log shows)");
        return 1;
    }
    if (result != ERROR_SUCCESS) return 0;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        data[size < sizeof(data) ? size : sizeof(data) - 1] = 0;
        TextJoin(out, kLoggedValueWidth, "\"", reinterpret_cast<const char*>(data), "\"");
        return 1;
    }
    // Binary data in hex, as far as it fits: three characters a byte.
    int length = 0;
    for (DWORD i = 0; i < size && length + 4 < kLoggedValueWidth; ++i) {
        if (i > 0) out[length++] = ' ';
        out[length++] = HexDigit(data[i] >> 4);
        out[length++] = HexDigit(data[i] & 15);
    }
    out[length] = 0;
    return 1;
}

void RegLogValueSet(HKEY key, const char* name, const char* shown, const char* old, int done) {
    if (!LogActive()) return;
    const char* valueName = name != nullptr && name[0] != 0 ? name : "(unnamed)";
    if (!done) {
        LogLine("registry ", KeyName(key), "\\", valueName, " could not be set");
        return;
    }
    LogLine("registry ", KeyName(key), "\\", valueName, " = ", shown, ", was ",
            old != nullptr ? old : "absent");
}

void RegLogKeyDeleted(HKEY root, const char* path) {
    LogLine("registry ", KeyName(root), "\\", path, " deleted, with what was below it");
}
