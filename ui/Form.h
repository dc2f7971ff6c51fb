#pragma once
// A top-level window: caption, bounds, font, colour, the showing and closing of the
// window with its events, its main menu and timers, and modal showing.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

#include "ui/Control.h"
#include "ui/Font.h"

namespace ui {

class MainMenu;
class Timer;

enum class FormPosition { Designed, DesktopCenter, ScreenCenter };

struct FormDesign {
    const char* className = "TForm";
    std::string caption{};
    int left = 0, top = 0, width = 0, height = 0;
    // The width and height are those of the client area instead of the whole window.
    bool clientSize = false;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    FormPosition position = FormPosition::Designed;
    FontDesign font{};
    // A system colour index (COLOR_BTNFACE...) or, when set, a colour of its own.
    int systemColor = COLOR_BTNFACE;
    std::optional<COLORREF> color{};
    // Width of the inner border that the layout leaves free on every side.
    int borderWidth = 0;
    bool visible = false;
};

class Form : public Control {
public:
    explicit Form(const FormDesign& design);
    ~Form() override;

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
    const FontDesign& FontOf() const { return font_; }
    COLORREF Color() const;

    // Shows the window; a showing after being hidden runs OnShow first (not again while
    // OnShow itself runs).
    void Show();
    void Hide();
    // Shows the form through the modal seam and returns when it was closed.
    void ShowModal();
    bool InModal() const { return modal_; }
    // Asks OnCloseQuery; when allowed, runs OnClose and hides the form (ending a
    // modal showing).
    void Close();

    // The client area less the inner border, in design pixels: where the layout places
    // controls.
    RECT LayoutRect() const;
    // The dots per inch the window is shown at.
    int Dpi() const { return dpi_; }

    void UseMenu(MainMenu& menu) { menu_ = &menu; }
    void AddTimer(Timer& timer);

    // The controls that Tab and Shift+Tab move the keyboard focus through, in this order;
    // hidden and disabled ones are passed over. The form gives the focus back to the
    // last of them that had it, or to the first that can take it, when it is activated.
    void SetTabOrder(std::vector<Control*> controls) { tabOrder_ = std::move(controls); }
    // Each showing starts with the focus on the first control of the tab order instead
    // of the last that had it: a dialog left with "Cancelar" must not open on it again.
    void FocusFirstOnShow() { focusFirstOnShow_ = true; }
    void SelectNext(bool forward);
    void FocusFirst();
    // A key message on its way to a window of this form, before it is dispatched: Tab
    // moves the focus, an arrow moves it within the control that has it, Enter presses
    // the push button that has the focus or else runs OnEnterKey, Escape runs
    // OnEscapeKey, Alt and a character go to OnAccessKey. True when it was used.
    bool PreTranslateKey(const MSG& message);

    std::function<void()> OnShow;
    std::function<void()> OnActivate;
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void()> OnClose;
    std::function<void()> OnResize;
    // Alt and a character: true when a control took it as its access key; otherwise it
    // goes on to the menu bar.
    std::function<bool(char key)> OnAccessKey;
    // A dialog's main button, and its cancel.
    std::function<void()> OnEnterKey;
    std::function<void()> OnEscapeKey;
    // Any other message; returns true when it handled it.
    std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)> OnMessage;

protected:
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    Control* FocusedControl() const;
    static LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    FontDesign font_;
    HBRUSH brush_ = nullptr;
    bool ownsBrush_ = false;
    int borderWidth_ = 0;
    int dpi_ = 96;
    MainMenu* menu_ = nullptr;
    std::map<UINT_PTR, Timer*> timers_;
    std::vector<Control*> tabOrder_;
    HWND lastFocus_ = nullptr;
    bool modal_ = false;
    bool inOnShow_ = false;
    bool closeRequested_ = false;
    bool focusFirstOnShow_ = false;
};

} // namespace ui
