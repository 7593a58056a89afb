#include "install/inirule.h"

#include "runtime/text.h"

const char kVmouseLine[] = "mouse=*vmouse\n";

// 1 when the piece is the whole line text followed by its LF, or by nothing at the end of
// the file.
static int IsExactLine(const char* piece, int length, const char* text) {
    int n = TextLength(text);
    if (length != n && !(length == n + 1 && piece[n] == '\n')) return 0;
    for (int i = 0; i < n; ++i)
        if (piece[i] != text[i]) return 0;
    return 1;
}

IniPieceAction IniMouseRuleStep(IniMouseRule* rule, const char* piece, int length) {
    int continuation = rule->lineGoesOn;
    rule->lineGoesOn = length > 0 && piece[length - 1] != '\n';
    if (continuation) return rule->lineReplaced ? IniDrop : IniKeep;

    rule->lineReplaced = 0;
    // Any section header ends the section, also one indented by blanks or tabs, as the
    // profile functions read it.
    int first = 0;
    while (first < length && (piece[first] == ' ' || piece[first] == '\t')) ++first;
    int header = first < length && piece[first] == '[';
    if (header) rule->inSection = 0;
    if (TextContains(piece, "[386Enh]")) rule->inSection = 1;
    // A header is never the mouse line, even one whose comment mentions the mouse: the
    // section would lose its header. The search goes on below it.
    if (header) return IniKeep;
    int isMouseLine = rule->exactLine != nullptr ? IsExactLine(piece, length, rule->exactLine)
                                                 : TextContains(piece, "mouse") && piece[0] != ';';
    if (rule->inSection && isMouseLine) {
        rule->inSection = 0;
        rule->lineReplaced = 1;
        return IniReplace;
    }
    return IniKeep;
}
