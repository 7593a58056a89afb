// The command-line tail that the start-up hands to WinMain.
#pragma once

// Skips the program name (a quoted name up to its closing quote, or an unquoted name up
// to the first character below 0x21) and every following character below 0x21.
const char* CommandLineTail(const char* commandLine);
