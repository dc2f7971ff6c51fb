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

    // Moves and sizes the control; a control that lays out its own inside again after a
    // change of size (status bar parts, a scroller's arrows) does so here.
    virtual void SetBounds(int left, int top, int width, int height);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    std::string Text() const;
    void SetText(const std::string& text);

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

// Creates a child window with the given class, text and bounds.
HWND CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                 HWND parent, int left, int top, int width, int height);

} // namespace ui
