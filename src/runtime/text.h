// Bounded text helpers for fixed-width 8-bit buffers. No C runtime, no windows.h:
// the shipping build has neither, and the native tests use these as they are.
// Widths always count the terminating zero.
#pragma once
#include <stddef.h>
#include <stdint.h>

// The lead bytes of the system's ANSI code page. On a double-byte Windows (code pages 932,
// 936, 949, 950) a character can be two bytes, and its second byte can be 0x5C (the
// backslash: "\x83\x5C" in 932) or a letter. The scans below step over such characters
// whole. No byte is a lead byte until the program's start-up hands over the system's test
// (IsDBCSLeadByte); the native tests hand over a code page's ranges.
void TextSetLeadBytes(int (*isLeadByte)(unsigned char byte));

// 1 when c begins a double-byte character.
int TextIsLeadByte(char c);

// The bytes of the character at s: 2 for a lead byte followed by a byte, 1 for any other
// byte, 0 at the end.
int TextCharBytes(const char* s);

// The longest start of s within n bytes that ends on a whole character: n, or n - 1 when
// byte n - 1 is a lead byte whose second byte lies beyond.
int TextWholeLength(const char* s, int n);

// The index of the last backslash of s that is a character of its own (not the second byte
// of a double-byte character), or -1.
int TextLastBackslash(const char* s);

// Cuts off the last byte of s when it is the first byte of a double-byte character whose
// second byte was cut away (a text the platform cut to a buffer's width); returns the length.
int TextDropTornCharacter(char* s);

// Takes the backslashes of their own off the end of s while it is longer than keep bytes;
// returns its new length.
int TextTrimBackslashes(char* s, int keep);

// Number of characters before the terminating zero.
int TextLength(const char* s);

// Copies src into dst of the given width, cut at width - 1 characters (one fewer when the
// cut would leave the first byte of a double-byte character at the end).
// Returns 1 when src fit whole, 0 when it was cut.
int TextCopy(char* dst, int width, const char* src);

// Appends src to the text in dst, cut so that dst stays within width.
// Returns 1 when src fit whole, 0 when it was cut.
int TextAppend(char* dst, int width, const char* src);

// Builds a + b + c (any may be null) into dst. A result that does not fit is never cut
// into another text: dst is left empty and 0 is returned. Returns 1 on success.
int TextJoin(char* dst, int width, const char* a, const char* b, const char* c = nullptr,
             const char* d = nullptr, const char* e = nullptr);

// 1 when the texts are equal byte for byte.
int TextEqual(const char* a, const char* b);

// 1 when the texts are equal without regard to the case of ASCII letters (the second byte of
// a double-byte character is compared as it stands).
int TextEqualNoCase(const char* a, const char* b);

// 1 when two paths name the same file by their text alone: parts are compared without
// regard to the case of ASCII letters, and doubled separators and "." parts are passed
// over ("C:\A\.\B" and "c:\a\\b" match). ".." parts are compared as they stand.
int TextSamePathNoCase(const char* a, const char* b);

// 1 when needle occurs in haystack, byte for byte, starting at a character of haystack (not
// at the second byte of a double-byte character); an empty needle always occurs.
int TextContains(const char* haystack, const char* needle);

// Writes value in decimal, at least minDigits digits (zero-padded), into dst.
// Returns 1 when it fit.
int TextFromInt(char* dst, int width, long value, int minDigits = 1);

// The decimal number at the start of text (a "-" before it allowed); 0 when there is none.
long TextToLong(const char* text);

// Fills n bytes with zero.
void ZeroBytes(void* p, size_t n);

// Replaces every carriage return and line feed in s with a blank, so that the text stays on
// one line of a profile file.
void TextFlattenLines(char* s);
