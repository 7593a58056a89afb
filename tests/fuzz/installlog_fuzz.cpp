// The install log as the undo and the uninstaller read it, whatever a crash or a damaged disk
// left of it: the block stays within its bytes and ends as a block, every line splits into
// parts that fit their buffers, and the set of what setup made holds each path once.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "install/logrules.h"
#include "uninstall/madeset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> block(data, data + size);
    block.resize(size + 2);
    LogBlockFromBytes(block.data(), static_cast<long>(size));
    FUZZ_CHECK(block[size] == 0 && block[size + 1] == 0);

    long lines = 0, bytes = 0;
    for (const char* line = block[0] != 0 ? block.data() : nullptr; line != nullptr;
         line = NextLogLine(line)) {
        FUZZ_CHECK(line >= block.data() && line < block.data() + size);
        FUZZ_CHECK(std::strlen(line) > 0);
        ++lines;
        bytes += static_cast<long>(std::strlen(line)) + 1;
        std::vector<char> a = Buffer(16), b = Buffer(16);
        LogWord w = SplitLogLine(line, a.data(), 16, b.data(), 16);
        FUZZ_CHECK(Terminated(a) && Terminated(b));
        if (w == LogNone) FUZZ_CHECK(a[0] == 0 && b[0] == 0);
        LineDecides(line);
        char remade[64];
        if (w != LogNone && MakeLogLine(remade, sizeof(remade), w, a.data(), b[0] ? b.data() : nullptr))
            FUZZ_CHECK(std::strlen(remade) < sizeof(remade));
    }
    FUZZ_CHECK(bytes <= static_cast<long>(size));
    const char* open = OpenRun(block.data());
    if (open != nullptr) FUZZ_CHECK(!RunCommitted(open));
    char value[8];
    CommittedLine(block.data(), LogMouse, value, sizeof(value));
    FUZZ_CHECK(std::memchr(value, 0, sizeof(value)) != nullptr);

    std::vector<char> arena(MadeSetArenaBytes(bytes, lines));
    std::vector<long> slots(MadeSetSlotCount(lines));
    MadeSet set = {arena.data(), static_cast<long>(arena.size()), 0, slots.data(),
                   static_cast<long>(slots.size()), 0};
    FUZZ_CHECK(NoteCommittedRuns(&set, block.data(), 1));  // room for every line, always
    long at = 0, count = 0;
    MadeKind kind;
    for (const char* p; (p = MadeSetNext(&set, &at, &kind)) != nullptr; ++count)
        FUZZ_CHECK(MadeSetFind(&set, p) == kind);
    FUZZ_CHECK(count == set.count);
    return 0;
}
