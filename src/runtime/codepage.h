// The system's ANSI code page for the bounded text helpers (text.h).
#pragma once

// Hands the text helpers the lead bytes of the system's code page (IsDBCSLeadByte), so that
// their scans step over double-byte characters. Every program calls it first thing.
void UseSystemCodePage();
