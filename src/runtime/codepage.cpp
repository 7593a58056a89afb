#include <windows.h>

#include "runtime/codepage.h"

#include "runtime/text.h"

static int SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) ? 1 : 0; }

void UseSystemCodePage() { TextSetLeadBytes(SystemLeadByte); }
