// The splash and credits windows: their pictures, texts, web address and closing.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/Program.h"
#include "dialogs/Ccreditos.h"
#include "dialogs/Cinicio.h"
#include "main/SettingsRules.h"
#include "tests/win32/ProgramFixture.h"
#include "tests/win32/Readback.h"
#include "ui/Resource.h"

namespace {

class SplashAndCredits : public ProgramFixture {};

unsigned Rgb(COLORREF colour) {
    return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

bool Near(unsigned a, unsigned b, int tolerance) {
    for (int shift : {0, 8, 16}) {
        const int difference =
            static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (difference > tolerance || difference < -tolerance) {
            return false;
        }
    }
    return true;
}

TEST_F(SplashAndCredits, PicturesShowTheirImageUnscaledAndADamagedOneAnEmptyFrame) {
    Start();
    const unsigned black = 0, frame = Rgb(::GetSysColor(COLOR_WINDOWFRAME));
    const auto logo = ui::ResourceData("LOGO");
    struct Case {
        const char* name;
        ui::Image* image;
        const char* resource;
        std::size_t damagedSize; // 0: the resource whole
        RECT bounds;
        unsigned face;
    };
    const Case cases[] = {
        {"splash logo", &inicio->logo, "LOGO", 0, {66, 11, 366, 91}, black},
        {"credits logo", &credits->Image1, "LOGO", 0, {45, 47, 345, 129}, frame},
        {"credits picture", &credits->Image2, "CREDITOS", 0, {56, 264, 385, 353}, frame},
        {"truncated logo", &inicio->logo, "LOGO", logo.size() / 2, {66, 11, 366, 91}, black},
        {"no picture at all", &credits->Image2, "CREDITOS", 1, {56, 264, 385, 353}, frame},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto data = ui::ResourceData(c.resource);
        ASSERT_FALSE(data.empty());
        if (c.damagedSize != 0) {
            EXPECT_NE(c.image->LoadJpeg(data.first(c.damagedSize)), "");
        }
        const RECT bounds = BoundsInParent(c.image->Handle());
        EXPECT_EQ(bounds.left, c.bounds.left);
        EXPECT_EQ(bounds.top, c.bounds.top);
        EXPECT_EQ(bounds.right, c.bounds.right);
        EXPECT_EQ(bounds.bottom, c.bounds.bottom);
        const util::Picture expected =
            c.damagedSize == 0 ? util::DecodeJpeg(data).picture : util::Picture{};
        EXPECT_EQ(expected.width, c.damagedSize == 0 ? 300 : 0);
        const Painted painted = PaintedClient(c.image->Handle());
        int wrong = 0;
        std::vector<unsigned> colours;
        for (int y = 0; y < painted.height; ++y) {
            for (int x = 0; x < painted.width; ++x) {
                unsigned want = c.face;
                if (x < expected.width && y < expected.height) {
                    const auto* pixel =
                        &expected.pixels[static_cast<std::size_t>((y * expected.width + x) * 4)];
                    want = static_cast<unsigned>(pixel[2] << 16 | pixel[1] << 8 | pixel[0]);
                }
                wrong += painted.At(x, y) != want ? 1 : 0;
                if (colours.size() < 64 &&
                    std::find(colours.begin(), colours.end(), want) == colours.end()) {
                    colours.push_back(want);
                }
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(colours.size() >= 64, c.damagedSize == 0) << "a picture, not a plain frame";
    }
}

TEST_F(SplashAndCredits, TheCreditsWindowIsLaidOutWithTheSameTextsInBothLanguages) {
    for (const char* language : {"1", "2"}) {
        SCOPED_TRACE(language);
        WriteSettings(std::string("c:\\\r\nc:\\\r\nc:\\\r\n") + language + "\r\n", "");
        StartAndShow();
        const HWND window = credits->Handle();
        EXPECT_EQ(::GetWindowLongA(window, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
                  0);
        RECT client{}, outer{}, work{};
        ::GetClientRect(window, &client);
        ::GetWindowRect(window, &outer);
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_EQ(client.right, 537);
        EXPECT_EQ(client.bottom, 381);
        EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 1);
        EXPECT_NEAR((outer.top + outer.bottom) / 2, (work.top + work.bottom) / 2, 1);

        struct Control {
            const char* name;
            HWND handle;
            RECT bounds;
            std::string text;
        };
        const Control controls[] = {
            {"Label1", credits->Label1.Handle(), {56, 16, 353, 36}, "     Tarvox v4.1.0"},
            {"StaticText1", credits->StaticText1.Handle(), {89, 233, 322, 257}, kWebPage},
            {"CoolBtn1", credits->CoolBtn1.Handle(), {408, 144, 483, 225}, "OK"},
            {"Memo1", credits->Memo1.Handle(), {23, 139, 381, 225}, ""},
        };
        for (const Control& c : controls) {
            SCOPED_TRACE(c.name);
            const RECT bounds = BoundsInParent(c.handle);
            EXPECT_EQ(bounds.left, c.bounds.left);
            EXPECT_EQ(bounds.top, c.bounds.top);
            EXPECT_EQ(bounds.right, c.bounds.right);
            EXPECT_EQ(bounds.bottom, c.bounds.bottom);
            if (!c.text.empty()) {
                EXPECT_EQ(WindowCaption(c.handle), c.text);
            }
        }
        EXPECT_EQ(credits->Label1.TextColor(), RGB(0, 255, 0));
        EXPECT_EQ(credits->Label1.BackgroundColor(), RGB(0, 0, 255));
        EXPECT_EQ(credits->StaticText1.TextColor(), RGB(0, 255, 0));
        EXPECT_EQ(credits->StaticText1.BackgroundColor(), RGB(0, 0, 128));
        EXPECT_NE(::GetWindowLongA(credits->StaticText1.Handle(), GWL_STYLE) & SS_SUNKEN, 0);

        // Seven lines of credits, read-only, the web page among them.
        const std::string memo = credits->Memo1.Text();
        std::vector<std::string> lines;
        for (std::size_t at = 0, end; at <= memo.size(); at = end + 2) {
            end = std::min(memo.find("\r\n", at), memo.size());
            lines.push_back(memo.substr(at, end - at));
        }
        ASSERT_EQ(lines.size(), 7u) << memo;
        EXPECT_TRUE(lines[2].empty() && lines[4].empty());
        EXPECT_TRUE(lines[3].starts_with("E-Mail-> "));
        EXPECT_EQ(lines[5], std::string("Página Web-> ") + kWebPage);
        const LONG memoStyle = ::GetWindowLongA(credits->Memo1.Handle(), GWL_STYLE);
        EXPECT_EQ(memoStyle & (ES_READONLY | ES_MULTILINE | WS_VSCROLL),
                  ES_READONLY | ES_MULTILINE | WS_VSCROLL);

        // The OK button: red at the top, the highlight colour at the bottom, a yellow caption.
        const Painted button = PaintedClient(credits->CoolBtn1.Handle());
        ASSERT_EQ(button.width, 75);
        EXPECT_TRUE(Near(button.At(37, 2), 0xFF0000, 12)) << std::hex << button.At(37, 2);
        EXPECT_TRUE(Near(button.At(37, 78), Rgb(::GetSysColor(COLOR_HIGHLIGHT)), 12))
            << std::hex << button.At(37, 78);
        EXPECT_NE(std::count(button.pixels.begin(), button.pixels.end(), 0xFFFF00u), 0);
        app::DestroyForms();
    }
}

TEST_F(SplashAndCredits, TheWebAddressShowsTheHandAndStartsTheSameWebPageAsTheToolBar) {
    StartAndShow();
    const HWND address = credits->StaticText1.Handle();
    ::SendMessageA(address, WM_SETCURSOR, reinterpret_cast<WPARAM>(address),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));

    ClickToolButton(Main().barra1.Handle(), 8);
    ::SendMessageA(address, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::SendMessageA(address, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    PumpMessages();
    ASSERT_EQ(shell_->requests.size(), 2u);
    EXPECT_EQ(shell_->requests[0].file, kWebPage);
    EXPECT_EQ(shell_->requests[1].file, kWebPage);
    EXPECT_EQ(shell_->requests[1].owner, reinterpret_cast<std::uintptr_t>(inicio->Handle()));
}

bool timedOut = false;
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
    timedOut = true;
    credits->Close();
}

TEST_F(SplashAndCredits, CreditsOpenFromTheHelpMenuAndOkOrEscapeCloseThem) {
    StartAndShow();
    ChooseMenuItem(Main().Handle(), 3, 1);
    ASSERT_EQ(modalWindows_.size(), 1u);
    EXPECT_EQ(modalWindows_[0], reinterpret_cast<std::uintptr_t>(credits->Handle()));

    // From here the real modal loop runs, with what a user does already waiting.
    platform::SetModalHandler({});
    const HWND ok = credits->CoolBtn1.Handle(), memo = credits->Memo1.Handle();
    struct Case {
        const char* name;
        HWND target;
        std::vector<UINT> messages;
        WPARAM key;
    };
    const Case cases[] = {
        {"a click on OK", ok, {WM_LBUTTONDOWN, WM_LBUTTONUP}, 0},
        {"Space on OK", ok, {WM_KEYDOWN, WM_KEYUP}, VK_SPACE},
        {"Escape in the credit lines", memo, {WM_KEYDOWN, WM_KEYUP}, VK_ESCAPE},
        {"Escape on OK", ok, {WM_KEYDOWN, WM_KEYUP}, VK_ESCAPE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (UINT message : c.messages) {
            ::PostMessageA(c.target, message, c.key,
                           c.key != 0 ? (message == WM_KEYUP ? 0xC0000001 : 1)
                                      : MAKELPARAM(30, 30));
        }
        timedOut = false;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 5000, GiveUp);
        Main().Crditos1Click();
        ::KillTimer(nullptr, timer);
        EXPECT_FALSE(timedOut) << "still open after five seconds";
        EXPECT_FALSE(::IsWindowVisible(credits->Handle()));
        EXPECT_TRUE(::IsWindowEnabled(Main().Handle()));
    }
}

} // namespace
