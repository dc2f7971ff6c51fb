// The control wrappers the dialogs are built from, on a form of their own.

#include <gtest/gtest.h>

#include <windows.h>

#include "platform/FileDialogs.h"
#include "tests/win32/Readback.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/OpenDialog.h"
#include "ui/RadioGroup.h"

namespace {

ui::FormDesign TestForm() {
    ui::FormDesign design;
    design.className = "TControlsTest";
    design.caption = "controls";
    design.width = 400;
    design.height = 300;
    design.visible = true;
    return design;
}

TEST(Controls, ButtonsChecksOptionsAndEditsAnswerTheUser) {
    ui::Form form(TestForm());
    ui::Button button;
    button.Create(form.Handle(), {.left = 10,
                                  .top = 10,
                                  .width = 80,
                                  .height = 24,
                                  .caption = "---->",
                                  .font = {.name = "MS Sans Serif", .height = -15, .bold = true}});
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    ::SendMessageA(button.Handle(), BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(WindowCaption(button.Handle()), "---->");

    ui::CheckBox check;
    check.Create(form.Handle(), {.left = 10,
                                 .top = 40,
                                 .width = 150,
                                 .height = 20,
                                 .caption = "Restaurar directorios",
                                 .checked = true});
    EXPECT_TRUE(check.Checked());
    ::SendMessageA(check.Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(check.Checked());

    ui::RadioGroup group;
    group.Create(form.Handle(), {.left = 10,
                                 .top = 70,
                                 .width = 180,
                                 .height = 100,
                                 .caption = "Borrar los archivos...",
                                 .items = {"Todos", "Solo Seleccionados"},
                                 .itemIndex = 0});
    EXPECT_EQ(WindowCaption(group.Handle()), "Borrar los archivos...");
    EXPECT_EQ(group.ItemIndex(), 0);
    EXPECT_EQ(group.Item(1), "Solo Seleccionados");
    group.SetItem(1, "Only selected");
    EXPECT_EQ(group.Item(1), "Only selected");
    group.SetItemIndex(1);
    EXPECT_EQ(group.ItemIndex(), 1);

    ui::Edit edit;
    edit.Create(form.Handle(), {.left = 200,
                                .top = 10,
                                .width = 150,
                                .height = 24,
                                .text = "c:\\",
                                .readOnly = true,
                                .enabled = false});
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    edit.SetText("c:\\datos");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(WindowCaption(edit.Handle()), "c:\\datos");
    EXPECT_FALSE(::IsWindowEnabled(edit.Handle()));
    EXPECT_NE(::GetWindowLongA(edit.Handle(), GWL_STYLE) & ES_READONLY, 0);
}

TEST(Controls, AnOpenDialogAsksThroughTheSeamWithItsSettings) {
    ui::Form form(TestForm());
    std::vector<platform::OpenFileRequest> asked;
    platform::OpenFileResult answer = std::vector<std::string>{"C:\\a.zip", "C:\\b.zip"};
    const platform::OpenFileHandler previous =
        platform::SetOpenFileHandler([&](const platform::OpenFileRequest& request) {
            asked.push_back(request);
            return answer;
        });
    platform::OpenFileRequest design;
    design.title = "Añadir / Add";
    design.filter = "*.*";
    design.allowMultiSelect = true;
    ui::OpenDialog dialog(design);
    dialog.SetInitialDir("d:\\datos\\");
    EXPECT_TRUE(dialog.Execute(form.Handle()));
    EXPECT_EQ(dialog.Files(), (std::vector<std::string>{"C:\\a.zip", "C:\\b.zip"}));
    EXPECT_EQ(dialog.FileName(), "C:\\a.zip");
    answer = std::nullopt;
    EXPECT_FALSE(dialog.Execute(form.Handle())) << "cancelled";
    platform::SetOpenFileHandler(previous);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].owner, reinterpret_cast<std::uintptr_t>(form.Handle()));
    EXPECT_EQ(asked[0].initialDir, "d:\\datos\\");
    EXPECT_EQ(asked[0].title, "Añadir / Add");
    EXPECT_TRUE(asked[0].allowMultiSelect);
}

} // namespace
