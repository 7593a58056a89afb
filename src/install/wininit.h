// Files that cannot be removed or replaced now go at the next start of Windows, through the [rename]
// section of WindowsDir\wininit.ini, which Windows 95 and 98 work through before they start.
#pragma once

// Adds "NUL=path" (the short form of path, which is what the start-up reads) to [rename]
// of wininit.ini, keeping every other line; the section is made when missing. The file is
// written whole as wininit.new before it takes the place of the old one. Returns 1 when
// the line is in place (also when it was there already). WritePrivateProfileString cannot do this: it holds one value per
// key, and there may be several NUL lines.
int QueueRemovalAtRestart(const char* path);

// Adds "target=source" (both in short form) to [rename] of wininit.ini, as above: at the
// next start the whole file source takes the place of target, a file in use now. Returns 1
// when the line is in place.
int QueueReplaceAtRestart(const char* target, const char* source);

// Takes the line "target=source" out of wininit.ini again (source must still exist, for its
// short form), keeping every other line. Returns 1 when it was there and is gone.
int UnqueueReplaceAtRestart(const char* target, const char* source);
