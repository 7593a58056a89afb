// How a value is written into the journal so that the profile functions give it back
// unchanged. No Windows calls.
#pragma once

// The profile functions take blanks and tabs off both ends of a value they read, and one
// pair of quotes (double or single) around it. A value that would lose something that way
// is written inside a pair of double quotes, which the read takes off again; any other
// value is written as it is. Returns 1 when the result fits out (width characters with the
// terminator), 0 with out empty otherwise.
int JournalQuoteValue(char* out, int width, const char* value);
