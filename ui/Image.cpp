#include "ui/Image.h"

#include "ui/Dpi.h"

namespace ui {

namespace {
const char kImageClass[] = "TarvoxImage";
}

void Image::Create(HWND parent, const ImageDesign& design) {
    WNDCLASSA windowClass{};
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (!::GetClassInfoA(instance, kImageClass, &windowClass)) {
        windowClass.lpfnWndProc = &Image::ImageProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.lpszClassName = kImageClass;
        ::RegisterClassA(&windowClass);
    }
    autoSize_ = design.autoSize;
    left_ = design.left;
    top_ = design.top;
    Attach(CreateChild(kImageClass, "", WS_VISIBLE, 0, parent, design.left, design.top,
                       design.width, design.height));
}

std::string Image::LoadJpeg(std::span<const std::uint8_t> data) {
    util::JpegResult decoded = util::DecodeJpeg(data);
    picture_ = std::move(decoded.picture);
    if (autoSize_ && picture_.width > 0) {
        SetBounds(left_, top_, picture_.width, picture_.height);
    }
    ::InvalidateRect(handle_, nullptr, TRUE);
    return decoded.error;
}

void Image::Paint(HDC dc) {
    RECT frame;
    ::GetClientRect(handle_, &frame);
    // The parent gives the brush of its face, as it does for its labels.
    HWND parent = ::GetParent(handle_);
    auto face = reinterpret_cast<HBRUSH>(::SendMessageA(parent, WM_CTLCOLORSTATIC,
                                                        reinterpret_cast<WPARAM>(dc),
                                                        reinterpret_cast<LPARAM>(handle_)));
    ::FillRect(dc, &frame, face != nullptr ? face : ::GetSysColorBrush(COLOR_BTNFACE));
    if (picture_.width == 0) {
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture_.width;
    info.bmiHeader.biHeight = -picture_.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // A picture's pixels are design pixels: at another scale it is resampled smoothly.
    const int dpi = DpiOf(handle_);
    const int previousMode = ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchDIBits(dc, 0, 0, Scale(picture_.width, dpi), Scale(picture_.height, dpi), 0, 0,
                    picture_.width, picture_.height, picture_.pixels.data(), &info, DIB_RGB_COLORS,
                    SRCCOPY);
    ::SetStretchBltMode(dc, previousMode);
}

LRESULT CALLBACK Image::ImageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* image = dynamic_cast<Image*>(Control::OfWindow(window));
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted whole with the picture
    case WM_PAINT:
        if (image != nullptr) {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            image->Paint(dc);
            ::EndPaint(window, &paint);
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (image != nullptr) {
            image->Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        break;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

} // namespace ui
