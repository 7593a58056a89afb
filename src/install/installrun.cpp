#include "install/installrun.h"

#include "install/systemini.h"

int RunInstallation(const CopyCaller* caller) {
    MakeSubDirectories();
    if (!CopyAndRegister(caller)) return 0;
    PatchSystemIni();
    return 1;
}
