#pragma once
// An image list of tool bar images, loaded from a resource of raw 32-bit pixels. The
// program may carry the same images at other sizes, for other scales, in resources
// named for their size ("ICONOS" at its design size, "ICONOS24" at 24 pixels).

#include <map>
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

    // Loads count square images of width by height pixels from the RCDATA resource: rows
    // of blue, green, red and alpha bytes, top row first, the images side by side. False
    // when the resource is missing or has another size.
    bool LoadFromResource(const char* resourceName, int width, int height, int count);

    // The images at the design size.
    HIMAGELIST Handle() const { return HandleFor(96); }
    // The images at the size the program carries nearest to the design size at the scale;
    // the design size when it carries no other.
    HIMAGELIST HandleFor(int dpi) const;
    int Count() const;

private:
    void Clear();

    std::string resourceName_;
    int size_ = 0;
    int count_ = 0;
    // By pixel size; loaded when first asked for.
    mutable std::map<int, HIMAGELIST> handles_;
};

} // namespace ui
