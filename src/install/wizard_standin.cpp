// Stands in for the page runner until it is built: the page result and a CenterPage that
// only shows the page. Removed when the wizard's own definitions arrive.
#include <windows.h>

#include "wizard/pages.h"

int16_t PageResult;

void CenterPage(HWND page, int) { ShowWindow(page, SW_SHOW); }
