#pragma once
// Points HKEY_CLASSES_ROOT of this process at a scratch key under HKEY_CURRENT_USER
// while it lives, so that tests change no real file type.

#include <optional>
#include <string>
#include <windows.h>

class ScratchClassesRoot {
public:
    ScratchClassesRoot();
    ~ScratchClassesRoot();
    ScratchClassesRoot(const ScratchClassesRoot&) = delete;
    ScratchClassesRoot& operator=(const ScratchClassesRoot&) = delete;

    // The scratch key's path under HKEY_CURRENT_USER.
    const std::string& Path() const { return path_; }

    // The default value of a key below the scratch root.
    void SetDefault(const std::string& key, const std::string& value);
    void SetDefaultDword(const std::string& key, DWORD value);
    std::optional<std::string> Default(const std::string& key) const;
    bool KeyExists(const std::string& key) const;

    // Empties the scratch key, as a registry without any of the program's keys.
    void Clear();

    // Points HKEY_CLASSES_ROOT at an empty volatile key, under which the program's keys
    // can be neither opened nor created, as on a registry where it has no rights.
    void MakeUnwritable();

private:
    std::string path_;
    HKEY root_ = nullptr;
    HKEY volatile_ = nullptr;
};

// Points this process's HKEY_CLASSES_ROOT at a key under HKEY_CURRENT_USER.
bool OverrideClassesRoot(const std::string& currentUserPath);
