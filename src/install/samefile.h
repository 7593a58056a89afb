// Whether two paths name one file, decided by the file system rather than by their texts.
#pragma once

// 1 when both paths name the same existing file: each is made full by the platform ("." and
// ".." resolved, trailing dots and doubled separators dropped), then short (an 8.3 alias
// and its long name give one form), and the forms are compared without regard to case.
// 0 when either file does not exist, so a destination not yet made is never the source.
int SameExistingFile(const char* a, const char* b);
