// The application-wide guard, modal showing and the menu's hidden items.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "dialogs/Cdesc.h"
#include "platform/Modal.h"
#include "tests/win32/ProgramFixture.h"
#include "tests/win32/Readback.h"
#include "util/Errors.h"

namespace {

class WindowMachinery : public ProgramFixture {};

TEST_F(WindowMachinery, AnErrorInAHandlerIsShownAndTheProgramGoesOn) {
    StartAndShow();
    int ran = 0;
    const auto fail = [&] {
        ++ran;
        throw util::FileOpenError("C:\\x.zip");
    };
    // A menu command, a message of the form's own, an access key: every event of a form.
    struct Case {
        const char* name;
        std::function<void()> bind, raise;
    };
    const Case cases[] = {
        {"menu", [&] { Main().Mconfiguracion.OnClick = fail; },
         [&] { ChooseMenuItem(Main().Handle(), 1, 0); }},
        {"message",
         [&] {
             Main().OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
                 return message == WM_APP && (fail(), true);
             };
         },
         [&] { ::SendMessageA(Main().Handle(), WM_APP, 0, 0); }},
        {"access key",
         [&] {
             Main().OnAccessKey = [&](char) {
                 fail();
                 return true;
             };
         },
         [&] {
             MSG key{Main().Handle(), WM_SYSCHAR, 'q', 0, 0, {}};
             EXPECT_FALSE(Main().PreTranslateKey(key)) << "a failed handler took nothing";
         }},
    };
    for (const Case& c : cases) {
        ran = 0;
        ClearMessages();
        c.bind();
        c.raise();
        c.raise();
        EXPECT_EQ(ran, 2) << c.name;
        ASSERT_EQ(Messages(), (std::vector<std::string>{"Cannot open file C:\\x.zip",
                                                        "Cannot open file C:\\x.zip"}))
            << c.name;
        const platform::MessageBoxRequest& box = MessageRequests()[0];
        EXPECT_EQ(box.caption, "Tarvox");
        EXPECT_EQ(box.style, platform::kMbOk | platform::kMbIconError);
        EXPECT_EQ(box.owner, platform::kActiveWindow);
    }
    // The window still answers.
    ClickToolButton(Main().ToolBar1.Handle(), 1);
    EXPECT_EQ(Main().confi.Get(3), "2");
}

TEST_F(WindowMachinery, AModalFormKeepsTheOtherWindowsWaitingUntilItCloses) {
    StartAndShow();
    const platform::ModalHandler recording = platform::SetModalHandler(nullptr);
    bool mainEnabledMeanwhile = true;
    bool shown = false;
    descompri->OnShow = [&] {
        shown = true;
        mainEnabledMeanwhile = ::IsWindowEnabled(Main().Handle()) != FALSE;
        ::PostMessageA(descompri->Handle(), WM_CLOSE, 0, 0);
    };
    descompri->ShowModal();
    platform::SetModalHandler(recording);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(mainEnabledMeanwhile);
    EXPECT_TRUE(::IsWindowEnabled(Main().Handle()));
    EXPECT_FALSE(::IsWindowVisible(descompri->Handle()));
}

TEST_F(WindowMachinery, HiddenMenuItemsComeBackInTheirPlace) {
    Start();
    TPRINCIPAL& main = Main();
    main.ult3.SetCaption("c:\\tres.zip");
    main.ult3.SetVisible(true);
    main.ult1.SetCaption("c:\\uno.zip");
    main.ult1.SetVisible(true);
    auto items = DropDown(main.Handle(), 0);
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[5].caption, "c:\\uno.zip");
    EXPECT_EQ(items[6].caption, "c:\\tres.zip");
    main.Mcerrar.SetEnabled(true);
    main.ult1.SetVisible(false);
    items = DropDown(main.Handle(), 0);
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[2], (MenuEntry{"Cerrar", true}));
    EXPECT_EQ(items[5].caption, "c:\\tres.zip");
    // A disabled item does nothing when chosen.
    int clicks = 0;
    main.Mcerrar.OnClick = [&] { ++clicks; };
    main.Mcerrar.SetEnabled(false);
    ChooseMenuItem(main.Handle(), 0, 2);
    EXPECT_EQ(clicks, 0);
}

TEST_F(WindowMachinery, DisabledToolButtonsIgnoreClicks) {
    StartAndShow();
    int clicks = 0;
    Main().Bcerrar.OnClick = [&] { ++clicks; };
    ClickToolButton(Main().barra1.Handle(), 2);
    EXPECT_EQ(clicks, 0);
    Main().Bcerrar.SetEnabled(true);
    ClickToolButton(Main().barra1.Handle(), 2);
    EXPECT_EQ(clicks, 1);
}

} // namespace
