// File helpers for the Windows-side tests: the machine's Windows directories, scratch
// directories and files with known contents.
#pragma once
#include <windows.h>

#include <string>

// The machine's Windows and system directories, as the program under test gets them.
std::string WindowsPath();
std::string SystemPath();

// A new empty directory below C:\tests with a name of its own; returns its path.
std::string MakeScratchDir(const std::string& name);

// Writes bytes to path, replacing any file; with aged set, the file's times are moved a few
// seconds into the past so Wine's profile functions cache it instead of re-reading it.
void WriteFileBytes(const std::string& path, const std::string& bytes, bool aged = true);

// The whole contents of a file, or an empty string when it cannot be read.
std::string ReadFileBytes(const std::string& path);

bool FileExists(const std::string& path);

// Removes a directory tree (files and subdirectories).
void RemoveTree(const std::string& path);
