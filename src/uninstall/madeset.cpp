#include "uninstall/madeset.h"

#include "install/logrules.h"
#include "runtime/text.h"

namespace {

enum { kPathWidth = 260 };

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

unsigned long PathHash(const char* path) {
    unsigned long h = 2166136261u;
    for (int i = 0; path[i] != 0; ++i) h = (h ^ static_cast<unsigned char>(Lower(path[i]))) * 16777619u;
    return h;
}

// An entry of the arena: its kind, its run, its path.
struct EntryHead {
    unsigned char kind;
    int run;
};
const long kHeadBytes = static_cast<long>(sizeof(EntryHead));

// The bytes an entry of path takes, its head kept aligned for the next one.
long EntryBytes(const char* path) { return (kHeadBytes + TextLength(path) + 1 + 3) & ~3L; }

EntryHead* HeadAt(const MadeSet* set, long offset) {
    return static_cast<EntryHead*>(static_cast<void*>(set->arena + offset));
}
const char* PathAt(const MadeSet* set, long offset) { return set->arena + offset + kHeadBytes; }

// The slot of path: the one holding it, or the free one where it would go; -1 when full.
long FindSlot(const MadeSet* set, const char* path) {
    if (set->capacity <= 0) return -1;
    long mask = set->capacity - 1;
    long at = static_cast<long>(PathHash(path) & static_cast<unsigned long>(mask));
    for (long tries = 0; tries < set->capacity; ++tries, at = (at + 1) & mask) {
        long slot = set->slots[at];
        if (slot == 0 || TextEqualNoCase(PathAt(set, slot - 1), path)) return at;
    }
    return -1;
}

}  // namespace

int MadeSetNote(MadeSet* set, const char* path, MadeKind kind, int run) {
    long at = FindSlot(set, path);
    if (at < 0) return 0;
    long slot = set->slots[at];
    if (slot != 0) {
        EntryHead* head = HeadAt(set, slot - 1);
        if (head->run == run && kind == MadeShared) head->kind = MadeShared;
        return 1;
    }
    long need = EntryBytes(path);
    if (set->arenaUsed + need > set->arenaSize || 2 * (set->count + 1) > set->capacity) return 0;
    EntryHead* head = HeadAt(set, set->arenaUsed);
    head->kind = static_cast<unsigned char>(kind);
    head->run = run;
    TextCopy(set->arena + set->arenaUsed + kHeadBytes, TextLength(path) + 1, path);
    set->slots[at] = set->arenaUsed + 1;
    set->arenaUsed += need;
    ++set->count;
    return 1;
}

MadeKind MadeSetFind(const MadeSet* set, const char* path) {
    long at = FindSlot(set, path);
    if (at < 0 || set->slots[at] == 0) return MadeNone;
    return static_cast<MadeKind>(HeadAt(set, set->slots[at] - 1)->kind);
}

const char* MadeSetNext(const MadeSet* set, long* at, MadeKind* kind) {
    if (*at >= set->arenaUsed) return nullptr;
    const EntryHead* head = HeadAt(set, *at);
    const char* path = PathAt(set, *at);
    *kind = static_cast<MadeKind>(head->kind);
    *at += EntryBytes(path);
    return path;
}

int NoteCommittedRuns(MadeSet* set, const char* block, int run) {
    int committed = 0;
    int ok = 1;
    for (const char* line = block[0] != 0 ? block : nullptr; line != nullptr;
         line = NextLogLine(line)) {
        char path[kPathWidth];
        LogWord w = SplitLogLine(line, path, kPathWidth);
        if (w == LogRun) {
            committed = RunCommitted(line);
            ++run;
        }
        if (!committed || !LineDecides(line)) continue;
        MadeKind kind = MadeNone;
        switch (w) {
        case LogDir:
            kind = MadeDir;
            break;
        case LogNew:
            kind = MadeNew;
            break;
        case LogKeep:
        case LogQueue:
            kind = MadeOld;  // a file stood there: it stays
            break;
        case LogShared:
            kind = MadeShared;
            break;
        default:
            break;
        }
        // A Drop names a step that did not happen: the path keeps no word of this run.
        if (kind != MadeNone && !MadeSetNote(set, path, kind, run)) ok = 0;
    }
    return ok;
}

long MadeSetArenaBytes(long blockBytes, long lines) {
    return blockBytes + lines * (kHeadBytes + 4) + 16;
}

long MadeSetSlotCount(long lines) {
    long n = 16;
    while (n < 2 * lines + 2) n *= 2;
    return n;
}
