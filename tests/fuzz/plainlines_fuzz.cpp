// The numbered lines read from a script's text: whatever the text, each value taken lies
// within it on one line, right after its "=", shorter than the width and printable; a text
// refused leaves every key to the profile functions; and a listing of any bytes is compared
// within its length.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "script/plainlines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int count = 1 + data[0] % 40, width = 1 + data[1] % 130;
    // The text is the input; the listing, the input's second half read as NUL-separated texts.
    std::vector<char> text(data + 2, data + size);
    std::vector<PlainLine> lines(static_cast<size_t>(count));
    const long length = static_cast<long>(text.size());
    int plain = FindPlainLines(text.data(), length, "Disk1", count, width, lines.data());
    for (const PlainLine& l : lines) {
        if (!plain) FUZZ_CHECK(l.start == kAskProfile);
        if (l.start == kAskProfile || (l.start == 0 && l.length == 0)) continue;
        FUZZ_CHECK(l.start > 0 && l.length >= 0 && l.length < width);
        FUZZ_CHECK(l.start + l.length <= length && text[l.start - 1] == '=');
        for (long i = l.start; i < l.start + l.length; ++i)
            FUZZ_CHECK(text[i] >= 0x20 && text[i] < 0x7F);
    }
    std::vector<char> listed(text.begin() + length / 2, text.end());
    if (plain)
        PlainLinesAgree(listed.data(), static_cast<long>(listed.size()), data[0] & 1, text.data(),
                        count, lines.data());
    return 0;
}
