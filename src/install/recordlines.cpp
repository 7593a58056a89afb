#include "install/recordlines.h"

#include "runtime/text.h"

const char kRecordSection[] = "Installed";
const char kRecordDirectoryKey[] = "Directory";

static const char* const kWords[] = {"", "Dir", "New", "Old", "Shared"};
enum { kWordCount = 5, kKeyWidth = 260 };

const char* RecordWord(RecordKind kind) {
    int k = static_cast<int>(kind);
    return k > 0 && k < kWordCount ? kWords[k] : "";
}

int MakeRecordLine(char* out, int width, const char* path, RecordKind kind) {
    int n = TextLength(path);
    int readable = n > 0 && path[0] != ';' && path[0] != '[' && path[0] != ' ' &&
                   path[n - 1] != ' ' && kind != RecordNone;
    for (int i = 0; readable && i < n; ++i) readable = path[i] != '=';
    if (readable && TextJoin(out, width, path, "=", RecordWord(kind))) return 1;
    if (width > 0) out[0] = 0;
    return 0;
}

// The key of a "key=value" line into key; a pointer to its value, or null.
static const char* SplitKey(const char* line, char* key, int width) {
    int n = 0;
    while (line[n] != 0 && line[n] != '=') ++n;
    if (line[n] != '=' || n >= width) {
        key[0] = 0;
        return nullptr;
    }
    for (int i = 0; i < n; ++i) key[i] = line[i];
    key[n] = 0;
    return line + n + 1;
}

RecordKind SplitRecordLine(const char* line, char* key, int width) {
    const char* word = SplitKey(line, key, width);
    if (word != nullptr && !TextEqualNoCase(key, kRecordDirectoryKey)) {
        for (int k = 1; k < kWordCount; ++k)
            if (TextEqualNoCase(word, kWords[k])) return static_cast<RecordKind>(k);
    }
    if (width > 0) key[0] = 0;
    return RecordNone;
}

const char* NextRecordLine(const char* line) {
    const char* next = line + TextLength(line) + 1;
    return next[0] != 0 ? next : nullptr;
}

int RecordDirectory(const char* block, char* out, int width) {
    for (const char* line = block[0] != 0 ? block : nullptr; line != nullptr;
         line = NextRecordLine(line)) {
        char key[kKeyWidth];
        const char* value = SplitKey(line, key, kKeyWidth);
        if (value != nullptr && TextEqualNoCase(key, kRecordDirectoryKey)) {
            if (TextCopy(out, width, value)) return 1;
            break;
        }
    }
    if (width > 0) out[0] = 0;
    return 0;
}

int RecordHolds(const char* block, const char* path) {
    for (const char* line = block[0] != 0 ? block : nullptr; line != nullptr;
         line = NextRecordLine(line)) {
        char key[kKeyWidth];
        if (SplitRecordLine(line, key, kKeyWidth) != RecordNone && TextSamePathNoCase(key, path))
            return 1;
    }
    return 0;
}
