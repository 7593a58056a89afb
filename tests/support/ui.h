// Driving the program's windows from a test: start SETUP.EXE, wait for its pages and
// message boxes, read control texts and states, click, and type real keys.
//
// Every wait takes a timeout in milliseconds and returns a null handle or false when it
// runs out, so a test fails with a message instead of hanging. Timeouts are scaled to the
// machine (MachineTime: longer on the emulated 32-bit machine). Reads go through
// SendMessageTimeout, which also works for windows of another process.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "support/vm_host.h"  // RunHostCommand, SaveScreenshot and the other Linux-side actions

// ---- programs ----

// Starts exePath with the given argument tail (the command line is "exePath" tail) in
// the directory of the executable. On failure process stays null. Without a display the
// program's environment lacks DISPLAY: Wine then finds no X server for it.
RunningProgram StartProgram(const std::string& exePath, const std::string& tail = "",
                            bool withoutDisplay = false);

// Runs exePath with tail and no display (an unattended run) to its end; its exit code, or
// STILL_ACTIVE when it did not start or end within timeoutMs.
DWORD RunWithoutDisplay(const std::string& exePath, const std::string& tail,
                        DWORD timeoutMs = 20000);

// Waits for the program to end; its exit code, or STILL_ACTIVE on timeout.
DWORD WaitProgramEnd(const RunningProgram& program, DWORD timeoutMs = 10000);

// Ends the program if it still runs and closes its handle.
void StopProgram(RunningProgram& program);

// ---- finding windows ----

// Calls until it returns true or the timeout passes, pumping this thread's messages.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// A visible top-level window of the given class (null: any) and title (null: any),
// optionally belonging to the given process.
HWND FindTopWindow(const char* className, const char* title, DWORD processId = 0);
HWND WaitForTopWindow(const char* className, const char* title, DWORD processId = 0,
                      DWORD timeoutMs = 5000);

// A wizard page by its class ("SETUP_BEGIN", ...), once it is initialised and waits for
// input.
HWND WaitForPage(const char* pageClass, DWORD timeoutMs = 5000);

// A message box (dialog class "#32770") owned by owner, or of the process when owner is
// null.
HWND WaitForMessageBox(HWND owner, DWORD processId = 0, DWORD timeoutMs = 5000);

// Waits until the window no longer exists.
bool WaitWindowGone(HWND window, DWORD timeoutMs = 5000);

// ---- reading ----

std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);
std::string ClassOf(HWND window);
// The text of a message box (its static text control).
std::string MessageBoxText(HWND box);
bool IsItemChecked(HWND dialog, int id);
bool IsItemEnabled(HWND dialog, int id);
bool IsItemVisible(HWND dialog, int id);
// The id of the dialog's control that has the keyboard focus (the dialog's thread may be
// another process's); 0 when the focus is elsewhere or nowhere.
int FocusedItemId(HWND dialog);
RECT WindowRect(HWND window);
// The control's rectangle in dialog units of its dialog (MapDialogRect backwards).
RECT ItemRectInDialogUnits(HWND dialog, int id);

// ---- acting ----

// Clicks a button as the user would, without waiting for what the click opens. False
// when the dialog has no such control.
bool ClickItem(HWND dialog, int id);

// Clicks a radio button and waits until it is checked; false when it did not take.
bool ChooseItem(HWND dialog, int id, DWORD timeoutMs = 3000);

// Brings the window to the front and gives it the keyboard.
void Activate(HWND window);

// Types keys as real X key events (xdotool names: "Return", "Escape", "Tab", "space",
// "alt+n") into the active window. Returns false when xdotool failed.
bool TypeKeys(HWND window, const std::string& keys);

// Clicks with the real mouse at the centre of the control.
bool MouseClickItem(HWND dialog, int id);

// When the environment names a directory in SETUP_SHOTS_DIR (a Linux path), saves a PNG
// of the window's area there as <name>.png, for the documentation. Otherwise nothing.
void SaveDocumentationShot(HWND window, const std::string& name);
