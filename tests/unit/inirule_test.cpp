// The system.ini mouse line rule, run over whole files the way PatchSystemIni runs it:
// read in text mode in pieces of 119 characters, judged, written in text mode.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "install/inirule.h"
#include "runtime/textfile.h"

namespace {

struct Source {
    std::string bytes;
    size_t pos = 0;
};
int Fill(void* c, unsigned char* b, int cap) {
    Source* s = static_cast<Source*>(c);
    int n = 0;
    while (n < cap && s->pos < s->bytes.size())
        b[n++] = static_cast<unsigned char>(s->bytes[s->pos++]);
    return n;
}
int Put(void* c, const unsigned char* d, int n) {
    static_cast<std::string*>(c)->append(reinterpret_cast<const char*>(d), n);
    return 1;
}

// system.ini bytes in, system.new bytes out; with exactLine, the uninstaller's rule.
std::string Patch(const std::string& ini, const char* exactLine = nullptr,
                  const char* newLine = kVmouseLine) {
    Source src;
    src.bytes = ini;
    std::string out;
    TextReader r;
    TextWriter w;
    TextReaderInit(&r, Fill, &src);
    TextWriterInit(&w, Put, &out);
    IniMouseRule rule = {0, 0, 0, exactLine};
    char piece[128];
    int n;
    while ((n = TextReadPiece(&r, piece, 120)) > 0) {
        switch (IniMouseRuleStep(&rule, piece, n)) {
        case IniKeep:
            TextWriteChars(&w, piece, n);
            break;
        case IniReplace:
            TextWriteChars(&w, newLine, static_cast<int>(strlen(newLine)));
            break;
        case IniDrop:
            break;
        }
    }
    TextWriterFlush(&w);
    return out;
}

std::string Crlf(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\r\n";
    return s;
}

// Each LF of text as CR LF.
std::string Crlf(const std::string& text) {
    std::string s;
    for (char c : text) s += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return s;
}

TEST(SystemIniRule, ReplacesTheMouseLineOfThe386EnhSectionOnly) {
    std::vector<std::string> before = {
        "[boot]",      "mouse.drv=mouse.drv", "[386Enh]", "ebios=*ebios", "mouse=*vmd,msmouse.vxd",
        "device=*vcd", "[drivers]",           "wave=x"};
    std::vector<std::string> after = before;
    after[4] = "mouse=*vmouse";
    EXPECT_EQ(Crlf(after), Patch(Crlf(before)));
}

TEST(SystemIniRule, CommentsAndSecondMouseLinesStay) {
    EXPECT_EQ(Crlf({"[386Enh]", ";mouse=old", "mouse=*vmouse", "mouse=second"}),
              Patch(Crlf({"[386Enh]", ";mouse=old", "mouse=*vmd", "mouse=second"})));
    // "MOUSE" in capitals is no match; a line merely naming *vmouse is one.
    EXPECT_EQ(Crlf({"[386Enh]", "MOUSE=*vmd", "mouse=*vmouse"}),
              Patch(Crlf({"[386Enh]", "MOUSE=*vmd", "device=*vmouse"})));
}

TEST(SystemIniRule, AHeaderMentioningTheMouseIsNoMouseLine) {
    EXPECT_EQ(Crlf({"[386Enh] ; mouse and keyboard", "device=*vcd", "mouse=*vmouse", "x=1"}),
              Patch(Crlf({"[386Enh] ; mouse and keyboard", "device=*vcd", "mouse=*vmd", "x=1"})));
}

TEST(SystemIniRule, NoMouseLineInTheSectionLeavesLaterSectionsAlone) {
    std::string ini = Crlf({"[386Enh]", "device=*vcd", "[boot.description]", "mouse.drv=Standard",
                            "[386Enh2]", "mouse=x"});
    EXPECT_EQ(ini, Patch(ini));
    EXPECT_EQ(Crlf({"[x]", "mouse=a", "[386Enh]"}), Patch(Crlf({"[x]", "mouse=a", "[386Enh]"})));
    // An indented header is a header all the same.
    std::string indented = Crlf(
        {"[386Enh]", "device=*vcd", "  [boot]", "mouse.drv=mouse.drv", "\t[drivers]", "mouse=x"});
    EXPECT_EQ(indented, Patch(indented));
    // A second [386Enh] section gets its own replacement.
    EXPECT_EQ(Crlf({"[386Enh]", "mouse=*vmouse", "[386Enh]", "mouse=*vmouse"}),
              Patch(Crlf({"[386Enh]", "mouse=a", "[386Enh]", "mouse=b"})));
}

TEST(SystemIniRule, LineEndsCtrlZAndTheLastLine) {
    EXPECT_EQ("[386Enh]\r\nmouse=*vmouse\r\nx=1\r\n", Patch("[386Enh]\nmouse=*vmd\nx=1\n"));
    EXPECT_EQ("[386Enh]\r\nx=1", Patch("[386Enh]\r\nx=1"));  // stays without LF
    EXPECT_EQ("[386Enh]\r\nmouse=*vmouse\r\n", Patch("[386Enh]\r\nmouse=*vmd"));
    EXPECT_EQ("[386Enh]\r\nmouse=*vmouse\r\n", Patch("[386Enh]\r\nmouse=*vmd\r\n\x1A"
                                                     "after\r\n"));
    EXPECT_EQ("", Patch(""));
}

TEST(SystemIniRule, LongLinesAreCopiedWholeOrReplacedWhole) {
    std::string longMouse = "mouse=" + std::string(200, 'v');
    std::string lateMouse = std::string(150, ' ') + "mouse=x";
    EXPECT_EQ(Crlf({"[386Enh]", lateMouse, "mouse=*vmouse", "a=b"}),
              Patch(Crlf({"[386Enh]", lateMouse, "mouse=*vmd", "a=b"})));
    EXPECT_EQ(Crlf({"[386Enh]", "mouse=*vmouse", "a=b"}),
              Patch(Crlf({"[386Enh]", longMouse, "a=b"})));
    // A later piece starting with "[" ends no section.
    std::string bracketLate = "x=" + std::string(117, 'y') + "[boot]";
    EXPECT_EQ(Crlf({"[386Enh]", bracketLate, "mouse=*vmouse"}),
              Patch(Crlf({"[386Enh]", bracketLate, "mouse=1"})));
    // Exactly 119 characters: the line end is read as a piece of its own.
    std::string exact = "mouse=" + std::string(113, 'q');
    EXPECT_EQ(Crlf({"[386Enh]", "mouse=*vmouse", "z"}), Patch(Crlf({"[386Enh]", exact, "z"})));
    std::string exactOther = "other=" + std::string(113, 'q');
    EXPECT_EQ(Crlf({"[386Enh]", exactOther, "mouse=*vmouse"}),
              Patch(Crlf({"[386Enh]", exactOther, "mouse=1"})));
}

// The uninstaller puts back the line that setup wrote: that line exactly, in [386Enh] only.
TEST(SystemIniRule, TheExactLineOfTheUninstaller) {
    const char* back = "mouse=*vmd\n";
    EXPECT_EQ(Crlf({"[x]", "mouse=*vmouse", "[386Enh]", ";mouse=*vmouse", "mouse=*vmouse, x.vxd",
                    "mouse=*vmd", "mouse=*vmouse"}),
              Patch(Crlf({"[x]", "mouse=*vmouse", "[386Enh]", ";mouse=*vmouse",
                          "mouse=*vmouse, x.vxd", "mouse=*vmouse", "mouse=*vmouse"}),
                    "mouse=*vmouse", back));
    EXPECT_EQ("[386Enh]\r\nmouse=*vmd\r\n",
              Patch("[386Enh]\r\nmouse=*vmouse", "mouse=*vmouse", back));
    std::string none = Crlf({"[386Enh]", "mouse=*vmd", "[boot]", "mouse=*vmouse"});
    EXPECT_EQ(none, Patch(none, "mouse=*vmouse", back));
}

TEST(SystemIniRule, ASecondRunChangesNothingMore) {
    std::string once = Patch(Crlf({"[boot]", "[386Enh]", "mouse=*vmd", "[x]"}));
    EXPECT_EQ(once, Patch(once));
}

// Whole small files, each with the file it must become; every one is read with CR LF and
// with bare LF line ends, and written with CR LF.
TEST(SystemIniRule, SmallFilesAndWhatTheyBecome) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"", ""},
        {"[boot]\nmouse.drv=m\n[386Enh]\nmouse=*vmd\n",
         "[boot]\nmouse.drv=m\n[386Enh]\nmouse=*vmouse\n"},
        // Comments and other cases of the word are passed over; any line naming "mouse" counts.
        {"[386Enh]\n; comment\n;mouse=old\nMOUSE=up\nebios=*ebios\nmouse.drv=m\nmouse=*vmd\n",
         "[386Enh]\n; comment\n;mouse=old\nMOUSE=up\nebios=*ebios\nmouse=*vmouse\nmouse=*vmd\n"},
        {"[386Enh]\nMOUSE=up\n", "[386Enh]\nMOUSE=up\n"},
        {" [386Enh]\ndevice=*vmouse, x.vxd\n", " [386Enh]\nmouse=*vmouse\n"},
        {"x=[386Enh]\nmouse=*vmd\n", "x=[386Enh]\nmouse=*vmouse\n"},
        {"[386Enh] ; again\nkeyboard=*vkd\nmouse=*vmd\nmouse=*vmd\n",
         "[386Enh] ; again\nkeyboard=*vkd\nmouse=*vmouse\nmouse=*vmd\n"},
        // Another header ends the section, indented or not; a mouse line before it stays.
        {"mouse=*vmd\n[386Enh]\n\n[boot]\nmouse=*vmd\n",
         "mouse=*vmd\n[386Enh]\n\n[boot]\nmouse=*vmd\n"},
        {"[386Enh]\n\t[drivers]\nmouse=x\n", "[386Enh]\n\t[drivers]\nmouse=x\n"},
        {"[386Enh]\n [boot]\nmouse=x\n", "[386Enh]\n [boot]\nmouse=x\n"},
        // One replacement per section, also when the header is given twice in a row.
        {"[386Enh]\n[386Enh]\nmouse=a\nmouse=b\n", "[386Enh]\n[386Enh]\nmouse=*vmouse\nmouse=b\n"},
        {"[386Enh]\nmouse=a\n[boot]\n[386Enh]\n;mouse\nmouse.drv=m\n",
         "[386Enh]\nmouse=*vmouse\n[boot]\n[386Enh]\n;mouse\nmouse=*vmouse\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Crlf(c.after), Patch(Crlf(c.before))) << c.before;
        EXPECT_EQ(Crlf(c.after), Patch(c.before)) << c.before;
    }
}

}  // namespace
