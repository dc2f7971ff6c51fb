#include "ui/Form.h"

#include <algorithm>
#include <commctrl.h>

#include "platform/Modal.h"
#include "ui/Dpi.h"
#include "ui/Guard.h"
#include "ui/Menu.h"
#include "ui/Timer.h"

namespace ui {

namespace {

void RegisterFormClass(const char* className, WNDPROC procedure) {
    WNDCLASSA windowClass{};
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (::GetClassInfoA(instance, className, &windowClass)) {
        return;
    }
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hIcon = ::LoadIconA(instance, "MAINICON");
    windowClass.lpszClassName = className;
    ::RegisterClassA(&windowClass);
}

bool CanFocus(const Control& control) {
    return ::IsWindowVisible(control.Handle()) && ::IsWindowEnabled(control.Handle());
}

// Where a window of the size goes to be centred in the area.
POINT Centred(const RECT& area, int width, int height) {
    return {area.left + (area.right - area.left - width) / 2,
            area.top + (area.bottom - area.top - height) / 2};
}

// The work area of the monitor nearest to the point: the screen less the task bars.
RECT WorkAreaAt(POINT point) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) {
        return info.rcWork;
    }
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// The size of the whole window when its layout is at one scale and its frame at the
// monitor's.
SIZE WindowSize(const FormDesign& design, int layoutDpi, int monitorDpi) {
    const int width = Scale(design.width, layoutDpi);
    const int height = Scale(design.height, layoutDpi);
    if (!design.clientSize) {
        // The design's size takes the frame in: at a smaller scale, the frame's part too.
        return {width, height};
    }
    const RECT frame = FrameAround({0, 0, width, height}, design.style, design.exStyle, monitorDpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

} // namespace

Form::Form(const FormDesign& design) : font_(design.font), borderWidth_(design.borderWidth) {
    RegisterFormClass(design.className, &Form::StaticProc);
    if (design.color) {
        brush_ = ::CreateSolidBrush(*design.color);
        ownsBrush_ = true;
    } else {
        brush_ = ::GetSysColorBrush(design.systemColor);
    }
    // The window is made at the scale of the monitor it will show on.
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const POINT opensAt = design.position == FormPosition::Designed
                              ? POINT{design.left, design.top}
                              : POINT{(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    dpi_ = DpiAt(opensAt);
    work = WorkAreaAt(opensAt);
    const SIZE room{work.right - work.left, work.bottom - work.top};
    int layoutDpi = dpi_;
    SIZE size = WindowSize(design, layoutDpi, dpi_);
    if (size.cx > room.cx || size.cy > room.cy) {
        if ((design.style & WS_THICKFRAME) != 0) {
            // A window the user can size shrinks to the monitor, its layout following.
            size = {std::min(size.cx, room.cx), std::min(size.cy, room.cy)};
        } else {
            // One of fixed layout is laid out at the largest scale at which it fits.
            while (layoutDpi > kDesignDpi / 2 && (size.cx > room.cx || size.cy > room.cy)) {
                --layoutDpi;
                size = WindowSize(design, layoutDpi, dpi_);
            }
        }
    }
    const int width = size.cx, height = size.cy;
    POINT at{Scale(design.left, dpi_), Scale(design.top, dpi_)};
    if (design.position == FormPosition::DesktopCenter) {
        at = Centred(work, width, height);
    } else if (design.position == FormPosition::ScreenCenter) {
        at = Centred({0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)},
                     width, height);
    }
    // Wholly on the monitor, its caption first.
    at.x = std::max(work.left, std::min(at.x, work.right - width));
    at.y = std::max(work.top, std::min(at.y, work.bottom - height));
    // The window is this form's from WM_NCCREATE on (StaticProc).
    HWND window = ::CreateWindowExA(design.exStyle, design.className, design.caption.c_str(),
                                    design.style & ~WS_VISIBLE, at.x, at.y, width, height, nullptr,
                                    nullptr, ::GetModuleHandleA(nullptr), this);
    dpi_ = layoutDpi < dpi_ ? layoutDpi : DpiOf(window);
    SetDpi(window, dpi_);
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont(font_, dpi_)), FALSE);
    if (design.visible) {
        ::ShowWindow(window, SW_SHOW);
        ::UpdateWindow(window);
    }
}

Form::~Form() {
    // The timers, members of the derived form, are gone and stopped by now.
    timers_.clear();
    if (handle_ != nullptr && ::IsWindow(handle_)) {
        ::SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    }
    if (ownsBrush_) {
        ::DeleteObject(brush_);
    }
}

COLORREF Form::Color() const {
    LOGBRUSH brush{};
    ::GetObjectA(brush_, sizeof brush, &brush);
    return brush.lbColor;
}

void Form::Show() {
    const bool hidden = !Visible();
    if (hidden && !inOnShow_) {
        inOnShow_ = true;
        Fire(OnShow);
        inOnShow_ = false;
    }
    if (hidden && focusFirstOnShow_) {
        lastFocus_ = nullptr; // an activation's WM_SETFOCUS goes to the first too
    }
    ::ShowWindow(handle_, SW_SHOW);
    ::SetForegroundWindow(handle_);
    if (hidden && focusFirstOnShow_) {
        FocusFirst();
    }
}

void Form::Hide() {
    ::ShowWindow(handle_, SW_HIDE);
}

void Form::ShowModal() {
    modal_ = true;
    closeRequested_ = false;
    platform::ModalRequest request;
    request.window = reinterpret_cast<std::uintptr_t>(handle_);
    request.show = [this] { Show(); };
    request.hide = [this] { Hide(); };
    request.closed = [this] { return closeRequested_; };
    request.translateKey = [this](const void* message) {
        const MSG& key = *static_cast<const MSG*>(message);
        return ::GetAncestor(key.hwnd, GA_ROOT) == handle_ && PreTranslateKey(key);
    };
    platform::ShowModal(request);
    modal_ = false;
}

void Form::Close() {
    bool canClose = true;
    Fire(OnCloseQuery, canClose);
    if (!canClose) {
        return;
    }
    Fire(OnClose);
    if (modal_) {
        closeRequested_ = true;
    } else {
        Hide();
    }
}

RECT Form::LayoutRect() const {
    RECT area;
    ::GetClientRect(handle_, &area);
    area = {Unscale(area.left, dpi_), Unscale(area.top, dpi_), Unscale(area.right, dpi_),
            Unscale(area.bottom, dpi_)};
    ::InflateRect(&area, -borderWidth_, -borderWidth_);
    return area;
}

void Form::AddTimer(Timer& timer) {
    timers_[timer.Id()] = &timer;
}

Control* Form::FocusedControl() const {
    // The last that has it: a control inside another (a tool bar on a tab's page) comes
    // after it in the order.
    HWND focus = ::GetFocus();
    Control* found = nullptr;
    for (Control* control : tabOrder_) {
        if (control->HasFocus(focus)) {
            found = control;
        }
    }
    return found;
}

void Form::FocusFirst() {
    for (Control* control : tabOrder_) {
        if (CanFocus(*control)) {
            control->TakeFocus(true);
            return;
        }
    }
}

void Form::SelectNext(bool forward) {
    const int count = static_cast<int>(tabOrder_.size());
    Control* focused = FocusedControl();
    if (focused != nullptr && focused->StepFocus(forward)) {
        return;
    }
    // Before the first or after the last when the focus is on none of them.
    int at = forward ? -1 : count;
    for (int i = 0; i < count; ++i) {
        if (tabOrder_[static_cast<std::size_t>(i)] == focused) {
            at = i;
        }
    }
    for (int step = 1; step <= count; ++step) {
        const int next = ((at + (forward ? step : -step)) % count + count) % count;
        Control& control = *tabOrder_[static_cast<std::size_t>(next)];
        if (CanFocus(control)) {
            control.TakeFocus(forward);
            return;
        }
    }
}

namespace {

bool HasClass(HWND window, const char* className) {
    char name[32] = {};
    ::GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, className) == 0;
}

// A tree's or a list's label being edited ends its edit with Enter or Escape.
bool EditsALabel(HWND focus) {
    HWND parent = ::GetParent(focus);
    return HasClass(parent, WC_TREEVIEWA) || HasClass(parent, WC_LISTVIEWA);
}

// Whether the window with the focus takes Enter itself: a tool bar (whose chosen button
// the form presses first), a page of text for a new line.
bool TakesEnter(HWND focus) {
    return EditsALabel(focus) || HasClass(focus, TOOLBARCLASSNAMEA) ||
           (::SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS) != 0;
}

bool IsPushButton(HWND focus) {
    const LRESULT code = ::SendMessageA(focus, WM_GETDLGCODE, 0, 0);
    if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0) {
        return true;
    }
    // A button that paints itself says only that it is a button.
    return (code & DLGC_BUTTON) != 0 && HasClass(focus, WC_BUTTONA) &&
           (::GetWindowLongA(focus, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

} // namespace

bool Form::PreTranslateKey(const MSG& message) {
    // A form disabled while something runs takes no keys.
    if (!::IsWindowEnabled(handle_)) {
        return false;
    }
    if (message.message == WM_KEYDOWN && ::GetKeyState(VK_CONTROL) >= 0 &&
        ::GetKeyState(VK_MENU) >= 0) {
        HWND focus = ::GetFocus();
        switch (message.wParam) {
        case VK_TAB:
            if (tabOrder_.empty()) {
                return false;
            }
            // From the first Tab on, the focus is shown.
            ::SendMessageA(handle_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
            SelectNext(::GetKeyState(VK_SHIFT) >= 0);
            return true;
        case VK_RETURN: {
            Control* focused = FocusedControl();
            if (focused != nullptr && focused->OnEnterKey()) {
                return true;
            }
            if (focus != nullptr && TakesEnter(focus)) {
                return false;
            }
            if (focus != nullptr && IsPushButton(focus)) {
                ::SendMessageA(focus, BM_CLICK, 0, 0);
                return true;
            }
            if (!OnEnterKey) {
                return false;
            }
            Fire(OnEnterKey);
            return true;
        }
        case VK_ESCAPE:
            if (!OnEscapeKey || (focus != nullptr && EditsALabel(focus))) {
                return false;
            }
            Fire(OnEscapeKey);
            return true;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: {
            Control* focused = FocusedControl();
            return focused != nullptr && focused->OnArrowKey(static_cast<UINT>(message.wParam));
        }
        default:
            break;
        }
    }
    if (message.message == WM_SYSCHAR) {
        return FireAnswer(OnAccessKey, static_cast<char>(message.wParam));
    }
    return false;
}

LRESULT Form::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0 && menu_ != nullptr &&
            menu_->Dispatch(LOWORD(wParam))) {
            return 0;
        }
        break;
    case WM_TIMER: {
        auto found = timers_.find(wParam);
        if (found != timers_.end()) {
            found->second->Tick();
            return 0;
        }
        break;
    }
    case WM_ERASEBKGND: {
        RECT area;
        ::GetClientRect(handle_, &area);
        ::FillRect(reinterpret_cast<HDC>(wParam), &area, brush_);
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Controls without colours of their own stand on the form's face.
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(brush_);
    case WM_SIZE:
        Fire(OnResize);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            Fire(OnActivate);
        } else if (HWND focus = ::GetFocus(); focus != nullptr && ::IsChild(handle_, focus)) {
            lastFocus_ = focus;
        }
        break;
    case WM_SETFOCUS:
        // The form itself takes no keys: the focus goes on to one of its controls.
        if (!tabOrder_.empty()) {
            if (lastFocus_ != nullptr && ::IsChild(handle_, lastFocus_) &&
                ::IsWindowVisible(lastFocus_) && ::IsWindowEnabled(lastFocus_)) {
                ::SetFocus(lastFocus_);
            } else {
                SelectNext(true);
            }
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        // Moved to a monitor of another scale: the controls first, so that the layout
        // that the new size runs finds them at the new scale.
        dpi_ = HIWORD(wParam);
        SetDpi(handle_, dpi_);
        ::SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont(font_, dpi_)), FALSE);
        RescaleChildren(handle_, dpi_);
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(handle_, nullptr, suggested.left, suggested.top,
                       suggested.right - suggested.left, suggested.bottom - suggested.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        Fire(OnResize);
        ::InvalidateRect(handle_, nullptr, TRUE);
        return 0;
    }
    case WM_CLOSE:
        Close();
        return 0;
    case WM_QUERYENDSESSION: {
        bool canClose = true;
        Fire(OnCloseQuery, canClose);
        return canClose ? TRUE : FALSE;
    }
    default:
        break;
    }
    if (FireAnswer(OnMessage, message, wParam, lParam, result)) {
        return result;
    }
    return ::DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT CALLBACK Form::StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created =
            static_cast<Form*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        created->Attach(window);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* form = reinterpret_cast<Form*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (form == nullptr) {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    return form->WndProc(message, wParam, lParam);
}

} // namespace ui
