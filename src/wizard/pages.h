// The page runner and the wizard pages. Every page is a dialog of its own class, run in a
// message loop of its own by RunPage until it closes itself.
#pragma once
#include <windows.h>
#include <stdint.h>

#define WM_SETUP_INIT (WM_USER + 100)      // sent once to a new page after its controls exist
#define WM_BROWSE_REFRESH (WM_USER + 101)  // the browser's refresh of its path field

namespace Shared {
extern int16_t PageResult;     // 0 cancel, 1 next or finish, 2 back; never reset between pages
extern int32_t BackAllowed;    // 1; 0 in the -u mode (Back of SETUP_SELMOUSE)
extern int32_t RestartChoice;  // 1; SETUP_END lowers it to 0 for "restart later"
}  // namespace Shared

// Creates the page from its template, owned by BackgroundWindow, sends WM_SETUP_INIT, runs
// its loop until it closes and returns PageResult. A page that cannot be created gives 0.
int16_t RunPage(const char* className, WNDPROC pageProc, int templateId);

// RunPage's first step: registers the page class (once) and creates the page from its
// template, owned by BackgroundWindow. Null when it cannot be created.
HWND CreatePage(const char* className, WNDPROC pageProc, int templateId);

// WM_CREATE step of every page: caption "ProductName Setup", size grown by one pixel,
// centred on ScreenWidth x ScreenHeight (or the screen asked anew), shown on top.
void CaptionAndCenterPage(HWND page, int askScreenAnew);

// Formats the text of a control (which holds one "%s") with ProductName.
void FillPlaceholder(HWND page, int controlId);

// Closing protocol: the page sends itself WM_CLOSE; the default procedure destroys it and
// its WM_DESTROY handler posts the quit message that ends RunPage's loop.
void ClosePage(HWND page);

// What every page, the copying page included, leaves to the default procedure: placement
// at creation (CaptionAndCenterPage), the end of RunPage's loop when the page is destroyed, and the
// part of the dialog manager's work that a page without a dialog procedure lacks (Tab,
// Shift+Tab and the arrow keys move the focus; a page that gets the focus hands it to its
// control). A page has no close box, so the close command (Alt+F4) is ignored: only the
// page's buttons end it.
LRESULT PageDefaultProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The default procedure of the wizard pages before copying: their shared buttons, then
// PageDefaultProc. Next ends the page with PageResult 1, Back with 2; Cancel (or Esc) sets
// 0, shows the cancel notice and closes the page. A page handles first what is its own.
LRESULT WizardPageDefaultProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The focus handling of PageDefaultProc. Returns 1 when it took the message.
int PageFocusMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Gives control (of page) the keyboard focus. A push button with the focus is the default
// button; when another control has it, control 1 is.
void FocusPageControl(HWND page, HWND control);

LRESULT CALLBACK BeginPageProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK SelMousePageProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK SelDirPageProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EndPageProc(HWND, UINT, WPARAM, LPARAM);
// The copying page: the whole installation runs in its WM_SETUP_INIT; then it closes itself.
LRESULT CALLBACK InstallPageProc(HWND, UINT, WPARAM, LPARAM);
