#include <windows.h>

#include "presentation/background.h"

HWND BackgroundWindow;
int32_t DissolvePending = 1;

// Not built yet: pages stand alone.
int CreateBackgroundWindow() { return 1; }
LRESULT CALLBACK BackgroundWndProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }
