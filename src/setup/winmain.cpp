#include <windows.h>

#include "resource.h"
#include "script/loader.h"
#include "script/model.h"
#include "script/notice.h"
#include "setup/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int) {
    ProductName[0] = 0;
    AppInstance = instance;
    ScreenWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));
    ScreenHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
    GetWindowsDirectoryA(WindowsDir, kDirWidth);
    if (!LoadSetupScript()) {
        ShowMessage(nullptr, IDS_READ_ERROR, MB_ICONEXCLAMATION);
        return 0;
    }
    return 0;
}
