// entrycost [COUNT]: what the install page's per-entry screen work costs on this machine,
// without any copying: setting the status text, painting it at once, and the two looks at
// the message queue, each timed over COUNT entries (2,000 unless given) on the page made
// from its template. Prints milliseconds per entry.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "benchpkg.h"

using namespace bench;

namespace {

void Measure(const char* what, int count, const std::function<void(int)>& step) {
    double start = Now();
    for (int i = 0; i < count; ++i) step(i);
    std::printf("  %-52s %.3f ms per entry\n", what, (Now() - start) * 1000 / count);
}

}  // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    if (count <= 0) count = 2000;
    Shared::AppInstance = GetModuleHandleA(nullptr);
    HWND page = CreateInstallPage();
    HWND status = GetDlgItem(page, IDC_STATUS);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    char text[128];
    auto setText = [&](int i) {
        wsprintfA(text, "Copying F%04d.DAT\n\nBenchmark file", i);
        SetWindowTextA(status, text);
    };
    auto peek = [&] { PeekMessageA(&m, page, 0, 0, PM_REMOVE); };
    std::printf("per-entry screen work, %d entries:\n", count);
    Measure("SetWindowTextA", count, setText);
    Measure("SetWindowTextA + UpdateWindow", count, [&](int i) {
        setText(i);
        UpdateWindow(status);
    });
    Measure("two PeekMessageA on an empty queue", count, [&](int) {
        peek();
        peek();
    });
    Measure("SetWindowTextA + UpdateWindow + two PeekMessageA", count, [&](int i) {
        setText(i);
        UpdateWindow(status);
        peek();
        peek();
    });
    DestroyWindow(page);
    return 0;
}
