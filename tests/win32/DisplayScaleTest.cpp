// Every window at the display's scale: the layouts' places, sizes and font heights (pixels
// at 96 dots per inch) scaled by the display's dots per inch, read back from the controls.
// The test program runs at the prefix's scale; TARVOX_TEST_DPI names the scale the run
// must find (the at-scale test entry sets the prefix to 144 and asks for it).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>
#include <windows.h>

#include <commctrl.h>

#include "dialogs/Cborra.h"
#include "dialogs/Cconfi.h"
#include "dialogs/Ccreditos.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Cdirini.h"
#include "dialogs/Cinicio.h"
#include "tests/win32/ProgramFixture.h"
#include "tests/win32/Readback.h"
#include "ui/Dpi.h"

namespace {

class DisplayScale : public ProgramFixture {};

int ExpectedDpi() {
    const char* dpi = std::getenv("TARVOX_TEST_DPI");
    return dpi != nullptr ? std::atoi(dpi) : 96;
}

// A control's place in its parent at 96 dots per inch: left, top, width, height. A width
// of 0 stands for "to the window's border", as the main window's bars reach.
struct Placed {
    const char* name;
    HWND window;
    RECT design;
};

std::vector<Placed> DesignPlaces(TPRINCIPAL& main) {
    return {
        {"pages", main.v.Handle(), {5, 5, 0, 73}},
        {"path bar", main.archivo.Handle(), {5, 78, 0, 24}},
        {"list", main.lista.Handle(), {5, 102, 0, 0}},
        {"delete choice", borra->opc.Handle(), {0, 1, 189, 105}},
        {"delete buttons", borra->ToolBar1.Handle(), {32, 128, 161, 33}},
        {"extract folder field", descompri->direk.Handle(), {0, 0, 287, 27}},
        {"extract go", descompri->Button1.Handle(), {293, 7, 39, 20}},
        {"extract buttons", descompri->ToolBar1.Handle(), {0, 32, 385, 49}},
        {"extract tree", descompri->dir.Handle(), {12, 86, 351, 147}},
        {"extract options", descompri->GroupBox1.Handle(), {7, 249, 215, 117}},
        {"extract c1", descompri->c1.Handle(), {20, 275, 118, 14}},
        {"extract c4", descompri->c4.Handle(), {20, 347, 183, 13}},
        {"extract choice", descompri->opc.Handle(), {231, 255, 147, 105}},
        {"folders button", config->CoolBtn1.Handle(), {336, 16, 75, 161}},
        {"folders tree", direk->dir.Handle(), {12, 156, 385, 193}},
        {"credits title", credits->Label1.Handle(), {56, 16, 297, 20}},
        {"credits text", credits->Memo1.Handle(), {23, 139, 358, 86}},
        {"credits address", credits->StaticText1.Handle(), {89, 233, 233, 24}},
        {"credits picture", credits->Image2.Handle(), {56, 264, 329, 89}},
        {"credits OK", credits->CoolBtn1.Handle(), {408, 144, 75, 81}},
        {"splash logo", inicio->logo.Handle(), {66, 11, 300, 80}},
        {"splash text", inicio->Label1.Handle(), {64, 104, 298, 24}},
    };
}

struct Lettered {
    const char* name;
    HWND window;
    int height; // of the font, at 96 dots per inch
};

std::vector<Lettered> DesignFonts(TPRINCIPAL& main) {
    return {
        {"path bar", main.archivo.Handle(), -10},
        {"pages", main.v.Handle(), -11},
        {"list", main.lista.Handle(), -12},
        {"extract folder field", descompri->direk.Handle(), -15},
        {"configuration labels", config->Label2.Handle(), -20},
        {"splash text", inicio->Label1.Handle(), -19},
    };
}

// Every button of a tool bar shows whole: inside the bar's page, no scroller arrow, and
// wide enough for its caption.
void ExpectWholeButtons(HWND bar, HWND scroller) {
    RECT page{};
    ::GetClientRect(scroller, &page);
    for (const WPARAM arrow : {PGB_TOPORLEFT, PGB_BOTTOMORRIGHT}) {
        EXPECT_EQ(::SendMessageA(scroller, PGM_GETBUTTONSTATE, 0, arrow), PGF_INVISIBLE);
    }
    HDC dc = ::GetDC(bar);
    const HGDIOBJ font =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(bar, WM_GETFONT, 0, 0)));
    const std::vector<ToolButtonState> buttons = ToolButtons(bar);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(buttons[i].caption);
        RECT button{}, text{};
        ::SendMessageA(bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&button));
        ::DrawTextA(dc, buttons[i].caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
        EXPECT_LE(button.right, page.right);
        EXPECT_GE(button.right - button.left, text.right - text.left);
    }
    ::SelectObject(dc, font);
    ::ReleaseDC(bar, dc);
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

