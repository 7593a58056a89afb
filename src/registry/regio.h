// Small registry wrappers shared by product registration, device detection and the driver
// class key: full-access opens and creates, string and flag writes, bounded reads.
#pragma once
#include <windows.h>

enum {
    kOldValueWidth = 80,    // old registry values read before they are replaced
    kSubkeyNameWidth = 80,  // subkey names as ForEachSubkey hands them on
};

// The driver class keys below HKEY_LOCAL_MACHINE, and the mouse class among them.
#define CLASS_KEY_ROOT "System\\CurrentControlSet\\Services\\Class\\"
#define MOUSE_CLASS_KEY CLASS_KEY_ROOT "Mouse"

// Calls visit(name) for each subkey of key in the order the registry lists them, until
// visit returns 0. A name longer than kSubkeyNameWidth - 1 characters is passed over.
template <typename Visit>
void ForEachSubkey(HKEY key, Visit visit) {
    for (DWORD index = 0;; ++index) {
        char name[kSubkeyNameWidth];
        DWORD length = kSubkeyNameWidth;
        LONG result = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) break;
        if (!visit(static_cast<const char*>(name))) break;
    }
}

// Opens path below root with full access. Returns 1 on success.
int OpenKeyFull(HKEY root, const char* path, HKEY* key);

// Creates path below root, or opens it when it exists: no class, options value 1
// (REG_OPTION_VOLATILE; Windows 95 and 98 ignore it and keep the key), full access.
// Returns 1 on success.
int CreateKeyFull(HKEY root, const char* path, HKEY* key);

// Writes text as REG_SZ with its terminating zero counted. A null name writes the key's
// unnamed value. The result is not examined.
void SetTextValue(HKEY key, const char* name, const char* text);

// Writes 4 zero bytes as REG_BINARY.
void SetZeroFlags(HKEY key, const char* name);

// Reads a value as text into out (kOldValueWidth wide). An absent or unreadable value reads
// as empty; a longer value keeps its first kOldValueWidth - 1 characters. The value's type
// is not examined.
void ReadOldText(HKEY key, const char* name, char* out);

// Deletes path below root with every key and value beneath it (Windows 95 deletes a key
// with subkeys, Windows NT and Wine do not: the subkeys go first). Returns 1 when the key
// is gone afterwards.
int DeleteKeyTree(HKEY root, const char* path);

// 1 when the key has neither values nor subkeys.
int KeyIsEmpty(HKEY key);
