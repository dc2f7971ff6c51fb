// The configuration and folders dialogs: picking the two folders in the tree, handing them
// back, storing and applying them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <windows.h>

#include "dialogs/Cconfi.h"
#include "dialogs/Cdirini.h"
#include "main/Cdatos.h"
#include "tests/win32/ArchiveWindowFixture.h"
#include "tests/win32/Readback.h"

namespace {

enum class Way { Ok, Cancel, CloseBox };

struct ConfigCase {
    const char* name;
    Way folders, configuration;
    bool foldersBack, stored;
};

class Configuration : public ArchiveWindow, public ::testing::WithParamInterface<ConfigCase> {};

void Leave(ui::Form& form, ui::ToolBar& bar, Way way) {
    if (way == Way::CloseBox) {
        ::SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    } else {
        ClickToolButton(bar.Handle(), way == Way::Ok ? 0 : 1);
    }
}

TEST_P(Configuration, PicksHandsBackStoresAndAppliesTheFolders) {
    const ConfigCase& c = GetParam();
    std::filesystem::create_directories(Scratch("ini"));
    std::filesystem::create_directories(Scratch("tmp"));
    WriteSettings("c:\\\r\nc:\\\r\nc:\\\r\n1\r\n", "");
    StartAndShow();
    std::vector<std::string> shown, fieldsAfterFolders;
    const auto fixtureModal = platform::SetModalHandler([&](const platform::ModalRequest& r) {
        r.show();
        if (r.window == reinterpret_cast<std::uintptr_t>(config->Handle())) {
            shown.push_back(config->dirini.Text() + "|" + config->dirtem.Text());
            EXPECT_FALSE(config->dirini.Enabled());
            // The button shows the shell's folder picture: its middle row, inside the
            // outline, is not the gradient's one colour.
            const Painted button = PaintedClient(config->CoolBtn1.Handle());
            const auto row = button.pixels.begin() + button.width * (button.height / 2);
            EXPECT_NE(std::count(row + 8, row + button.width - 8, row[8]), button.width - 16);
            ::SendMessageA(config->CoolBtn1.Handle(), BM_CLICK, 0, 0);
            fieldsAfterFolders.push_back(config->dirini.Text() + "|" + config->dirtem.Text());
            Leave(*config, config->ToolBar2, c.configuration);
        } else {
            EXPECT_EQ(r.window, reinterpret_cast<std::uintptr_t>(direk->Handle()));
            // The tree opens at the start-up folder; each option takes the selection.
            const bool again = !fieldsAfterFolders.empty();
            EXPECT_EQ(direk->dir.Path(), again && c.stored ? Scratch("ini") : "C:\\");
            direk->dir.SetPath(Scratch("ini"));
            ::SendMessageA(direk->ct.Handle(), BM_CLICK, 0, 0);
            EXPECT_FALSE(direk->dirini.Enabled());
            EXPECT_EQ(direk->dirtem.Text(), config->dirtem.Text()) << "switching copies nothing";
            direk->dir.SetPath(Scratch("tmp"));
            EXPECT_EQ(direk->dirini.Text(), Scratch("ini"));
            EXPECT_EQ(direk->dirtem.Text(), Scratch("tmp"));
            ::SendMessageA(direk->ci.Handle(), BM_CLICK, 0, 0);
            Leave(*direk, direk->ToolBar1, c.folders);
        }
        EXPECT_TRUE(r.closed());
        r.hide();
    });
    Main().MconfiguracionClick();
    Main().MconfiguracionClick();
    platform::SetModalHandler(fixtureModal);

    const std::string picked = Scratch("ini") + "|" + Scratch("tmp");
    const std::string before = "c:\\|c:\\";
    EXPECT_EQ(fieldsAfterFolders.at(0), c.foldersBack ? picked : before);
    EXPECT_EQ(shown, (std::vector<std::string>{before, c.stored ? picked : before}));
    EXPECT_EQ(Main().confi.Get(0), c.stored ? Scratch("ini") : "c:\\");
    EXPECT_EQ(Main().confi.Get(1), c.stored ? Scratch("tmp") : "c:\\");
    EXPECT_EQ(Datos.DirInicial, c.stored ? Scratch("ini") + "\\" : "c:\\");
    EXPECT_EQ(Datos.DirTemporal, c.stored ? Scratch("tmp") + "\\" : "c:\\");
    EXPECT_EQ(Main().ABRE.InitialDir(), Datos.DirInicial);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, Configuration,
    ::testing::Values(ConfigCase{"OkOk", Way::Ok, Way::Ok, true, true},
                      ConfigCase{"OkThenCancel", Way::Ok, Way::Cancel, true, false},
                      ConfigCase{"OkThenCloseBox", Way::Ok, Way::CloseBox, true, false},
                      ConfigCase{"CancelThenOk", Way::Cancel, Way::Ok, false, false},
                      ConfigCase{"CloseBoxThenOk", Way::CloseBox, Way::Ok, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
