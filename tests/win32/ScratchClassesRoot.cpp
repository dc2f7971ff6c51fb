#include "tests/win32/ScratchClassesRoot.h"

#include <atomic>
#include <stdexcept>
#include <vector>

ScratchClassesRoot::ScratchClassesRoot() {
    static std::atomic<int> counter{0};
    path_ = "Software\\TarvoxTests\\" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(counter++);
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &root_, nullptr) != ERROR_SUCCESS ||
        ::RegOverridePredefKey(HKEY_CLASSES_ROOT, root_) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot make a scratch HKEY_CLASSES_ROOT");
    }
}

ScratchClassesRoot::~ScratchClassesRoot() {
    ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    if (volatile_ != nullptr) {
        ::RegCloseKey(volatile_);
    }
    ::RegCloseKey(root_);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
}

void ScratchClassesRoot::SetDefault(const std::string& key, const std::string& value) {
    ::RegSetKeyValueA(root_, key.c_str(), nullptr, REG_SZ, value.c_str(),
                      static_cast<DWORD>(value.size() + 1));
}

void ScratchClassesRoot::SetDefaultDword(const std::string& key, DWORD value) {
    ::RegSetKeyValueA(root_, key.c_str(), nullptr, REG_DWORD, &value, sizeof value);
}

std::optional<std::string> ScratchClassesRoot::Default(const std::string& key) const {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (::RegGetValueA(root_, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(data);
}

bool ScratchClassesRoot::KeyExists(const std::string& key) const {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root_, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(opened);
    return true;
}

void ScratchClassesRoot::Clear() {
    ::RegDeleteTreeA(root_, nullptr);
    ::RegOverridePredefKey(HKEY_CLASSES_ROOT, root_);
}

void ScratchClassesRoot::MakeUnwritable() {
    // A lasting key cannot be created below a volatile one.
    ::RegCreateKeyExA(root_, "volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &volatile_, nullptr);
    ::RegOverridePredefKey(HKEY_CLASSES_ROOT, volatile_);
}

bool OverrideClassesRoot(const std::string& currentUserPath) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, currentUserPath.c_str(), 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    return ::RegOverridePredefKey(HKEY_CLASSES_ROOT, key) == ERROR_SUCCESS;
}
