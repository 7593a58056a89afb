#include "script/paths.h"

#include "runtime/text.h"
#include "script/model.h"

void CutAtLastBackslash(char* path) {
    int last = TextLastBackslash(path);
    if (last >= 1) path[last] = 0;
}

int DefaultPathHasDrive(const char* v) { return TextLength(v) > 2 && v[1] == ':'; }

int ComposeInstallDir(char* installDir, const char* v, const char* windowsDir,
                      const char* programsDir) {
    if (DefaultPathHasDrive(v)) {
        if (!TextCopy(installDir, kDirWidth, v)) {
            installDir[0] = 0;
            return 0;
        }
        installDir[0] = windowsDir[0];
        return 1;
    }
    const char* separator = (v[0] == '\\') ? nullptr : "\\";
    return TextJoin(installDir, kDirWidth, programsDir, separator, v);
}