void ExpectAtScale(TPRINCIPAL& main, int dpi) {
    for (const Placed& p : DesignPlaces(main)) {
        SCOPED_TRACE(p.name);
        // A dialog too large for the screen at its scale is laid out at a smaller one.
        const int at96 = ui::DpiOf(p.window);
        EXPECT_LE(at96, dpi);
        const auto scale = [at96](int pixels) { return ui::Scale(pixels, at96); };
        const RECT at = BoundsInParent(p.window);
        RECT parent{};
        ::GetClientRect(::GetParent(p.window), &parent);
        const RECT& d = p.design;
        // Edges are scaled, so that controls that meet at design meet at the scale; a
        // layout computed at run time may round a pixel either way.
        EXPECT_NEAR(at.left, scale(d.left), 1);
        EXPECT_NEAR(at.top, scale(d.top), 1);
        EXPECT_NEAR(at.right, d.right > 0 ? scale(d.left + d.right) : parent.right - scale(5), 1);
        if (d.bottom > 0) {
            EXPECT_NEAR(at.bottom, scale(d.top + d.bottom), 1);
        }
    }
    const auto scale = [dpi](int pixels) { return ui::Scale(pixels, dpi); };
    // The list fills what the bars leave; the status bar sits on the bottom border.
    const RECT list = BoundsInParent(main.lista.Handle());
    const RECT status = BoundsInParent(main.estado.Handle());
    RECT client{};
    ::GetClientRect(main.Handle(), &client);
    EXPECT_EQ(status.top, list.bottom);
    EXPECT_NEAR(status.bottom - status.top, scale(16), 1);
    EXPECT_NEAR(client.bottom - status.bottom, scale(5), 1);

    for (const Lettered& f : DesignFonts(main)) {
        SCOPED_TRACE(f.name);
        LOGFONTA font{};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(f.window, WM_GETFONT, 0, 0)),
                     sizeof font, &font);
        EXPECT_EQ(font.lfHeight, ui::Scale(f.height, ui::DpiOf(f.window)));
    }
    ExpectWholeButtons(main.barra1.Handle(), main.PageScroller1.Handle());
    ExpectWholeButtons(main.barra2.Handle(), main.PageScroller3.Handle());
    const LRESULT button = ::SendMessageA(main.barra1.Handle(), TB_GETBUTTONSIZE, 0, 0);
    EXPECT_EQ(LOWORD(button), scale(74));
    EXPECT_EQ(HIWORD(button), scale(36));
    EXPECT_EQ(LOWORD(::SendMessageA(main.ToolBar1.Handle(), TB_GETBUTTONSIZE, 0, 0)), scale(104));
    EXPECT_EQ(StatusParts(main.estado.Handle()),
              (std::vector<int>{scale(100), scale(300), scale(500), -1}));
}

