// The Win32 side of the text files: ReadFile and WriteFile behind the codec.
#include <windows.h>

#include "runtime/textfile.h"

static int FillFromFile(void* context, unsigned char* buffer, int capacity) {
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(context), buffer, static_cast<DWORD>(capacity), &got,
                  nullptr))
        return -1;
    return static_cast<int>(got);
}

static int WriteToFile(void* context, const unsigned char* data, int length) {
    DWORD put = 0;
    if (!WriteFile(static_cast<HANDLE>(context), data, static_cast<DWORD>(length), &put, nullptr))
        return 0;
    return put == static_cast<DWORD>(length);
}

int TextFileOpenRead(TextFile* f, const char* path) {
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    f->handle = h;
    f->writing = 0;
    if (h == INVALID_HANDLE_VALUE) return 0;
    TextReaderInit(&f->reader, FillFromFile, h);
    return 1;
}

int TextFileOpenWrite(TextFile* f, const char* path) {
    HANDLE h =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    f->handle = h;
    f->writing = 1;
    if (h == INVALID_HANDLE_VALUE) return 0;
    TextWriterInit(&f->writer, WriteToFile, h);
    return 1;
}

int TextFileClose(TextFile* f) {
    if (f->handle == INVALID_HANDLE_VALUE) return 0;
    int ok = f->writing ? TextWriterFlush(&f->writer) : !f->reader.failed;
    if (!CloseHandle(static_cast<HANDLE>(f->handle))) ok = 0;
    f->handle = INVALID_HANDLE_VALUE;
    return ok;
}

int TextFileReplace(const char* path, const char* newPath, const char* oldPath) {
    DeleteFileA(oldPath);
    // With an old name that cannot be deleted the name stays taken: path stays as it is.
    if (!MoveFileA(path, oldPath)) return 0;
    // Never leave the file missing.
    if (MoveFileA(newPath, path)) return 1;
    MoveFileA(oldPath, path);
    return 0;
}
