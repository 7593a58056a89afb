// Class key numbering and the journal's one-line rule: the parts of device registration
// that need no registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/classnumber.h"
#include "runtime/text.h"

namespace {

// The name the scan proposes for subkeys listed in this order.
std::string Proposed(const std::vector<std::string>& names) {
    ClassScan scan;
    ClassScanStart(&scan);
    for (const std::string& n : names)
        if (!ClassScanTake(&scan, n.c_str())) break;
    char out[kClassNameWidth];
    EXPECT_EQ(1, FormatClassName(out, sizeof(out), ClassScanCandidate(&scan)));
    return out;
}

TEST(ClassNumber, LeadingDecimalNumberHeldIn16Bits) {
    EXPECT_EQ(3, ClassKeyNumber("0003"));
    EXPECT_EQ(12, ClassKeyNumber(" \t12abc"));
    EXPECT_EQ(7, ClassKeyNumber("+7"));
    EXPECT_EQ(-2, ClassKeyNumber("-0002"));
    EXPECT_EQ(0, ClassKeyNumber("abc"));
    EXPECT_EQ(0, ClassKeyNumber("x12"));
    EXPECT_EQ(0, ClassKeyNumber(""));
    EXPECT_EQ(0, ClassKeyNumber("-"));
    EXPECT_EQ(32767, ClassKeyNumber("32767"));
    EXPECT_EQ(-32768, ClassKeyNumber("32768"));
    EXPECT_EQ(4464, ClassKeyNumber("70000"));  // 70000 - 65536
}

TEST(ClassNumber, ScanStopsAtTheFirstGapInListingOrder) {
    EXPECT_EQ("Mouse\\0000", Proposed({}));
    EXPECT_EQ("Mouse\\0003", Proposed({"0000", "0001", "0002"}));
    EXPECT_EQ("Mouse\\0002", Proposed({"0000", "0001", "0003"}));
    EXPECT_EQ("Mouse\\0000", Proposed({"0001"}));
    EXPECT_EQ("Mouse\\0000", Proposed({"0002", "0000", "0001"}));  // not sorted: first gap wins
    EXPECT_EQ("Mouse\\0001", Proposed({"0000", "Old"}));           // no digits counts as 0
    EXPECT_EQ("Mouse\\0001", Proposed({"0000", "0001", "x"}));     // back to 0: proposes 1 again
    EXPECT_EQ("Mouse\\0001", Proposed({"0000", "9999"}));
    EXPECT_EQ("Mouse\\0000", Proposed({"-0005", "0000"}));  // never a negative number
}

TEST(ClassNumber, MoreThanFourDigitsAreWrittenInFull) {
    std::vector<std::string> names;
    for (int i = 0; i <= 9999; ++i) {
        char n[8];
        TextFromInt(n, sizeof(n), i, 4);
        names.push_back(n);
    }
    EXPECT_EQ("Mouse\\10000", Proposed(names));
    names.push_back("10000");
    EXPECT_EQ("Mouse\\10001", Proposed(names));

    ClassScan scan;
    ClassScanStart(&scan);
    scan.Previous = 32766;
    EXPECT_EQ(1, ClassScanTake(&scan, "32767"));
    EXPECT_EQ(32768, ClassScanCandidate(&scan));  // the next number does not wrap round

    char small[10];
    EXPECT_EQ(0, FormatClassName(small, sizeof(small), 10000));
    EXPECT_STREQ("", small);
}

TEST(Text, FlattenLinesKeepsTextOnOneLine) {
    char s[] = "a\r\nb\nc\rd\te";
    TextFlattenLines(s);
    EXPECT_STREQ("a  b c d\te", s);
}

}  // namespace
