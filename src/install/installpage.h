// The install page SETUP_INSTALL: copies every listed file with status, percentage and
// gauge, lets the user cancel between files, then registers the product.
#pragma once
#include <windows.h>

LRESULT CALLBACK InstallPageProc(HWND, UINT, WPARAM, LPARAM);
