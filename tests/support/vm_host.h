// The Linux side of the virtual machine, seen from a Windows-side test: its environment,
// Linux paths, shell commands run on the Linux side, and screenshots (ImageMagick import) of
// the machine's display. Real X input goes through these commands too (ui.h: TypeKeys,
// MouseClickItem).
//
// Wine starts a Unix program given to CreateProcessA by its Linux path, but hands back no
// process handle; RunHostCommand therefore has /bin/sh write the exit status to a file and
// waits for that file, pumping this thread's messages meanwhile.
#pragma once
#include <windows.h>

#include <string>

// The environment variable's value, or an empty string when it is unset.
std::string EnvText(const char* name);

// "Z:\a\b" for the Linux path "/a/b" (Wine's Z: drive is the Linux root).
std::string LinuxPathToWindows(const std::string& linuxPath);

// A command line argument that CommandLineToArgv-style splitting gives back unchanged.
std::string QuoteArgument(const std::string& text);

// A program started by StartCommand or StartProgram (ui.h).
struct RunningProgram {
    HANDLE process = nullptr;
    DWORD id = 0;
    bool started = false;  // also for a Unix program, which Wine starts without a handle
};

// The one way the tests and tools start a program: commandLine names it by its first word
// (quoted when it holds blanks); it runs in directory (empty: this process's), with its
// standard output and error going to output when one is given (an inheritable handle).
// On failure started is false. Without a display the program's environment lacks DISPLAY:
// Wine then finds no X server for it.
RunningProgram StartCommand(const std::string& commandLine, const std::string& directory = "",
                            HANDLE output = nullptr, bool withoutDisplay = false);

// Runs shellCommand with /bin/sh on the Linux side (DISPLAY is the machine's display) and
// returns its exit status; -1 if it could not start or did not finish within timeoutMs.
int RunHostCommand(const std::string& shellCommand, DWORD timeoutMs = 20000);

// Takes every message of the thread out of the queue and dispatches it; returns whether
// a WM_QUIT was among them.
bool DrainQueue();

// Quotes text for the POSIX shell: 'text' with embedded quotes escaped.
std::string ShellQuote(const std::string& text);

// Saves the screen (ImageMagick's import) to a Linux path, its format by the name's ending
// (.png, .ppm): the whole screen, or only the given area in screen coordinates.
bool SaveScreenshot(const std::string& linuxPath, const RECT* area = nullptr);

// A bound of a wait, in milliseconds, on this machine: timeoutMs times VM_TIME_SCALE (an
// integer from 1 to 20, default 1). The 32-bit machine runs every program through an
// emulator and sets a larger scale; a wait is a bound, never an expected duration.
DWORD MachineTime(DWORD timeoutMs);

// A Linux path for scratch files of this test run (in the machine's directory under vmrun).
std::string HostScratchDir();

// A small drive: a tmpfs of the given size in kilobytes, linked as drive E: of the machine
// (mounting needs root). Returns whether it is there. UnmountSmallDrive takes it away again.
bool MountSmallDrive(int kilobytes);
void UnmountSmallDrive();

// Fills drive E: with the file E:\FILLER until leaveBytes are free (0: to its last byte).
void FillSmallDrive(ULONGLONG leaveBytes = 0);

// Makes the Linux directory read-only where it is, as a write-protected medium (a bind mount,
// which needs root). Returns whether it is. Unmount makes it writable again.
bool MountReadOnly(const std::string& linuxDir);
void Unmount(const std::string& linuxDir);
