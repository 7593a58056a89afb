// Stand-in for the package's companion program QXMAIN.EXE: a small window titled
// "Quillotrax" that closes when asked (WM_CLOSE), so the setup program's close request
// can be seen working. Each start is noted in C:\QXMAIN.LOG with its command line.
#include <windows.h>

static LRESULT CALLBACK CompanionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        const char text[] = "Qorva mouse companion (sample stand-in)";
        TextOutA(dc, 10, 10, text, lstrlenA(text));
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

static void NoteStart(const char* commandLine) {
    HANDLE log = CreateFileA("C:\\QXMAIN.LOG", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    char line[512];
    int n = wsprintfA(line, "started: %.400s\r\n", commandLine);
    DWORD written = 0;
    WriteFile(log, line, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(log);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    NoteStart(GetCommandLineA());
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CompanionProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "QorvaCompanion";
    RegisterClassA(&wc);
    CreateWindowExA(0, "QorvaCompanion", "Quillotrax", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                    360, 120, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
