// Stand-in for the package's uninstaller UNINSTAL.EXE: says what a real one would do.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr,
                "This is the uninstaller of the Qorva sample package, a stand-in.\n"
                "A real one removes the installed files and restores the registry values\n"
                "kept in the [PS2] and [Serial] sections of SETUP.INF.",
                "Qorva Mouse Uninstall", MB_ICONINFORMATION);
    return 0;
}
