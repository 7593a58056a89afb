// The loader's path rules: InstallDir from DefaultPath is always terminated within its
// width, whole or empty, and is the drive form or the programs-directory form of the value;
// cutting a module path leaves a prefix of it.
#include <string>

#include "fuzz_input.h"
#include "script/model.h"
#include "script/paths.h"

static void CheckCut(const std::string& path) {
    std::vector<char> p(path.begin(), path.end());
    p.push_back(0);
    CutAtLastBackslash(p.data());
    std::string cut = p.data();
    FUZZ_CHECK(path.compare(0, cut.size(), cut) == 0);
    if (cut.size() < path.size()) {
        FUZZ_CHECK(cut.size() >= 1 && path[cut.size()] == '\\');
        FUZZ_CHECK(path.find('\\', cut.size() + 1) == std::string::npos);
    } else {
        FUZZ_CHECK(path.size() < 2 || path.find('\\', 1) == std::string::npos);
    }
}

// Input: DefaultPath, the Windows directory and the programs directory, separated by line
// feeds; the two directories are cut to the 80-character buffers the loader keeps them in.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> p = SplitParts(data, size, 3);
    const std::string& v = p[0];
    std::string windows = Fit(p[1], kDirWidth), programs = Fit(p[2], kDirWidth);

    std::vector<char> installDir = Buffer(kDirWidth);
    int ok = ComposeInstallDir(installDir.data(), v.c_str(), windows.c_str(), programs.c_str());
    FUZZ_CHECK(Terminated(installDir));
    std::string got = installDir.data();
    if (!ok) {
        FUZZ_CHECK(got.empty());
    } else if (v.size() > 2 && v[1] == ':') {
        // The value's path on the Windows drive.
        FUZZ_CHECK(got == windows.substr(0, 1) + v.substr(1) || (windows.empty() && got.empty()));
    } else {
        FUZZ_CHECK(got == programs + (v.compare(0, 1, "\\") == 0 ? "" : "\\") + v);
    }
    CheckCut(p[0]);
    return 0;
}