TEST_F(DisplayScale, EveryWindowIsLaidOutAtTheDisplaysScale) {
    StartAndShow();
    TPRINCIPAL& main = Main();
    const int dpi = ui::DpiOf(main.Handle());
    ASSERT_EQ(dpi, ExpectedDpi()) << "the program declares itself aware of the scale";
    ExpectAtScale(main, dpi);
    // Windows take their design sizes at the scale: the whole window, or its client area
    // for the frameless ones. On a screen too small for that, each fits the work area of
    // its monitor: the main window shrinks to it, a dialog is laid out at the largest
    // scale at which it fits.
    struct Sized {
        const char* name;
        HWND window;
        int width, height;
        bool client;
    };
    const Sized sizes[] = {
        {"main", main.Handle(), 686, 432, false},
        {"delete", borra->Handle(), 252, 197, false},
        {"extract", descompri->Handle(), 480, 484, false},
        {"configuration", config->Handle(), 444, 319, false},
        {"folders", direk->Handle(), 424, 438, false},
        {"credits", credits->Handle(), 537, 381, true},
        {"splash", inicio->Handle(), 466, 149, true},
    };
    for (const Sized& s : sizes) {
        SCOPED_TRACE(s.name);
        RECT at{}, whole{};
        ::GetWindowRect(s.window, &whole);
        if (s.client) {
            ::GetClientRect(s.window, &at);
        } else {
            at = whole;
        }
        const RECT work = WorkAreaOf(s.window);
        RECT inside{};
        ::IntersectRect(&inside, &whole, &work);
        EXPECT_TRUE(::EqualRect(&inside, &whole)) << "on the screen, whole";
        const SIZE room{work.right - work.left - (whole.right - whole.left - (at.right - at.left)),
                        work.bottom - work.top - (whole.bottom - whole.top - (at.bottom - at.top))};
        const int layout = ui::DpiOf(s.window);
        if (s.window == main.Handle()) {
            EXPECT_EQ(layout, dpi);
            EXPECT_EQ(at.right - at.left, std::min<int>(ui::Scale(s.width, dpi), room.cx));
            EXPECT_EQ(at.bottom - at.top, std::min<int>(ui::Scale(s.height, dpi), room.cy));
            continue;
        }
        EXPECT_EQ(at.right - at.left, ui::Scale(s.width, layout));
        EXPECT_EQ(at.bottom - at.top, ui::Scale(s.height, layout));
        if (layout < dpi) {
            EXPECT_TRUE(ui::Scale(s.width, layout + 1) > room.cx ||
                        ui::Scale(s.height, layout + 1) > room.cy)
                << "no larger scale fits";
        }
    }
}

// A window moved to a monitor of another scale is laid out again at that scale, with the
// tool bar pictures at the icon theme's nearest size.
TEST_F(DisplayScale, AMoveToAnotherScaleLaysTheWindowsOutAgain) {
    StartAndShow();
    TPRINCIPAL& main = Main();
    const int start = ui::DpiOf(main.Handle());
    struct Case {
        int dpi, pictures;
    };
    const Case cases[] = {{120, 22}, {144, 24}, {192, 32}, {start, start * 16 / 96}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        for (ui::Form* form : std::initializer_list<ui::Form*>{&main, borra, descompri, config,
                                                               direk, credits, inicio}) {
            RECT window{};
            ::GetWindowRect(form->Handle(), &window);
            const int width = (window.right - window.left) * c.dpi / form->Dpi();
            const int height = (window.bottom - window.top) * c.dpi / form->Dpi();
            RECT suggested{window.left, window.top, window.left + width, window.top + height};
            ::SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi),
                           reinterpret_cast<LPARAM>(&suggested));
            RECT now{};
            ::GetWindowRect(form->Handle(), &now);
            // The system keeps a window no larger than the screen allows.
            if (width <= ::GetSystemMetrics(SM_CXMAXTRACK) &&
                height <= ::GetSystemMetrics(SM_CYMAXTRACK)) {
                EXPECT_TRUE(::EqualRect(&now, &suggested)) << "at the suggested rectangle";
            }
        }
        ExpectAtScale(main, c.dpi);
        for (HWND bar : {main.barra1.Handle(), descompri->ToolBar1.Handle()}) {
            int width = 0, height = 0;
            ::ImageList_GetIconSize(
                reinterpret_cast<HIMAGELIST>(::SendMessageA(bar, TB_GETIMAGELIST, 0, 0)), &width,
                &height);
            EXPECT_EQ(width, c.pictures);
            EXPECT_EQ(height, c.pictures);
        }
    }
}

} // namespace
