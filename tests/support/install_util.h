// Helpers of the install engine's Windows-side tests: fixtures, a page to copy on, message
// boxes answered from a second thread.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

// Windows path of tests\fixtures\install in the source tree (through drive Z:).
std::string InstallFixtureDir();

// Linux path -> the same path through Wine's drive Z:.
std::string ZPath(const std::string& unixPath);

// Creates an install page with the given procedure (InstallPageProc): from dialog template 103 when the
// executable holds it, otherwise a window of the same class with the controls the engine
// uses (1, 1011, 1013, 1019) at the template's places. The page is shown.
HWND CreateInstallPage(WNDPROC proc);

// Takes every message of the thread out of the queue and dispatches it; returns whether
// a WM_QUIT was among them.
bool DrainQueue();

// Answers every message box of this process with OK while it lives, and records the box's
// text and the owner it had.
class MessageBoxAnswerer {
  public:
    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    std::vector<std::string> Texts();
    std::vector<HWND> Owners();

  private:
    void Run();
    std::atomic<bool> stop_{false};
    std::thread thread_;
    CRITICAL_SECTION lock_;
    std::vector<std::string> texts_;
    std::vector<HWND> owners_;
};

// Colour of a pixel of a window's client area, read through a window DC.
COLORREF ClientPixel(HWND w, int x, int y);
