#include <windows.h>

#include "install/installpage.h"

// Not built yet.
LRESULT CALLBACK InstallPageProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }
