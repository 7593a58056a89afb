#include "install/installrun.h"

#include "install/systemini.h"
#include "registry/product.h"

int RunInstallation(const CopyCaller* caller, InstallLog* log) {
    MakeSubDirectories(log);
    if (!CopyAndRegister(caller, log)) return 0;
    if (Shared::DriverSwitched) PatchSystemIni(log);  // a driver not switched leaves system.ini too
    return 1;
}
