// The copying page in process, for the install engine's Windows-side tests and the
// benchmarks: the page made from its dialog template, its test files, message boxes
// answered from a second thread.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/pixels.h"
#include "support/vm_host.h"

// The contents of tests\fixtures\install\<name> in the source tree; "" when unreadable.
std::string InstallFixture(const std::string& name);

// The copying page as the program makes it (CreatePage with SETUP_INSTALL, InstallPageProc
// and template IDD_INSTALL of the executable, which must link resources/setup.rc), shown
// and centred on the screen, owned by BackgroundWindow (none in a test). Sets AppInstance
// and the screen size the page code reads. Null when the executable has no such template.
HWND CreateInstallPage();

// Answers every message box of this process with answer (OK unless told; IDIGNORE for the
// copying page's Abort, Retry, Ignore) while it lives, and records the box's text and the
// owner it had.
class MessageBoxAnswerer {
  public:
    explicit MessageBoxAnswerer(int answer = IDOK);
    ~MessageBoxAnswerer();
    std::vector<std::string> Texts();
    std::vector<HWND> Owners();

  private:
    void Run();
    int answer_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    CRITICAL_SECTION lock_;
    std::vector<std::string> texts_;
    std::vector<HWND> owners_;
};
