// The main window from the keyboard: Tab and Shift+Tab, Alt and a button's letter.

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <windows.h>

#include "tests/win32/ProgramFixture.h"
#include "ui/Application.h"

namespace {

class Keyboard : public ProgramFixture {};

void SetShift(bool down) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

// Presses Tab, or Shift+Tab, where the focus is, as the message loop receives it, and
// returns where the focus went.
HWND PressTab(bool shift) {
    SetShift(shift);
    ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    ui::App().ProcessMessages();
    SetShift(false);
    return ::GetFocus();
}

TEST_F(Keyboard, TabMovesThroughTheTabsThePageInViewAndTheList) {
    StartAndShow();
    TPRINCIPAL& main = Main();
    const HWND tabs = main.v.Handle(), slider = main.Barra_Nivel.Handle(),
               list = main.lista.Handle();
    const HWND actions = main.barra1.Handle(), tools = main.barra2.Handle(),
               languages = main.ToolBar1.Handle();
    ::SetFocus(main.Handle());
    EXPECT_EQ(::GetFocus(), tabs) << "the window hands the focus on to its first control";
    struct Case {
        int page;
        std::vector<HWND> cycle; // from the tabs, Tab after Tab, back to the tabs
    };
    const Case cases[] = {
        {0, {actions, list, tabs}},
        {1, {slider, list, tabs}},
        {2, {tools, list, tabs}},
        {3, {languages, list, tabs}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        main.v.SetActivePageIndex(c.page);
        ::SetFocus(tabs);
        for (HWND expected : c.cycle) {
            EXPECT_EQ(PressTab(false), expected);
        }
        // Shift+Tab goes the same way back.
        for (auto at = c.cycle.rbegin() + 1; at != c.cycle.rend(); ++at) {
            EXPECT_EQ(PressTab(true), *at);
        }
        EXPECT_EQ(PressTab(true), tabs);
    }
    // On a tool bar the arrows choose a button and Space or Enter presses it.
    int english = 0;
    main.eng.OnClick = [&] { ++english; };
    main.v.SetActivePageIndex(3);
    ::SetFocus(tabs);
    ASSERT_EQ(PressTab(false), languages);
    for (WPARAM key : {VK_RIGHT, VK_SPACE, VK_RETURN}) {
        ::PostMessageA(languages, WM_KEYDOWN, key, 1);
        ::PostMessageA(languages, WM_KEYUP, key, 0xC0000001);
        ui::App().ProcessMessages();
    }
    EXPECT_EQ(english, 2);
    // Coming back to the window, the focus returns to the control that had it.
    main.v.SetActivePageIndex(1);
    ::SetFocus(slider);
    ::SendMessageA(main.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    ::SetFocus(main.Handle());
    EXPECT_EQ(::GetFocus(), slider);
}

TEST_F(Keyboard, AltAndTheUnderlinedLetterPressesTheButtonOnThePageInView) {
    StartAndShow();
    TPRINCIPAL& main = Main();
    std::vector<std::string> pressed;
    const std::pair<ui::ToolButton*, const char*> buttons[] = {
        {&main.Bnuevo, "Bnuevo"}, {&main.Babrir, "Babrir"},     {&main.Bcerrar, "Bcerrar"},
        {&main.Bver, "Bver"},     {&main.Bextraer, "Bextraer"}, {&main.Bsalir, "Bsalir"},
        {&main.Bbloc, "Bbloc"},   {&main.cas, "cas"},
    };
    for (const auto& [button, name] : buttons) {
        button->OnClick = [&pressed, name = std::string(name)] { pressed.push_back(name); };
    }
    // Through the message loop, as the keyboard delivers it.
    ::SetFocus(main.lista.Handle());
    ::PostMessageA(main.lista.Handle(), WM_SYSCHAR, 'n', 1 << 29);
    ui::App().ProcessMessages();
    EXPECT_EQ(pressed, std::vector<std::string>{"Bnuevo"});

    struct Case {
        const char* name;
        int page;
        bool english;
        char key;
        const char* button; // nullptr: none, the key goes on to the menu bar
    };
    const Case cases[] = {
        {"&Nuevo", 0, false, 'N', "Bnuevo"},
        {"&Abrir, small letter", 0, false, 'a', "Babrir"},
        {"&Salir", 0, false, 's', "Bsalir"},
        {"C&errar is grey", 0, false, 'e', nullptr},
        {"E&xtraer is grey", 0, false, 'x', nullptr},
        {"no button has it", 0, false, 'q', nullptr},
        {"a menu's letter", 0, false, 'f', nullptr},
        {"the first page is not in view", 1, false, 'n', nullptr},
        {"the language page has no access keys", 3, false, 'h', nullptr},
        {"&Open", 0, true, 'o', "Babrir"},
        {"E&xit", 0, true, 'x', "Bsalir"},
        {"&New", 0, true, 'n', "Bnuevo"},
        {"&View is grey", 0, true, 'v', nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.english) {
            main.confi.Set(3, "2");
            main.ActualizaOpciones();
        }
        main.v.SetActivePageIndex(c.page);
        pressed.clear();
        MSG message{};
        message.hwnd = main.lista.Handle();
        message.message = WM_SYSCHAR;
        message.wParam = static_cast<unsigned char>(c.key);
        EXPECT_EQ(ui::Application::PreTranslate(message), c.button != nullptr);
        EXPECT_EQ(pressed,
                  c.button ? std::vector<std::string>{c.button} : std::vector<std::string>{});
    }
    // While an operation keeps the window disabled its buttons take no keys.
    main.SetEnabled(false);
    pressed.clear();
    MSG altN{};
    altN.hwnd = main.Handle();
    altN.message = WM_SYSCHAR;
    altN.wParam = 'n';
    EXPECT_FALSE(ui::Application::PreTranslate(altN));
    EXPECT_TRUE(pressed.empty());
    main.SetEnabled(true);
    // A button that becomes enabled answers its letter.
    main.v.SetActivePageIndex(0);
    main.Bcerrar.SetEnabled(true);
    pressed.clear();
    ::PostMessageA(main.lista.Handle(), WM_SYSCHAR, 'c', 1 << 29);
    ui::App().ProcessMessages();
    EXPECT_EQ(pressed, std::vector<std::string>{"Bcerrar"}) << "&Close in English";
}

} // namespace
