#include "uninstall/journalkeys.h"

#include "runtime/text.h"

// The part of path after prefix (letter case aside), or null.
static const char* After(const char* path, const char* prefix) {
    for (int i = 0; prefix[i] != 0; ++i) {
        char a = path[i], b = prefix[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return nullptr;
    }
    return path + TextLength(prefix);
}

int TrustedDeviceKey(const char* path) {
    const char* rest = After(path, "Enum\\");
    return rest != nullptr && rest[0] != 0 && rest[0] != '\\';
}

int TrustedClassKey(const char* path) {
    const char* rest = After(path, "System\\CurrentControlSet\\Services\\Class\\Mouse\\");
    if (rest == nullptr || rest[0] == 0) return 0;
    for (const char* p = rest; *p != 0; ++p)
        if (*p < '0' || *p > '9') return 0;
    return 1;
}
