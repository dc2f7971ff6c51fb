#include "ui/ImageList.h"

#include <cstring>

#include "ui/Resource.h"

namespace ui {

ImageList::~ImageList() {
    if (handle_ != nullptr) {
        ::ImageList_Destroy(handle_);
    }
}

int ImageList::Count() const {
    return handle_ != nullptr ? ::ImageList_GetImageCount(handle_) : 0;
}

bool ImageList::LoadFromResource(const char* resourceName, int width, int height, int count) {
    const std::size_t stripWidth =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(count);
    const std::size_t bytes = stripWidth * static_cast<std::size_t>(height) * 4;
    const std::span<const std::uint8_t> data = ResourceData(resourceName);
    if (data.size() != bytes) {
        return false;
    }
    const std::uint8_t* pixels = data.data();

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(stripWidth);
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP strip = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (strip == nullptr) {
        return false;
    }
    // Alpha blending wants each colour already weighted by its pixel's alpha.
    auto* out = static_cast<unsigned char*>(bits);
    std::memcpy(out, pixels, bytes);
    for (std::size_t i = 0; i < bytes; i += 4) {
        const unsigned alpha = out[i + 3];
        for (std::size_t c = 0; c < 3; ++c) {
            out[i + c] = static_cast<unsigned char>(out[i + c] * alpha / 255);
        }
    }
    if (handle_ != nullptr) {
        ::ImageList_Destroy(handle_);
    }
    handle_ = ::ImageList_Create(width, height, ILC_COLOR32, count, 0);
    const bool added = handle_ != nullptr && ::ImageList_Add(handle_, strip, nullptr) >= 0;
    ::DeleteObject(strip);
    return added;
}

} // namespace ui
