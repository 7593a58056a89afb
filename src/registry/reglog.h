// What the registry writers tell the log (texts/log.h): every value set, with the value it
// replaced, and every key deleted, each named by its whole path. Keys are known by the
// path they were opened or created with. Nothing is done while no log is open.
#pragma once
#include <windows.h>

enum { kLoggedValueWidth = 160 };  // a value as the log shows it

// The key just opened or created as path below parent (a root or a key opened before).
void RegLogKeyOpened(HKEY parent, const char* path, HKEY key);

// The value name of key as the log shows it (text, or binary data in hex) into out
// (kLoggedValueWidth wide). 0 when the value is absent.
int RegLogReadValue(HKEY key, const char* name, char* out);

// "registry <key>\<name> = <shown>, was <old>" (old null: "was absent"); "could not be
// set" when done is 0.
void RegLogValueSet(HKEY key, const char* name, const char* shown, const char* old, int done);

// "registry <root>\<path> deleted, with what was below it".
void RegLogKeyDeleted(HKEY root, const char* path);
