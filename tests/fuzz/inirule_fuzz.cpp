// The system.ini rule over whole files, read and written through the runtime's text-file
// codec as PatchSystemIni does, with the source handing over its bytes in chunks of any size.
// Every line of the text stays as it was but the replaced ones; a replaced line contained
// "mouse", did not start with a semicolon and lay at or below a "[386Enh]" line; every
// "[386Enh]" line allows at most one replacement; and a second run changes nothing more.
#include <string>

#include "fuzz_input.h"
#include "install/inirule.h"
#include "runtime/textfile.h"

namespace {

struct Source {
    const std::string* bytes;
    size_t pos;
    int chunk;  // bytes per fill, at most
};

int Fill(void* context, unsigned char* buffer, int capacity) {
    Source* s = static_cast<Source*>(context);
    int n = 0;
    while (n < capacity && n < s->chunk && s->pos < s->bytes->size())
        buffer[n++] = static_cast<unsigned char>((*s->bytes)[s->pos++]);
    return n;
}

int Put(void* context, const unsigned char* data, int length) {
    static_cast<std::string*>(context)->append(reinterpret_cast<const char*>(data), length);
    return 1;
}

// The text of a file as the codec reads it, in pieces of at most width - 1 characters.
std::vector<std::string> Pieces(const std::string& file, int chunk, int width) {
    Source src = {&file, 0, chunk};
    TextReader r;
    TextReaderInit(&r, Fill, &src);
    std::vector<std::string> pieces;
    std::vector<char> piece = Buffer(width);
    int n;
    while ((n = TextReadPiece(&r, piece.data(), width)) > 0) {
        FUZZ_CHECK(n <= width - 1 && piece[n] == 0);
        pieces.emplace_back(piece.data(), n);
    }
    return pieces;
}

// system.ini bytes in, system.new bytes out, as PatchSystemIni copies them.
std::string Patch(const std::string& ini, int chunk) {
    Source src = {&ini, 0, chunk};
    std::string out;
    TextReader r;
    TextWriter w;
    TextReaderInit(&r, Fill, &src);
    TextWriterInit(&w, Put, &out);
    IniMouseRule rule = {0, 0, 0};
    std::vector<char> piece = Buffer(120);
    int n;
    while ((n = TextReadPiece(&r, piece.data(), 120)) > 0) {
        switch (IniMouseRuleStep(&rule, piece.data(), n)) {
        case IniKeep:
            TextWriteChars(&w, piece.data(), n);
            break;
        case IniReplace:
            TextWriteChars(&w, kVmouseLine, 14);
            break;
        case IniDrop:
            break;
        }
    }
    FUZZ_CHECK(TextWriterFlush(&w) == 1);
    return out;
}

// The lines of a text, each without its LF.
std::vector<std::string> Lines(const std::vector<std::string>& pieces) {
    std::string text;
    for (const std::string& p : pieces) text += p;
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t lf = text.find('\n', at);
        if (lf == std::string::npos) lf = text.size();
        lines.push_back(text.substr(at, lf - at));
        at = lf + 1;
    }
    return lines;
}

}  // namespace

// Input: the chunk size of the source's reads, then the bytes of system.ini.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    int chunk = 1 + data[0] % 64;
    if (data[0] >= 192) chunk = kTextBufferSize;
    std::string ini(reinterpret_cast<const char*>(data + 1), size - 1);

    // The reader: the same text whatever the chunks and the piece width, no piece too long.
    std::vector<std::string> pieces = Pieces(ini, chunk, 120);
    std::string text;
    for (const std::string& p : pieces) text += p;
    std::string other;
    for (const std::string& p : Pieces(ini, kTextBufferSize, 2 + data[0] % 130)) other += p;
    FUZZ_CHECK(other == text);
    FUZZ_CHECK(text.find('\x1A') == std::string::npos);

    std::string patched = Patch(ini, chunk);
    std::vector<std::string> before = Lines(pieces);
    std::vector<std::string> after = Lines(Pieces(patched, kTextBufferSize, 120));
    FUZZ_CHECK(before.size() == after.size());
    int headers = 0, replaced = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        const std::string& line = before[i];
        if (std::string(line.c_str()).find("[386Enh]") != std::string::npos) ++headers;
        if (after[i] == line) continue;
        FUZZ_CHECK(after[i] == "mouse=*vmouse");
        FUZZ_CHECK(line.find("mouse") != std::string::npos && line[0] != ';');
        FUZZ_CHECK(++replaced <= headers);
    }
    // Each LF went out as CR LF: the output holds no lone LF.
    for (size_t i = 0; i < patched.size(); ++i)
        if (patched[i] == '\n') FUZZ_CHECK(i > 0 && patched[i - 1] == '\r');
    FUZZ_CHECK(Patch(patched, chunk) == patched);
    return 0;
}
