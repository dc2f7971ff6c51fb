#include "ui/Resource.h"

#include <windows.h>

namespace ui {

std::span<const std::uint8_t> ResourceData(const char* name) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(instance, name, MAKEINTRESOURCEA(10)); // RT_RCDATA
    HGLOBAL loaded = found != nullptr ? ::LoadResource(instance, found) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return {};
    }
    return {static_cast<const std::uint8_t*>(data), ::SizeofResource(instance, found)};
}

} // namespace ui
