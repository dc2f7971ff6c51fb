#pragma once
// The base of every control wrapper: the control's window, and the messages that its
// parent receives about it (commands, notifications, scrolling, colours), which the
// parent hands back to the control's wrapper.

#include <string>
#include <windows.h>

namespace ui {

// Where a control without further design sits in its parent.
struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
};

class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND Handle() const { return handle_; }
    // The wrapper of a window made by one, or none.
    static Control* OfWindow(HWND window);

    // A message the parent received about this control; true when handled.
    virtual bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Moves and sizes the control, in design pixels; a control that lays out its own
    // inside again after a change of size (status bar parts, a scroller's arrows) does so
    // here.
    virtual void SetBounds(int left, int top, int width, int height);
    // The window moved to a monitor of another scale, and has been placed and given its
    // font again: what else the control measures in pixels follows here.
    virtual void OnDpiChanged(int dpi);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    std::string Text() const;
    void SetText(const std::string& text);

    // The keyboard, as a form's tab order moves it. Whether the focus is on this control
    // (or a window of it); Tab or Shift+Tab reaching the control gives it the focus; Tab
    // or Shift+Tab while it has the focus may move it within the control (true) instead of
    // on to the next; an arrow key, or Enter, while it has the focus (true when used).
    virtual bool HasFocus(HWND focus) const;
    virtual void TakeFocus(bool forward);
    virtual bool StepFocus(bool forward);
    virtual bool OnArrowKey(UINT key);
    virtual bool OnEnterKey();

protected:
    // Takes the window as this wrapper's; a second window (a tool bar's tooltips, say)
    // may be adopted so that its notifications reach the same wrapper.
    void Attach(HWND window);
    void Adopt(HWND window);

    HWND handle_ = nullptr;
};

// Finds the wrapper of the control that a parent's message is about and hands the
// message to it. True when a wrapper handled it.
bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Creates a child window with the given class, text and bounds in design pixels, placed at
// its parent's scale; the Unicode form for controls whose texts are Unicode.
HWND CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                 HWND parent, int left, int top, int width, int height);
HWND CreateChildW(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent,
                  const Bounds& bounds);

// Places every window inside the top-level one again at the scale, from its design
// bounds, with its font at the scale, and tells each wrapper.
void RescaleChildren(HWND topLevel, int dpi);

} // namespace ui
