#include <windows.h>

#include "runtime/fileexists.h"

int DirectoryExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int FileExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

long FileBytes(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD size = GetFileSize(file, nullptr);
    CloseHandle(file);
    return size == INVALID_FILE_SIZE || size > 0x7FFFFFFFu ? -1 : static_cast<long>(size);
}

char* ReadWholeFile(const char* path, unsigned long limit, unsigned long spare, long* size) {
    *size = 0;
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    DWORD length = GetFileSize(h, nullptr);
    char* block = nullptr;
    if (length != INVALID_FILE_SIZE && length <= limit && length < 0x10000000u)
        block = static_cast<char*>(static_cast<void*>(GlobalAlloc(GMEM_FIXED, length + spare)));
    DWORD got = 0;
    if (block != nullptr && (!ReadFile(h, block, length, &got, nullptr) || got != length)) {
        GlobalFree(block);
        block = nullptr;
    }
    CloseHandle(h);
    if (block != nullptr) *size = static_cast<long>(length);
    return block;
}
