#pragma once
// Errors that leave an operation and reach the window that started it, where the
// application's error box shows their text. Texts are Windows-1252 bytes.

#include <stdexcept>
#include <string>

namespace util {

// A file could not be opened: "Cannot open file <name>".
class FileOpenError : public std::runtime_error {
public:
    explicit FileOpenError(const std::string& fileName)
        : std::runtime_error("Cannot open file " + fileName) {}
};

// Reading a stream failed; the text says where ("Error 3 reading Zip file").
class StreamReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace util
