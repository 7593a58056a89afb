#include "registry/classnumber.h"

#include "runtime/text.h"

static int IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int16_t ClassKeyNumber(const char* name) {
    int i = 0;
    while (IsSpace(name[i])) ++i;
    int negative = 0;
    if (name[i] == '+' || name[i] == '-') {
        negative = name[i] == '-';
        ++i;
    }
    // Accumulated modulo 2^32 so that no digit count overflows; only the low 16 bits count.
    uint32_t value = 0;
    for (; name[i] >= '0' && name[i] <= '9'; ++i)
        value = value * 10u + static_cast<uint32_t>(name[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFFu));
}

void ClassScanStart(ClassScan* scan) { scan->Previous = -1; }

int ClassScanTake(ClassScan* scan, const char* name) {
    int16_t number = ClassKeyNumber(name);
    if (static_cast<int32_t>(number) > static_cast<int32_t>(scan->Previous) + 1) return 0;
    scan->Previous = number;
    return 1;
}

int32_t ClassScanCandidate(const ClassScan* scan) {
    int32_t next = static_cast<int32_t>(scan->Previous) + 1;
    return next < 0 ? 0 : next;
}

int FormatClassName(char* out, int width, int32_t number) {
    char digits[16];
    if (!TextFromInt(digits, sizeof(digits), number, 4) ||
        !TextJoin(out, width, "Mouse\\", digits)) {
        if (width > 0) out[0] = 0;
        return 0;
    }
    return 1;
}
