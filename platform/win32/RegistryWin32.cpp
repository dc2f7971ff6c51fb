#include "platform/Registry.h"

#include <vector>
#include <windows.h>

namespace platform {

namespace {

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
}

HKEY CreateOrOpen(HKEY parent, const std::string& path) {
    HKEY key = nullptr;
    if (parent == nullptr ||
        ::RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

} // namespace

RegistryKey::RegistryKey(RegistryRoot root, const std::string& path)
    : key_(CreateOrOpen(RootKey(root), path)) {}

RegistryKey::~RegistryKey() {
    if (key_ != nullptr) {
        ::RegCloseKey(static_cast<HKEY>(key_));
    }
}

void RegistryKey::OpenSubKey(const std::string& path) {
    HKEY sub = CreateOrOpen(static_cast<HKEY>(key_), path);
    if (key_ != nullptr) {
        ::RegCloseKey(static_cast<HKEY>(key_));
    }
    key_ = sub;
}

std::string RegistryKey::ReadString(const std::string& name) const {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (key_ == nullptr ||
        ::RegQueryValueExA(static_cast<HKEY>(key_), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        size == 0) {
        return {};
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw RegistryError("Invalid data type for '" + name + "'");
    }
    std::vector<char> data(size + 1, '\0');
    DWORD read = size;
    if (::RegQueryValueExA(static_cast<HKEY>(key_), name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &read) != ERROR_SUCCESS) {
        return {};
    }
    // The stored text ends at its first NUL, whether or not the data holds one.
    return std::string(data.data());
}

void RegistryKey::WriteString(const std::string& name, const std::string& value) {
    if (key_ == nullptr ||
        ::RegSetValueExA(static_cast<HKEY>(key_), name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS) {
        throw RegistryError("Failed to set data for '" + name + "'");
    }
}

} // namespace platform
