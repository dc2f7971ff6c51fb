#include "ui/ImageList.h"

#include <cstdlib>
#include <cstring>

#include "ui/Dpi.h"
#include "ui/Resource.h"

namespace ui {

namespace {

// The sizes the icon theme draws its pictures at.
constexpr int kDrawnSizes[] = {16, 22, 24, 32, 48};

HIMAGELIST Load(const std::string& resourceName, int size, int count) {
    const std::size_t stripWidth = static_cast<std::size_t>(size) * static_cast<std::size_t>(count);
    const std::size_t bytes = stripWidth * static_cast<std::size_t>(size) * 4;
    const std::span<const std::uint8_t> data = ResourceData(resourceName.c_str());
    if (data.size() != bytes || bytes == 0) {
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(stripWidth);
    info.bmiHeader.biHeight = -size; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP strip = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (strip == nullptr) {
        return nullptr;
    }
    // Alpha blending wants each colour already weighted by its pixel's alpha.
    auto* out = static_cast<unsigned char*>(bits);
    std::memcpy(out, data.data(), bytes);
    for (std::size_t i = 0; i < bytes; i += 4) {
        const unsigned alpha = out[i + 3];
        for (std::size_t c = 0; c < 3; ++c) {
            out[i + c] = static_cast<unsigned char>(out[i + c] * alpha / 255);
        }
    }
    HIMAGELIST list = ::ImageList_Create(size, size, ILC_COLOR32, count, 0);
    if (list != nullptr && ::ImageList_Add(list, strip, nullptr) < 0) {
        ::ImageList_Destroy(list);
        list = nullptr;
    }
    ::DeleteObject(strip);
    return list;
}

} // namespace

ImageList::~ImageList() {
    Clear();
}

void ImageList::Clear() {
    for (const auto& [size, handle] : handles_) {
        if (handle != nullptr) {
            ::ImageList_Destroy(handle);
        }
    }
    handles_.clear();
}

int ImageList::Count() const {
    HIMAGELIST handle = Handle();
    return handle != nullptr ? ::ImageList_GetImageCount(handle) : 0;
}

bool ImageList::LoadFromResource(const char* resourceName, int width, int height, int count) {
    Clear();
    if (width != height) {
        return false;
    }
    const int size = width;
    resourceName_ = resourceName;
    size_ = size;
    count_ = count;
    HIMAGELIST handle = Load(resourceName_, size, count);
    handles_[size] = handle;
    return handle != nullptr;
}

HIMAGELIST ImageList::HandleFor(int dpi) const {
    if (size_ == 0) {
        return nullptr;
    }
    const int wanted = Scale(size_, dpi);
    int best = size_;
    for (int size : kDrawnSizes) {
        if (std::abs(size - wanted) < std::abs(best - wanted) &&
            !ResourceData((resourceName_ + std::to_string(size)).c_str()).empty()) {
            best = size;
        }
    }
    auto found = handles_.find(best);
    if (found == handles_.end()) {
        const std::string name =
            best == size_ ? resourceName_ : resourceName_ + std::to_string(best);
        found = handles_.emplace(best, Load(name, best, count_)).first;
    }
    return found->second != nullptr ? found->second : handles_[size_];
}

} // namespace ui
