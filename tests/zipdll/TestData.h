#pragma once
// File contents for tests: text that deflate shrinks, and noise that it cannot.

#include <cstdint>
#include <string>

namespace enginetest {

inline std::string CompressibleText(std::size_t size) {
    std::string s;
    for (int i = 0; s.size() < size; ++i) {
        s += "line " + std::to_string(i) + " of a compressible text\n";
    }
    s.resize(size);
    return s;
}

// The same bytes every run.
inline std::string Noise(std::size_t size) {
    std::string s(size, '\0');
    std::uint32_t x = 12345;
    for (char& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    return s;
}

} // namespace enginetest
