// What the file system holds at a path, asked through its attributes.
#pragma once

// 1 when path names an existing directory.
int DirectoryExists(const char* path);

// 1 when path names an existing file that is not a directory.
int FileExists(const char* path);

// The size in bytes of an existing file that can be opened for reading, else -1. Files
// larger than 2 GB are not provided for.
long FileBytes(const char* path);

// The whole contents of the file at path in a block from GlobalAlloc with spare bytes more
// (room for the caller's terminators), its size in *size; null when the file cannot be read
// whole or holds more than limit bytes. The caller gives the block back with GlobalFree.
char* ReadWholeFile(const char* path, unsigned long limit, unsigned long spare, long* size);
