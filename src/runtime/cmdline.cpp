#include "runtime/cmdline.h"

const char* CommandLineTail(const char* p) {
    if (p == nullptr) return "";
    const unsigned char* s = reinterpret_cast<const unsigned char*>(p);
    if (*s == '"') {
        ++s;
        while (*s != 0 && *s != '"') ++s;
        if (*s == '"') ++s;
    } else {
        while (*s >= 0x21) ++s;
    }
    while (*s != 0 && *s < 0x21) ++s;
    return reinterpret_cast<const char*>(s);
}
