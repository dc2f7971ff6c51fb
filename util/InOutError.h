#pragma once
// The framework's input/output error: a system error code turned into its short text.

#include <stdexcept>
#include <string>

namespace util {

// "File not found" for 2, "Invalid filename" for 3, "Access denied" for 5 and the
// like; "I/O error <code>" for codes without a text of their own.
std::string InOutErrorText(int code);

class InOutError : public std::runtime_error {
public:
    explicit InOutError(int code) : std::runtime_error(InOutErrorText(code)), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

// Writing a whole file failed: "Cannot create file <name>".
class FileCreateError : public std::runtime_error {
public:
    explicit FileCreateError(const std::string& fileName)
        : std::runtime_error("Cannot create file " + fileName) {}
};

} // namespace util
