#include "script/journalquote.h"

#include "runtime/text.h"

static int IsBlank(char c) { return c == ' ' || c == '\t'; }

static int IsQuote(char c) { return c == '"' || c == '\''; }

int JournalQuoteValue(char* out, int width, const char* value) {
    int n = TextLength(value);
    int quoted = n > 0 && (IsBlank(value[0]) || IsBlank(value[n - 1]) ||
                           (n > 1 && IsQuote(value[0]) && value[n - 1] == value[0]));
    if (!quoted) {
        if (TextCopy(out, width, value)) return 1;
        out[0] = 0;
        return 0;
    }
    return TextJoin(out, width, "\"", value, "\"");
}
