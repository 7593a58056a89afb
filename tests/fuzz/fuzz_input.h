// What the fuzz targets share: an input cut into texts, buffers of an exact width (so that
// AddressSanitizer sees one byte too far), and a check that stops the run with its reason.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Stops the fuzzer with the failed condition; libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(cond)                                                                  \
    do {                                                                                  \
        if (!(cond)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

// The input's bytes as `count` texts separated by line feeds; the last takes the rest, missing
// ones are empty. A zero byte inside a part ends that part's C text early, as it would in a file.
inline std::vector<std::string> SplitParts(const uint8_t* data, size_t size, size_t count) {
    std::vector<std::string> parts(count);
    size_t k = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n' && k + 1 < count) {
            ++k;
            continue;
        }
        parts[k].push_back(static_cast<char>(data[i]));
    }
    for (std::string& p : parts) p = p.c_str();  // up to the first zero byte
    return parts;
}

// A heap buffer of exactly `width` bytes, filled with a byte that is never a terminator.
inline std::vector<char> Buffer(int width) { return std::vector<char>(width > 0 ? width : 0, '#'); }

// 1 when buffer holds a terminating zero within its width.
inline bool Terminated(const std::vector<char>& buffer) {
    for (char c : buffer)
        if (c == 0) return true;
    return false;
}

// The text cut to at most width - 1 characters, as a fixed-width field of the model holds it.
inline std::string Fit(const std::string& s, int width) {
    return s.size() < static_cast<size_t>(width) ? s : s.substr(0, width - 1);
}
