#include "install/installrun.h"

#include "install/systemini.h"
#include "registry/product.h"

int RunInstallation(const CopyCaller* caller) {
    MakeSubDirectories();
    if (!CopyAndRegister(caller)) return 0;
    if (Shared::DriverSwitched) PatchSystemIni();  // a driver not switched leaves system.ini too
    return 1;
}
