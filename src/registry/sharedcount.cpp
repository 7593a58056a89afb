#include <windows.h>

#include "registry/sharedcount.h"

#include "registry/regio.h"

// Below HKEY_LOCAL_MACHINE: one REG_DWORD per shared file, named by its full path, counting
// the installations that use it.
static const char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The count of path in *count; 0 when there is none. A value of four bytes counts whatever
// its type: installers of the time wrote REG_BINARY as well.
static int ReadCount(HKEY key, const char* path, DWORD* count) {
    BYTE bytes[4];
    DWORD size = sizeof(bytes);
    if (RegQueryValueExA(key, path, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS || size != 4)
        return 0;
    *count = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<DWORD>(bytes[3]) << 24);
    return 1;
}

static void WriteCount(HKEY key, const char* path, DWORD count) {
    RegSetValueExA(key, path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof(count));
}

void AddSharedUse(const char* path, int stood) {
    HKEY key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return;
    DWORD count = 0;
    if (!ReadCount(key, path, &count)) count = stood ? 1 : 0;
    if (count < 0x7FFFFFFF) ++count;
    WriteCount(key, path, count);
    RegCloseKey(key);
}

long ReleaseSharedUse(const char* path) {
    HKEY key;
    if (!OpenKeyFull(HKEY_LOCAL_MACHINE, kSharedDllsKey, &key)) return -1;
    DWORD count = 0;
    long left = -1;
    if (ReadCount(key, path, &count)) {
        if (count > 0x7FFFFFFF) count = 0x7FFFFFFF;
        if (count > 0) --count;
        WriteCount(key, path, count);
        left = static_cast<long>(count);
    }
    RegCloseKey(key);
    return left;
}

void ForgetSharedUse(const char* path) {
    HKEY key;
    if (!OpenKeyFull(HKEY_LOCAL_MACHINE, kSharedDllsKey, &key)) return;
    RegDeleteValueA(key, path);
    RegCloseKey(key);
}

long SharedUseCount(const char* path) {
    HKEY key;
    if (!OpenKeyFull(HKEY_LOCAL_MACHINE, kSharedDllsKey, &key)) return -1;
    DWORD count = 0;
    long result = ReadCount(key, path, &count) ? static_cast<long>(count & 0x7FFFFFFF) : -1;
    RegCloseKey(key);
    return result;
}

void SetSharedUseCount(const char* path, long count) {
    if (count < 0) {
        ForgetSharedUse(path);
        return;
    }
    HKEY key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return;
    WriteCount(key, path, static_cast<DWORD>(count));
    RegCloseKey(key);
}
