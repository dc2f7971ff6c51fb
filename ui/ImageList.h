#pragma once
// An image list of tool bar images, loaded from a resource of raw 32-bit pixels.

#include <string>
#include <windows.h>

#include <commctrl.h>

namespace ui {

class ImageList {
public:
    ImageList() = default;
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    // Loads count images of width by height pixels from the RCDATA resource: rows of
    // blue, green, red and alpha bytes, top row first, the images side by side. False
    // when the resource is missing or has another size.
    bool LoadFromResource(const char* resourceName, int width, int height, int count);

    HIMAGELIST Handle() const { return handle_; }
    int Count() const;

private:
    HIMAGELIST handle_ = nullptr;
};

} // namespace ui
