// The class-number parser and the free-number scan over subkey names as the registry might
// list them: any name reads as a 16-bit number, the proposed number is never negative, and
// its name fits the given width or is left empty, and reads back as the number.
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "registry/classnumber.h"

// Input: a width byte, then subkey names separated by line feeds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    int width = static_cast<int8_t>(data[0]);
    std::vector<std::string> names = SplitParts(data + 1, size - 1, 64);

    ClassScan scan;
    ClassScanStart(&scan);
    for (const std::string& name : names) {
        int16_t number = ClassKeyNumber(name.c_str());
        // Four digits as the registry names them read back as themselves.
        if (name.size() == 4 && name.find_first_not_of("0123456789") == std::string::npos)
            FUZZ_CHECK(number == std::atoi(name.c_str()));
        int16_t previous = scan.Previous;
        if (!ClassScanTake(&scan, name.c_str())) {
            FUZZ_CHECK(number > previous + 1 && scan.Previous == previous);  // a gap: stop
            break;
        }
        FUZZ_CHECK(scan.Previous == number);
    }
    int32_t candidate = ClassScanCandidate(&scan);
    FUZZ_CHECK(candidate >= 0 && candidate <= 32768);

    std::vector<char> out = Buffer(width);
    int ok = FormatClassName(out.data(), width, candidate);
    if (width <= 0) {
        FUZZ_CHECK(ok == 0);
        return 0;
    }
    FUZZ_CHECK(Terminated(out));
    std::string name = out.data();
    if (!ok) {
        FUZZ_CHECK(name.empty());
        return 0;
    }
    FUZZ_CHECK(name.compare(0, 6, "Mouse\\") == 0);
    std::string digits = name.substr(6);
    FUZZ_CHECK(digits.size() >= 4 && digits.find_first_not_of("0123456789") == std::string::npos);
    FUZZ_CHECK(std::atol(digits.c_str()) == candidate);
    if (candidate <= 32767) FUZZ_CHECK(ClassKeyNumber(digits.c_str()) == candidate);
    return 0;
}
