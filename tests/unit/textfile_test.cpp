// The text-mode codec of our own text files: what a read yields and what a write leaves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/textfile.h"

namespace {

struct MemorySource {
    std::string bytes;
    size_t pos = 0;
    int chunk = kTextBufferSize;  // at most this many bytes per fill
    bool failAtEnd = false;
};

int FillFromMemory(void* context, unsigned char* buffer, int capacity) {
    MemorySource* s = static_cast<MemorySource*>(context);
    if (s->pos >= s->bytes.size()) return s->failAtEnd ? -1 : 0;
    int n = static_cast<int>(std::min<size_t>(s->bytes.size() - s->pos, capacity));
    n = std::min(n, s->chunk);
    for (int i = 0; i < n; ++i) buffer[i] = static_cast<unsigned char>(s->bytes[s->pos + i]);
    s->pos += n;
    return n;
}

struct MemorySink {
    std::string bytes;
    size_t limit = std::string::npos;  // a disk that fills up
};

int WriteToMemory(void* context, const unsigned char* data, int length) {
    MemorySink* s = static_cast<MemorySink*>(context);
    size_t room = s->limit == std::string::npos ? length : s->limit - s->bytes.size();
    size_t n = std::min<size_t>(room, length);
    s->bytes.append(reinterpret_cast<const char*>(data), n);
    return n == static_cast<size_t>(length);
}

// Every piece of the text, read with the given width and source chunk size.
std::vector<std::string> Pieces(const std::string& bytes, int width = 120, int chunk = 512) {
    MemorySource src;
    src.bytes = bytes;
    src.chunk = chunk;
    TextReader r;
    TextReaderInit(&r, FillFromMemory, &src);
    std::vector<std::string> out;
    std::vector<char> buf(width + 1);
    int n;
    while ((n = TextReadPiece(&r, buf.data(), width)) > 0) {
        EXPECT_EQ(0, buf[n]);
        out.emplace_back(buf.data(), n);
    }
    EXPECT_EQ(0, r.failed);
    return out;
}

std::string Written(const std::string& text, size_t limit = std::string::npos, int* ok = nullptr) {
    MemorySink sink;
    sink.limit = limit;
    TextWriter w;
    TextWriterInit(&w, WriteToMemory, &sink);
    TextWriteChars(&w, text.data(), static_cast<int>(text.size()));
    int flushed = TextWriterFlush(&w);
    if (ok != nullptr) *ok = flushed;
    return sink.bytes;
}

using V = std::vector<std::string>;

TEST(TextRead, LineEndsAsTheRuntimeReadsThem) {
    EXPECT_EQ((V{"a\n", "b\n", "c"}), Pieces("a\r\nb\nc"));
    EXPECT_EQ((V{"a\rb\n"}), Pieces("a\rb\r\n"));  // a lone CR stays
    EXPECT_EQ((V{"a\r\n"}), Pieces("a\r\r\n"));    // CR CR LF: one CR, one LF
    EXPECT_EQ((V{"a\r"}), Pieces("a\r"));          // CR at the end stays
    EXPECT_EQ((V{"\n", "\n"}), Pieces("\r\n\n"));
    EXPECT_EQ((V{}), Pieces(""));
    EXPECT_EQ((V{std::string("a\0b\n", 4)}), Pieces(std::string("a\0b\r\n", 5)));
}

TEST(TextRead, CtrlZEndsTheText) {
    EXPECT_EQ((V{"a\n", "b"}), Pieces("a\r\nb\x1A"
                                      "c\r\nd\r\n"));
    EXPECT_EQ((V{}), Pieces("\x1A"
                            "abc"));
    EXPECT_EQ((V{"a\r"}), Pieces("a\r\x1A\n"));
}

TEST(TextRead, CrLfSplitAcrossFillsIsStillOneLineEnd) {
    std::string text = "line one\r\nline two\r\r\nx\r";
    V expect = {"line one\n", "line two\r\n", "x\r"};
    for (int chunk = 1; chunk <= 12; ++chunk) EXPECT_EQ(expect, Pieces(text, 120, chunk)) << chunk;
    // A CR LF that straddles the codec's own buffer.
    std::string big(kTextBufferSize - 1, 'x');
    EXPECT_EQ((V{big + "\n", "y"}), Pieces(big + "\r\ny", 1024));
}

TEST(TextRead, LongLinesComeInPiecesOfWidthLessOne) {
    std::string line(250, 'm');
    V p = Pieces(line + "\r\nz\r\n");
    ASSERT_EQ(4u, p.size());
    EXPECT_EQ(std::string(119, 'm'), p[0]);
    EXPECT_EQ(std::string(119, 'm'), p[1]);
    EXPECT_EQ(std::string(12, 'm') + "\n", p[2]);
    EXPECT_EQ("z\n", p[3]);
    // 119 characters and the line end: the LF arrives as a piece of its own.
    EXPECT_EQ((V{std::string(119, 'k'), "\n"}), Pieces(std::string(119, 'k') + "\r\n"));
    EXPECT_EQ((V{std::string(118, 'k') + "\n"}), Pieces(std::string(118, 'k') + "\r\n"));
}

TEST(TextRead, AFailedReadEndsTheTextAndIsReported) {
    MemorySource src;
    src.bytes = "ab\r\n";
    src.failAtEnd = true;
    TextReader r;
    TextReaderInit(&r, FillFromMemory, &src);
    char buf[16];
    EXPECT_EQ(3, TextReadPiece(&r, buf, sizeof(buf)));
    EXPECT_EQ(0, TextReadPiece(&r, buf, sizeof(buf)));
    EXPECT_EQ(1, r.failed);
    EXPECT_EQ(0, TextReadPiece(&r, buf, sizeof(buf)));  // and stays ended
}

TEST(TextWrite, EveryLineFeedBecomesCrLf) {
    EXPECT_EQ("a\r\nb\r\n", Written("a\nb\n"));
    EXPECT_EQ("a\r\r\n", Written("a\r\n"));  // a CR already there is kept as it is
    EXPECT_EQ("last", Written("last"));
    EXPECT_EQ("", Written(""));
    std::string many(1000, '\n');
    std::string expect;
    for (int i = 0; i < 1000; ++i) expect += "\r\n";
    EXPECT_EQ(expect, Written(many));  // across several flushes of the buffer
}

TEST(TextWrite, AShortWriteIsReported) {
    int ok = 1;
    std::string text(2000, 'x');
    EXPECT_EQ(1000u, Written(text, 1000, &ok).size());
    EXPECT_EQ(0, ok);
    EXPECT_EQ("abc", Written("abc", 100, &ok));
    EXPECT_EQ(1, ok);
}

TEST(TextRoundTrip, ReadingWhatWasWrittenGivesTheTextBack) {
    std::string text = "[boot]\nshell=Explorer.exe\n\nx=1\nno end";
    std::string joined;
    for (const std::string& p : Pieces(Written(text))) joined += p;
    EXPECT_EQ(text, joined);
}

}  // namespace
