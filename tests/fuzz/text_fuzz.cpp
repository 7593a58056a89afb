// The bounded text helpers: every result stays terminated within its width, a copy or append
// reports whether it was cut, a join is whole or empty, and numbers read back as written; and
// under code page 932 a cut, a compare and a scan treat a double-byte character as one.
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "runtime/text.h"

static char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

static void CheckCopyAndAppend(int width, const std::string& a, const std::string& b) {
    std::vector<char> dst = Buffer(width);
    int whole = TextCopy(dst.data(), width, a.c_str());
    if (width <= 0) {
        FUZZ_CHECK(whole == 0);
        return;
    }
    FUZZ_CHECK(Terminated(dst));
    FUZZ_CHECK(whole == (a.size() < static_cast<size_t>(width)));
    FUZZ_CHECK(std::string(dst.data()) == Fit(a, width));

    std::string before = dst.data();
    whole = TextAppend(dst.data(), width, b.c_str());
    FUZZ_CHECK(Terminated(dst));
    FUZZ_CHECK(whole == (before.size() + b.size() < static_cast<size_t>(width)));
    FUZZ_CHECK(std::string(dst.data()) == Fit(before + b, width));

    // A buffer without a terminator is left as it is.
    std::vector<char> full = Buffer(width);
    FUZZ_CHECK(TextAppend(full.data(), width, b.c_str()) == 0);
    FUZZ_CHECK(!Terminated(full));
}

static void CheckJoin(int width, unsigned mask, const std::vector<std::string>& p) {
    const char* parts[5];
    std::string all;
    for (int i = 0; i < 5; ++i) {
        parts[i] = (mask >> i) & 1 ? p[i].c_str() : nullptr;
        if (parts[i]) all += p[i];
    }
    std::vector<char> dst = Buffer(width);
    int ok = TextJoin(dst.data(), width, parts[0], parts[1], parts[2], parts[3], parts[4]);
    if (width <= 0) {
        FUZZ_CHECK(ok == 0);
        return;
    }
    FUZZ_CHECK(Terminated(dst));
    FUZZ_CHECK(ok == (all.size() < static_cast<size_t>(width)));
    FUZZ_CHECK(std::string(dst.data()) == (ok ? all : std::string()));
}

static void CheckComparisons(const std::string& a, const std::string& b) {
    std::string la = a, lb = b;
    for (char& c : la) c = Lower(c);
    for (char& c : lb) c = Lower(c);
    FUZZ_CHECK(TextLength(a.c_str()) == static_cast<int>(a.size()));
    FUZZ_CHECK(TextEqual(a.c_str(), b.c_str()) == (a == b));
    FUZZ_CHECK(TextEqualNoCase(a.c_str(), b.c_str()) == (la == lb));
    FUZZ_CHECK(TextContains(a.c_str(), b.c_str()) == (a.find(b) != std::string::npos));
    // The same path by text: reflexive, symmetric, and at least as wide as equality.
    int same = TextSamePathNoCase(a.c_str(), b.c_str());
    FUZZ_CHECK(same == TextSamePathNoCase(b.c_str(), a.c_str()));
    FUZZ_CHECK(TextSamePathNoCase(a.c_str(), a.c_str()) == 1);
    if (la == lb) FUZZ_CHECK(same == 1);
    FUZZ_CHECK(TextSamePathNoCase((a + "\\.\\").c_str(), ("\\" + a).c_str()) == 1);
}

static void CheckNumber(int width, long value, int minDigits) {
    std::vector<char> dst = Buffer(width);
    int ok = TextFromInt(dst.data(), width, value, minDigits);
    if (width <= 0) {
        FUZZ_CHECK(ok == 0);
        return;
    }
    FUZZ_CHECK(Terminated(dst));
    if (!ok) {
        FUZZ_CHECK(dst[0] == 0);
        return;
    }
    std::string text = dst.data();
    FUZZ_CHECK(!text.empty());
    FUZZ_CHECK(std::strtol(text.c_str(), nullptr, 10) == value);
    size_t digits = text.size() - (text[0] == '-' ? 1 : 0);
    int wanted = minDigits < 0 ? 0 : minDigits < 22 ? minDigits : 22;
    FUZZ_CHECK(digits >= static_cast<size_t>(wanted));
}

