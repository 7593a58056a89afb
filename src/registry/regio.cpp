#include <windows.h>

#include "registry/regio.h"

#include "registry/reglog.h"
#include "runtime/text.h"
#include "texts/log.h"

int OpenKeyFull(HKEY root, const char* path, HKEY* key) {
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, key) != ERROR_SUCCESS) return 0;
    RegLogKeyOpened(root, path, *key);
    return 1;
}

int CreateKeyFull(HKEY root, const char* path, HKEY* key) {
    DWORD disposition = 0;
    if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, key,
                        &disposition) != ERROR_SUCCESS)
        return 0;
    RegLogKeyOpened(root, path, *key);
    return 1;
}

// Every value written by the programs goes through here: with a log open, the value it
// replaces is read first, and both are logged (shown: the new value as the log shows it).
static void SetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size,
                     const char* shown) {
    if (!LogActive()) {
        RegSetValueExA(key, name, 0, type, data, size);
        return;
    }
    char old[kLoggedValueWidth];
    int existed = RegLogReadValue(key, name, old);
    LONG result = RegSetValueExA(key, name, 0, type, data, size);
    RegLogValueSet(key, name, shown, existed ? old : nullptr, result == ERROR_SUCCESS);
}

void SetTextValue(HKEY key, const char* name, const char* text) {
    char shown[kLoggedValueWidth];
    if (LogActive() && !TextJoin(shown, kLoggedValueWidth, "\"", text, "\""))
        TextCopy(shown, kLoggedValueWidth, "(a value longer than the log shows)");
    SetValue(key, name, REG_SZ, reinterpret_cast<const BYTE*>(text),
             static_cast<DWORD>(TextLength(text) + 1), shown);
}

void SetZeroFlags(HKEY key, const char* name) {
    const BYTE zero[4] = {0, 0, 0, 0};
    SetValue(key, name, REG_BINARY, zero, sizeof(zero), "00 00 00 00");
}

void ReadOldText(HKEY key, const char* name, char* out) {
    ZeroBytes(out, kOldValueWidth);
    DWORD size = kOldValueWidth;
    LONG result =
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(out), &size);
    if (result == ERROR_SUCCESS) {
        out[kOldValueWidth - 1] = 0;  // a value of 80 bytes without a terminator is cut
        TextDropTornCharacter(out);
        return;
    }
    ZeroBytes(out, kOldValueWidth);
    if (result != ERROR_MORE_DATA || size == 0) return;
    // Too long for the buffer: read it whole into a block of its own and keep its start,
    // so that the journal records the value's real beginning.
    HGLOBAL block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size + 1);
    if (block == nullptr) return;
    char* whole = static_cast<char*>(static_cast<void*>(block));
    DWORD wholeSize = size;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(whole), &wholeSize) ==
            ERROR_SUCCESS &&
        wholeSize <= size) {
        whole[wholeSize] = 0;
        TextCopy(out, kOldValueWidth, whole);
    }
    GlobalFree(block);
}

// DeleteKeyTree without a word: each subkey goes first.
static int DeleteTree(HKEY root, const char* path) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return 1;
    // Always the first subkey: each one deleted moves the next into its place. A subkey
    // that resists is passed over by index.
    DWORD index = 0;
    for (;;) {
        char name[kOldValueWidth * 2];
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (!DeleteTree(key, name)) ++index;
    }
    RegCloseKey(key);
    return RegDeleteKeyA(root, path) == ERROR_SUCCESS;
}

int DeleteKeyTree(HKEY root, const char* path) {
    HKEY key;
    int existed = LogActive() && RegOpenKeyExA(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (existed) RegCloseKey(key);
    int gone = DeleteTree(root, path);
    if (existed && gone) RegLogKeyDeleted(root, path);
    return gone;
}

int KeyIsEmpty(HKEY key) {
    DWORD subkeys = 0, values = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return subkeys == 0 && values == 0;
}
