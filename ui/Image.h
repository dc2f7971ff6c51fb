#pragma once
// A picture in a frame, drawn at the window's scale from the frame's top left; what the
// picture does not cover shows the parent's face. A frame sized to its image takes the
// picture's size.

#include <cstdint>
#include <span>
#include <string>

#include "ui/Control.h"
#include "util/Jpeg.h"

namespace ui {

struct ImageDesign {
    int left = 0, top = 0, width = 0, height = 0;
    bool autoSize = false;
};

class Image : public Control {
public:
    void Create(HWND parent, const ImageDesign& design);

    // Decodes JPEG data into the frame. Data that does not decode leaves the frame empty
    // and gives libjpeg's message.
    std::string LoadJpeg(std::span<const std::uint8_t> data);
    const util::Picture& Picture() const { return picture_; }

private:
    static LRESULT CALLBACK ImageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc);

    util::Picture picture_;
    bool autoSize_ = false;
    int left_ = 0, top_ = 0; // design pixels
};

} // namespace ui
