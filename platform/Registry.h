#pragma once
// Registry keys as the program uses them: opened for all access and created when
// missing, with the framework's errors. Windows only.

#include <stdexcept>
#include <string>

namespace platform {

// "Failed to set data for '<name>'", "Invalid data type for '<name>'".
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class RegistryRoot { ClassesRoot, CurrentUser };

class RegistryKey {
public:
    // Opens root\path, creating it when missing. A key that can be neither opened nor
    // created leaves the object without a key: reads give "", writes fail.
    RegistryKey(RegistryRoot root, const std::string& path);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool IsOpen() const { return key_ != nullptr; }

    // Opens a subkey of this key instead of it, creating it when missing.
    void OpenSubKey(const std::string& path);

    // The named string value ("" names the default value). A missing value, or one
    // without data, reads as "". Raises RegistryError when it holds another type.
    std::string ReadString(const std::string& name) const;
    // Raises RegistryError when the value cannot be written.
    void WriteString(const std::string& name, const std::string& value);

private:
    void* key_ = nullptr;
};

} // namespace platform
