// Every window from the keyboard: Tab and Shift+Tab, the arrows, Enter and Escape, the
// list's keys, Alt and a button's letter.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>
#include <windows.h>

#include <commctrl.h>

#include "dialogs/Cborra.h"
#include "dialogs/Ccomprobar.h"
#include "dialogs/Cconfi.h"
#include "dialogs/Ccreditos.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Cdirini.h"
#include "platform/Messages.h"
#include "platform/Modal.h"
#include "tests/win32/ArchiveWindowFixture.h"
#include "tests/win32/ProgramFixture.h"
#include "tests/win32/Readback.h"
#include "ui/Application.h"

namespace {

class Keyboard : public ProgramFixture {};

void SetKey(int key, bool down) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

void SetShift(bool down) {
    SetKey(VK_SHIFT, down);
}

HWND Option(const ui::Form& form, const char* caption) {
    return ::FindWindowExA(form.Handle(), nullptr, "Button", caption);
}

int HotButton(HWND toolBar) {
    return static_cast<int>(::SendMessageA(toolBar, TB_GETHOTITEM, 0, 0));
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

TEST_F(Keyboard, AltAndTheUnderlinedLetterPressesTheButtonFromAnyPage) {
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
        {"from another page, which comes into view", 1, false, 'n', "Bnuevo"},
        {"the language page has no access keys", 3, false, 'h', nullptr},
        {"O&pen", 0, true, 'p', "Babrir"},
        {"Alt+O is the Options menu's", 0, true, 'o', nullptr},
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
        // Every button with a letter is on the first page.
        EXPECT_EQ(main.v.ActivePageIndex(), c.button ? 0 : c.page);
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

// In every dialog Tab goes through each control, each button of a row of buttons
// included, top to bottom and back to the first; Shift+Tab goes the same way back.
TEST_F(Keyboard, TabReachesEveryControlOfEachDialog) {
    StartAndShow();
    struct Stop {
        HWND window;
        int hot = -1; // the row's button that the keyboard chose
    };
    struct Case {
        const char* name;
        ui::Form* form;
        std::vector<Stop> stops;
    };
    const HWND deleteBar = borra->ToolBar1.Handle(), extractBar = descompri->ToolBar1.Handle(),
               configBar = config->ToolBar2.Handle(), foldersBar = direk->ToolBar1.Handle();
    const Case cases[] = {
        {"delete", borra, {{Option(*borra, "Todos")}, {deleteBar, 0}, {deleteBar, 1}}},
        {"extract",
         descompri,
         {{descompri->direk.Handle()},
          {descompri->Button1.Handle()},
          {extractBar, 0},
          {extractBar, 1},
          {extractBar, 2},
          {descompri->dir.Handle()},
          {descompri->c1.Handle()},
          {descompri->c2.Handle()},
          {descompri->c3.Handle()},
          {descompri->c4.Handle()},
          {Option(*descompri, "Todos")}}},
        {"configuration", config, {{config->CoolBtn1.Handle()}, {configBar, 0}, {configBar, 1}}},
        {"folders",
         direk,
         {{direk->dirini.Handle()},
          {direk->ct.Handle()},
          {direk->ci.Handle()},
          {direk->dir.Handle()},
          {foldersBar, 0},
          {foldersBar, 1}}},
        {"credits", credits, {{credits->Memo1.Handle()}, {credits->CoolBtn1.Handle()}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.form->Show();
        ::SetFocus(c.stops.front().window);
        const auto expect = [](const Stop& stop, HWND focus) {
            EXPECT_EQ(focus, stop.window);
            if (stop.hot >= 0) {
                EXPECT_EQ(HotButton(stop.window), stop.hot);
            }
        };
        for (std::size_t i = 1; i <= c.stops.size(); ++i) {
            expect(c.stops[i % c.stops.size()], PressTab(false));
        }
        for (std::size_t i = c.stops.size(); i-- > 0;) {
            expect(c.stops[i], PressTab(true));
        }
        c.form->Hide();
    }
    // The arrows choose among a group's options, round from the last to the first.
    borra->Show();
    ::SetFocus(Option(*borra, "Todos"));
    for (int expected : {1, 0, 1}) {
        PressKey(VK_DOWN);
        EXPECT_EQ(borra->opc.ItemIndex(), expected);
    }
    PressKey(VK_UP);
    EXPECT_EQ(borra->opc.ItemIndex(), 0);
    EXPECT_EQ(::GetFocus(), Option(*borra, "Todos"));
    borra->Hide();
}

// Enter presses the button that has the focus, or else the dialog's main button; Escape
// cancels. What each did shows in what it leaves behind.
TEST_F(Keyboard, EnterPressesTheMainButtonAndEscapeCancels) {
    StartAndShow();
    TPRINCIPAL& main = Main();
    struct Case {
        const char* name;
        ui::Form* form;
        std::function<HWND()> focus;
        int hot; // a button of a row chosen first, -1 for none
        WPARAM key;
        bool closes;
        std::function<void()> check;
    };
    const auto deleted = [&] { EXPECT_FALSE(main.Bver.Enabled()) << "Borrar was pressed"; };
    const auto notDeleted = [&] { EXPECT_TRUE(main.Bver.Enabled()) << "Borrar was not pressed"; };
    const auto stored = [&](bool yes) {
        return [&main, yes] { EXPECT_EQ(main.confi.Get(0) == "d:\\nuevo", yes); };
    };
    const auto none = [] {};
    const Case cases[] = {
        {"delete: Escape", borra, [] { return Option(*borra, "Todos"); }, -1, VK_ESCAPE, true,
         notDeleted},
        {"delete: Enter", borra, [] { return Option(*borra, "Todos"); }, -1, VK_RETURN, true,
         deleted},
        {"delete: Enter on Cancelar", borra, [] { return borra->ToolBar1.Handle(); }, 1, VK_RETURN,
         true, notDeleted},
        {"extract: Escape", descompri, [] { return descompri->direk.Handle(); }, -1, VK_ESCAPE,
         true, none},
        {"extract: Enter in the folder field goes to the typed folder", descompri,
         [] {
             descompri->direk.SetText("C:\\windows");
             return descompri->direk.Handle();
         },
         -1, VK_RETURN, false, [] { EXPECT_EQ(descompri->dir.Path(), "C:\\windows"); }},
        {"extract: Enter extracts, and with no archive says it could not", descompri,
         [] { return descompri->c1.Handle(); }, -1, VK_RETURN, false,
         [&] {
             EXPECT_TRUE(std::any_of(
                 MessageRequests().begin(), MessageRequests().end(),
                 [](const auto& request) { return request.caption == "Imposible descomprimir"; }));
         }},
        {"configuration: Escape", config, [] { return config->CoolBtn1.Handle(); }, -1, VK_ESCAPE,
         true, stored(false)},
        {"configuration: Enter on Ok", config, [] { return config->ToolBar2.Handle(); }, 0,
         VK_RETURN, true, stored(true)},
        {"folders: Escape", direk, [] { return direk->dir.Handle(); }, -1, VK_ESCAPE, true,
         [] { EXPECT_NE(config->dirtem.Text(), "e:\\otro"); }},
        {"folders: Enter", direk, [] { return direk->ct.Handle(); }, -1, VK_RETURN, true,
         [] { EXPECT_EQ(config->dirtem.Text(), "e:\\otro"); }},
        {"credits: Escape", credits, [] { return credits->Memo1.Handle(); }, -1, VK_ESCAPE, true,
         none},
        {"test results: Escape", &Comprobador(), [] { return Comprobador().danyadas.Handle(); }, -1,
         VK_ESCAPE, true, none},
        {"test results: Enter", &Comprobador(), [] { return Comprobador().danyadas.Handle(); }, -1,
         VK_RETURN, true, none},
        {"credits: Enter", credits, [] { return credits->CoolBtn1.Handle(); }, -1, VK_RETURN, true,
         none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        main.Bver.SetEnabled(true);
        c.form->Show();
        config->dirini.SetText("d:\\nuevo");
        direk->dirtem.SetText("e:\\otro");
        ::SetFocus(c.focus());
        if (c.hot >= 0) {
            ::SendMessageA(c.focus(), TB_SETHOTITEM, static_cast<WPARAM>(c.hot), 0);
        }
        PressKey(c.key);
        EXPECT_EQ(!::IsWindowVisible(c.form->Handle()), c.closes);
        c.check();
        c.form->Hide();
    }
}

TEST_F(Keyboard, AccessKeysAreUniqueInTheMainWindowInBothLanguages) {
    StartAndShow();
    TPRINCIPAL& main = Main();
    for (const char* language : {"1", "2"}) {
        SCOPED_TRACE(language);
        main.confi.Set(3, language);
        main.ActualizaOpciones();
        std::vector<std::string> captions;
        for (const MenuEntry& menu : MenuBar(main.Handle())) {
            captions.push_back(menu.caption);
        }
        for (HWND bar : {main.barra1.Handle(), main.barra2.Handle(), main.ToolBar1.Handle()}) {
            for (const ToolButtonState& button : ToolButtons(bar)) {
                captions.push_back(button.caption);
            }
        }
        std::set<char> keys;
        int marked = 0;
        for (const std::string& caption : captions) {
            const std::size_t at = caption.find('&');
            if (at != std::string::npos && at + 1 < caption.size()) {
                ++marked;
                EXPECT_TRUE(keys.insert(static_cast<char>(::toupper(caption[at + 1]))).second)
                    << caption;
            }
        }
        EXPECT_EQ(marked, 12) << "eight buttons and four menus";
    }
}

class ListKeys : public ArchiveWindow {};

// A user's session in the program's own modal loops: what opens a dialog runs as the
// program runs it, and a thread timer plays one step a tick inside whatever loop is
// running (a dialog's, a message box's). After the last step every window still up is
// closed, so that a key that did nothing fails the test instead of hanging it.
std::vector<std::function<void()>>* playing = nullptr;
std::size_t played = 0;
bool leftovers = false; // windows the player closed after its last step

BOOL CALLBACK CloseOne(HWND window, LPARAM) {
    if (::IsWindowVisible(window) && window != PRINCIPAL->Handle() &&
        window != ui::App().MainForm()->Handle()) {
        char name[16] = {};
        ::GetClassNameA(window, name, sizeof name);
        const bool box = std::string(name) == "#32770";
        ::PostMessageA(window, box ? WM_COMMAND : WM_CLOSE, box ? IDCANCEL : 0, 0);
        leftovers = true;
    }
    return TRUE;
}

void CALLBACK PlayStep(HWND, UINT, UINT_PTR, DWORD) {
    // The engine at work lets the timer in too: the step waits for it to end.
    if (PRINCIPAL->zip.ZipBusy() || PRINCIPAL->zip.UnzBusy()) {
        return;
    }
    if (played < playing->size()) {
        (*playing)[played++]();
    } else {
        ::EnumThreadWindows(::GetCurrentThreadId(), CloseOne, 0);
    }
}

// Returns how many steps were played: the dialog's loop ends with its window.
std::size_t Play(const std::function<void()>& open, std::vector<std::function<void()>> steps) {
    const auto fixtureModal = platform::SetModalHandler({});
    const auto fixtureBoxes = platform::SetMessageBoxHandler({});
    playing = &steps;
    played = 0;
    leftovers = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 80, PlayStep);
    open();
    ::KillTimer(nullptr, timer);
    playing = nullptr;
    platform::SetMessageBoxHandler(fixtureBoxes);
    platform::SetModalHandler(fixtureModal);
    return played;
}

// A key where the focus is, as the keyboard delivers it.
void PostKey(WPARAM key) {
    HWND focus = ::GetFocus();
    ::PostMessageA(focus, WM_KEYDOWN, key, 1);
    ::PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

// The focus on a button of a row of buttons, as Tab leaves it.
std::function<void()> FocusButton(const ui::ToolBar& bar, int index) {
    return [&bar, index] {
        ::SetFocus(bar.Handle());
        ::SendMessageA(bar.Handle(), TB_SETHOTITEM, static_cast<WPARAM>(index), 0);
    };
}

// The text of the message box up, empty when none is.
std::string BoxShown() {
    HWND box = ::FindWindowA("#32770", nullptr);
    char text[256] = {};
    if (box != nullptr) {
        ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    }
    return text;
}

class RealLoops : public ArchiveWindow {
protected:
    std::string StartOnArchive() {
        std::filesystem::create_directory(Scratch("out"));
        WriteSettings("c:\\\r\nc:\\\r\n" + Scratch("out") + "\r\n1\r\n", "");
        const std::string archive =
            MakeArchive("k.zip", {testzip::Stored("a.txt", "1"), testzip::Stored("b.txt", "2"),
                                  testzip::Stored("c.txt", "3")});
        StartAndShow({archive});
        return archive;
    }
};

// Enter presses the button the keyboard is on, in every dialog, through the dialogs' own
// message loop: Space did, Enter went to the dialog's main button or nowhere.
TEST_F(RealLoops, EnterPressesTheFocusedButton) {
    const std::string archive = StartOnArchive();
    TPRINCIPAL& main = Main();
    struct Case {
        const char* name;
        std::function<void()> open;
        std::function<void()> focus;
        bool closes;                   // the dialog, at once
        std::function<void()> whileUp; // when it stays up
        std::function<void()> after;
    };
    bool folders = false;
    const auto none = [] {};
    const Case cases[] = {
        {"delete: Cancelar", [&] { main.BborrarClick(); }, FocusButton(borra->ToolBar1, 1), true,
         none, [&] { EXPECT_EQ(NamesOnDisk(archive).size(), 3u); }},
        {"delete: Borrar",
         [&] {
             main.lista.SetSelected(1, true);
             main.BborrarClick();
         },
         FocusButton(borra->ToolBar1, 0), true, none,
         [&] {
             EXPECT_EQ(NamesOnDisk(archive), (std::vector<std::string>{"a.txt", "c.txt"}));
         }},
        {"extract: Cancelar", [&] { main.BextraerClick(); }, FocusButton(descompri->ToolBar1, 2),
         true, none, [&] { EXPECT_FALSE(std::filesystem::exists(Scratch("out\\a.txt"))); }},
        {"extract: Descomprimir", [&] { main.BextraerClick(); },
         FocusButton(descompri->ToolBar1, 0), true, none,
         [&] { EXPECT_EQ(ReadFileBytes(Scratch("out\\c.txt")), "3"); }},
        {"configuration: the folders button opens Directorios", [&] { main.MconfiguracionClick(); },
         [] { ::SetFocus(config->CoolBtn1.Handle()); }, false,
         [&] { folders = ::IsWindowVisible(direk->Handle()) != FALSE; },
         [&] { EXPECT_TRUE(folders); }},
        {"configuration: Ok", [&] { main.MconfiguracionClick(); }, FocusButton(config->ToolBar2, 0),
         true, none, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::function<void()>> steps = {c.focus, [] { PostKey(VK_RETURN); }};
        if (!c.closes) {
            steps.push_back(c.whileUp);
        }
        Play(c.open, steps);
        EXPECT_EQ(leftovers, !c.closes) << "closed by Enter";
        c.after();
    }
}

// The delete dialog goes for the selected rows when there are any; emptying the archive
// is asked first, and Enter answers "No". Pressed through as a user would: Delete on the
// list, then Enter.
TEST_F(RealLoops, DeleteDefaultsKeepEveryEntryARowWasNotChosenFor) {
    const std::string archive = StartOnArchive();
    TPRINCIPAL& main = Main();
    ::SetFocus(main.lista.Handle());
    main.lista.SetSelected(2, true);
    const auto enter = [] { PostKey(VK_RETURN); };
    Play(
        [] {
            PostKey(VK_DELETE);
            ui::App().ProcessMessages();
        },
        {enter});
    EXPECT_EQ(NamesOnDisk(archive), (std::vector<std::string>{"a.txt", "b.txt"}));

    // No row selected: "Todos", and a question whose default keeps them.
    main.lista.SetSelected(-1, false);
    std::string question;
    EXPECT_EQ(Play(
                  [] {
                      PostKey(VK_DELETE);
                      ui::App().ProcessMessages();
                  },
                  {enter, [&] { question = BoxShown(); }, enter,
                   [] { EXPECT_TRUE(::IsWindowVisible(borra->Handle())) << "the dialog stays"; },
                   [] { PostKey(VK_ESCAPE); }}),
              5u);
    EXPECT_EQ(question, "¿Borrar las 2 entradas del archivo?");
    EXPECT_EQ(NamesOnDisk(archive), (std::vector<std::string>{"a.txt", "b.txt"}));
}

// On the list Ctrl+A selects every row, Enter views the selected entry and Delete opens
// the delete dialog, as the buttons do.
TEST_F(ListKeys, TheListTakesCtrlAEnterAndDelete) {
    std::filesystem::create_directory(Scratch("tmp"));
    WriteSettings("c:\\\r\n" + Scratch("tmp") + "\r\nc:\\\r\n1\r\n", "");
    StartAndShow(
        {MakeArchive("keys.zip", {testzip::Stored("a.txt", "1"), testzip::Stored("b.txt", "2")})});
    TPRINCIPAL& main = Main();
    ::SetFocus(main.lista.Handle());
    SetKey(VK_CONTROL, true);
    PressKey('A');
    SetKey(VK_CONTROL, false);
    EXPECT_EQ(main.lista.SelectedCount(), 2);

    main.lista.SetSelected(-1, false);
    main.lista.SetSelected(1, true);
    PressKey(VK_RETURN);
    ASSERT_EQ(shell_->requests.size(), 1u) << "the entry was viewed";
    EXPECT_NE(shell_->requests.front().file.find("b.txt"), std::string::npos);

    PressKey(VK_DELETE);
    ASSERT_FALSE(modalWindows_.empty());
    EXPECT_EQ(modalWindows_.back(), reinterpret_cast<std::uintptr_t>(borra->Handle()));
}

} // namespace
