#include "uninstall/mouseline.h"

#include "runtime/text.h"

const char kSetupMouseLine[] = "mouse=*vmouse";
const char kDefaultMouseLine[] = "mouse=*vmouse, msmouse.vxd\n";

int RestoredMouseLine(char* out, int width, const char* backupLine) {
    int n = TextLength(backupLine);
    int ends = n > 0 && backupLine[n - 1] == '\n';
    int setups = n == TextLength(kSetupMouseLine) + ends;
    for (int i = 0; setups && kSetupMouseLine[i] != 0; ++i)
        setups = backupLine[i] == kSetupMouseLine[i];
    if (!setups) return TextJoin(out, width, backupLine, ends ? "" : "\n");
    if (TextCopy(out, width, kDefaultMouseLine)) return 1;
    out[0] = 0;
    return 0;
}
