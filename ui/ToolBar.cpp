#include "ui/ToolBar.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <commctrl.h>

#include "ui/Dpi.h"
#include "ui/Guard.h"
#include "ui/ImageList.h"

namespace ui {

void ToolButton::SetCaption(const std::string& caption) {
    design_.caption = caption;
    if (bar_ == nullptr) {
        return;
    }
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    info.pszText = const_cast<char*>(design_.caption.c_str());
    ::SendMessageA(bar_->Handle(), TB_SETBUTTONINFOA, static_cast<WPARAM>(id_),
                   reinterpret_cast<LPARAM>(&info));
    // Another caption may need more room, or less.
    if (bar_->fitPixels_ > 0) {
        bar_->FitTo(bar_->fitPixels_);
    }
}

void ToolButton::SetEnabled(bool enabled) {
    design_.enabled = enabled;
    if (bar_ != nullptr) {
        ::SendMessageA(bar_->Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(id_),
                       MAKELPARAM(enabled ? TRUE : FALSE, 0));
    }
}

void ToolBar::Create(HWND parent, const ToolBarDesign& design, std::vector<ToolButton*> buttons) {
    buttons_ = std::move(buttons);
    images_ = design.images;
    buttonWidth_ = design.buttonWidth;
    buttonHeight_ = design.buttonHeight;
    tabThroughButtons_ = design.tabThroughButtons;
    Attach(CreateChild(TOOLBARCLASSNAMEA, "",
                       WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT |
                           TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN,
                       0, parent, design.left, design.top, design.width, design.height));
    SetControlFont(handle_, design.font);
    ::SendMessageA(handle_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (design.images == nullptr) {
        ::SendMessageA(handle_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    }
    std::vector<TBBUTTON> added;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        ToolButton& button = *buttons_[i];
        button.bar_ = this;
        button.id_ = static_cast<int>(i) + 1;
        TBBUTTON item{};
        item.iBitmap = button.design_.image >= 0 ? button.design_.image : I_IMAGENONE;
        item.idCommand = button.id_;
        item.fsState = button.design_.enabled ? TBSTATE_ENABLED : 0;
        item.fsStyle = BTNS_BUTTON;
        item.iString = reinterpret_cast<INT_PTR>(button.design_.caption.c_str());
        added.push_back(item);
    }
    ::SendMessageA(handle_, TB_ADDBUTTONSA, added.size(), reinterpret_cast<LPARAM>(added.data()));
    OnDpiChanged(DpiOf(handle_));
    Adopt(reinterpret_cast<HWND>(::SendMessageA(handle_, TB_GETTOOLTIPS, 0, 0)));
    ::SetWindowSubclass(handle_, &ToolBar::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void ToolBar::OnDpiChanged(int dpi) {
    if (images_ != nullptr) {
        HIMAGELIST images = images_->HandleFor(dpi);
        ::SendMessageA(handle_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
        ::SendMessageA(handle_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    }
    // The width first: setting it measures the buttons again, and the size then holds.
    const int width = Scale(buttonWidth_, dpi), height = Scale(buttonHeight_, dpi);
    ::SendMessageA(handle_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(width, width));
    ::SendMessageA(handle_, TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
}

int ToolBar::HotButton() const {
    return static_cast<int>(::SendMessageA(handle_, TB_GETHOTITEM, 0, 0));
}

int ToolBar::NextEnabled(int from, bool forward) const {
    const int count = static_cast<int>(buttons_.size());
    for (int at = from + (forward ? 1 : -1); at >= 0 && at < count; at += forward ? 1 : -1) {
        if (buttons_[static_cast<std::size_t>(at)]->design_.enabled) {
            return at;
        }
    }
    return -1;
}

void ToolBar::TakeFocus(bool forward) {
    ::SetFocus(handle_);
    if (tabThroughButtons_) {
        const int first = NextEnabled(forward ? -1 : static_cast<int>(buttons_.size()), forward);
        ::SendMessageA(handle_, TB_SETHOTITEM, static_cast<WPARAM>(first), 0);
    }
}

bool ToolBar::StepFocus(bool forward) {
    if (!tabThroughButtons_) {
        return false;
    }
    const int next = NextEnabled(HotButton(), forward);
    ::SendMessageA(handle_, TB_SETHOTITEM, static_cast<WPARAM>(next), 0);
    return next >= 0;
}

bool ToolBar::OnEnterKey() {
    // Pressed here: a dialog's message loop would take Enter for its default button
    // before the tool bar saw it.
    const int hot = HotButton();
    if (hot < 0 || static_cast<std::size_t>(hot) >= buttons_.size() ||
        !buttons_[static_cast<std::size_t>(hot)]->design_.enabled) {
        return false;
    }
    Fire(buttons_[static_cast<std::size_t>(hot)]->OnClick);
    return true;
}

int ToolBar::IdealWidth() const {
    SIZE size{};
    ::SendMessageA(handle_, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    return size.cx;
}

void ToolBar::FitTo(int pixels) {
    fitPixels_ = pixels;
    const int design = Scale(buttonWidth_, DpiOf(handle_));
    // What each button needs: its caption (the bar's font, "&" marks left out) or its
    // picture, whichever is wider, with the bar's padding.
    int picture = 0, ignored = 0;
    if (const auto images =
            reinterpret_cast<HIMAGELIST>(::SendMessageA(handle_, TB_GETIMAGELIST, 0, 0))) {
        ::ImageList_GetIconSize(images, &picture, &ignored);
    }
    const int padding = LOWORD(::SendMessageA(handle_, TB_GETPADDING, 0, 0));
    HDC dc = ::GetDC(handle_);
    const HGDIOBJ font =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(handle_, WM_GETFONT, 0, 0)));
    std::vector<int> needs;
    for (const ToolButton* button : buttons_) {
        RECT text{};
        ::DrawTextA(dc, button->design_.caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
        needs.push_back(std::max<int>(text.right - text.left, picture) + padding);
    }
    ::SelectObject(dc, font);
    ::ReleaseDC(handle_, dc);
    // The widest that every button may take so that they all fit, at most the design's.
    const auto total = [&](int most) {
        int sum = 0;
        for (const int need : needs) {
            sum += std::max(need, most);
        }
        return sum;
    };
    int most = design;
    while (most > 0 && total(most) > pixels) {
        --most;
    }
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_SIZE;
        info.cx = static_cast<WORD>(std::max(needs[i], most));
        ::SendMessageA(handle_, TB_SETBUTTONINFOA, static_cast<WPARAM>(buttons_[i]->id_),
                       reinterpret_cast<LPARAM>(&info));
    }
}

namespace {

// A character in capitals, by the window's code page.
char Upper(char c) {
    char text[2] = {c, '\0'};
    ::CharUpperBuffA(text, 1);
    return text[0];
}

// The character after the caption's "&" ("&&" stands for "&" itself), or none.
std::optional<char> AccessKeyOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (caption[i + 1] != '&') {
                return Upper(caption[i + 1]);
            }
            ++i;
        }
    }
    return std::nullopt;
}

} // namespace

ToolButton* ToolBar::AccessKeyButton(char key) const {
    for (ToolButton* button : buttons_) {
        if (button->design_.enabled && AccessKeyOf(button->design_.caption) == Upper(key)) {
            return button;
        }
    }
    return nullptr;
}

ToolButton* ToolBar::ButtonById(int id) const {
    auto found = std::find_if(buttons_.begin(), buttons_.end(),
                              [id](const ToolButton* button) { return button->id_ == id; });
    return found != buttons_.end() ? *found : nullptr;
}

namespace {

// Copies a hint into a notification's buffer, in the character set it asks for.
void CopyHint(const std::string& hint, char* out, int room) {
    if (room > 0) {
        lstrcpynA(out, hint.c_str(), room);
    }
}

void CopyHint(const std::string& hint, wchar_t* out, int room) {
    if (room > 0) {
        const int written = ::MultiByteToWideChar(1252, 0, hint.c_str(), -1, out, room);
        out[written > 0 ? std::min(written, room) - 1 : 0] = L'\0';
    }
}

} // namespace

bool ToolBar::OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND) {
        ToolButton* button = ButtonById(LOWORD(wParam));
        if (button != nullptr && button->design_.enabled) {
            Fire(button->OnClick);
        }
        result = 0;
        return true;
    }
    if (message != WM_NOTIFY) {
        return false;
    }
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    // Hints arrive either as the tool bar's own request or as its tooltip's.
    switch (header->code) {
    case TBN_GETINFOTIPA: {
        auto* tip = reinterpret_cast<NMTBGETINFOTIPA*>(lParam);
        if (const ToolButton* button = ButtonById(tip->iItem); button && button->design_.showHint) {
            CopyHint(button->design_.hint, tip->pszText, tip->cchTextMax);
        }
        return true;
    }
    case TBN_GETINFOTIPW: {
        auto* tip = reinterpret_cast<NMTBGETINFOTIPW*>(lParam);
        if (const ToolButton* button = ButtonById(tip->iItem); button && button->design_.showHint) {
            CopyHint(button->design_.hint, tip->pszText, tip->cchTextMax);
        }
        return true;
    }
    case TTN_GETDISPINFOA: {
        auto* tip = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        const ToolButton* button = ButtonById(static_cast<int>(header->idFrom));
        tip->szText[0] = '\0';
        tip->lpszText = tip->szText;
        if (button != nullptr && button->design_.showHint) {
            CopyHint(button->design_.hint, tip->szText, sizeof tip->szText);
        }
        return true;
    }
    case TTN_GETDISPINFOW: {
        auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const ToolButton* button = ButtonById(static_cast<int>(header->idFrom));
        tip->szText[0] = L'\0';
        tip->lpszText = tip->szText;
        if (button != nullptr && button->design_.showHint) {
            CopyHint(button->design_.hint, tip->szText, static_cast<int>(std::size(tip->szText)));
        }
        return true;
    }
    default:
        return false;
    }
}

LRESULT CALLBACK ToolBar::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
    // The button the keyboard chose goes with the focus, which then shows elsewhere; the
    // focus given back (to a dialog shown again) chooses the first button again.
    auto* bar = reinterpret_cast<ToolBar*>(self);
    if (message == WM_KILLFOCUS) {
        ::SendMessageA(window, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    } else if (message == WM_SETFOCUS && bar->tabThroughButtons_ && bar->HotButton() < 0) {
        ::SendMessageA(window, TB_SETHOTITEM, static_cast<WPARAM>(bar->NextEnabled(-1, true)), 0);
    }
    if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT) {
        POINT at;
        ::GetCursorPos(&at);
        ::ScreenToClient(window, &at);
        const auto index =
            static_cast<int>(::SendMessageA(window, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&at)));
        if (index >= 0 && static_cast<std::size_t>(index) < bar->buttons_.size() &&
            bar->buttons_[static_cast<std::size_t>(index)]->design_.handCursor) {
            ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
            return TRUE;
        }
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

} // namespace ui