static void CheckFlatten(const std::string& a) {
    std::vector<char> s(a.begin(), a.end());
    s.push_back(0);
    TextFlattenLines(s.data());
    FUZZ_CHECK(std::strlen(s.data()) == a.size());
    for (size_t i = 0; i < a.size(); ++i)
        FUZZ_CHECK(s[i] == ((a[i] == '\r' || a[i] == '\n') ? ' ' : a[i]));
}

// Under code page 932 (lead bytes 81-9F, E0-FC): the texts as characters of one or two bytes.
static int Lead932(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

static std::vector<std::string> Characters(const std::string& s) {
    std::vector<std::string> chars;
    for (size_t i = 0; i < s.size();) {
        size_t n = Lead932(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        chars.push_back(s.substr(i, n));
        i += n;
    }
    return chars;
}

static std::string FoldSingle(const std::string& c) {
    return c.size() == 1 ? std::string(1, Lower(c[0])) : c;
}

static void CheckDoubleByte(int width, const std::string& a, const std::string& b) {
    TextSetLeadBytes([](unsigned char c) { return Lead932(c); });
    std::vector<std::string> ca = Characters(a), cb = Characters(b);
    // A cut keeps whole characters only.
    if (width > 0) {
        std::string fit;
        for (const std::string& c : ca) {
            if (fit.size() + c.size() > static_cast<size_t>(width - 1)) break;
            fit += c;
        }
        std::vector<char> dst = Buffer(width);
        FUZZ_CHECK(TextCopy(dst.data(), width, a.c_str()) == (fit == a));
        FUZZ_CHECK(std::string(dst.data()) == fit);
    }
    // Letter case is ignored for single-byte characters only.
    bool same = ca.size() == cb.size();
    for (size_t i = 0; same && i < ca.size(); ++i) same = FoldSingle(ca[i]) == FoldSingle(cb[i]);
    FUZZ_CHECK(TextEqualNoCase(a.c_str(), b.c_str()) == same);
    // A backslash is a character of its own; a needle starts at a character.
    int last = -1, at = 0;
    bool contains = b.empty();
    for (const std::string& c : ca) {
        if (c == "\\") last = at;
        if (!contains && a.compare(at, b.size(), b) == 0) contains = true;
        at += static_cast<int>(c.size());
    }
    FUZZ_CHECK(TextLastBackslash(a.c_str()) == last);
    FUZZ_CHECK(TextContains(a.c_str(), b.c_str()) == contains);
    FUZZ_CHECK(TextSamePathNoCase(a.c_str(), b.c_str()) ==
               TextSamePathNoCase(b.c_str(), a.c_str()));
    FUZZ_CHECK(TextSamePathNoCase(a.c_str(), a.c_str()) == 1);
    TextSetLeadBytes(nullptr);
}

// Input: width, join mask, minimum digits, eight bytes of a number, then five texts
// separated by line feeds (the first three bytes of the input are taken before them).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 11) return 0;
    int width = static_cast<int8_t>(data[0]);  // -128..127: zero and negative widths too
    unsigned mask = data[1];
    int minDigits = static_cast<int8_t>(data[2]);
    uint64_t raw = 0;
    for (int i = 0; i < 8; ++i) raw = raw << 8 | data[3 + i];
    long value = static_cast<long>(static_cast<int64_t>(raw));
    std::vector<std::string> p = SplitParts(data + 11, size - 11, 5);

    CheckCopyAndAppend(width, p[0], p[1]);
    CheckJoin(width, mask, p);
    CheckComparisons(p[0], p[1]);
    CheckNumber(width, value, minDigits);
    CheckFlatten(p[2]);
    CheckDoubleByte(width, p[0], p[1]);
    return 0;
}
