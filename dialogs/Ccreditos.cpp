#include "dialogs/Ccreditos.h"

#include "ui/Resource.h"

Tcredits* credits = nullptr;

namespace {

const char kCredits[] = "Ruvel Soft, el equipo de Tarvox\r\n"
                        "Villarchivo del Campo, España\r\n"
                        "\r\n"
                        "E-Mail-> tarvox@ruvelsoft.example  soporte@ruvelsoft.example\r\n"
                        "\r\n"
                        "Página Web-> www.ruvelsoft.example/tarvox/\r\n"
                        "             www.ruvelsoft.example/";

ui::FormDesign Design() {
    ui::FormDesign design;
    design.className = "Tcredits";
    design.caption = "Créditos";
    design.width = 537;
    design.height = 381;
    design.style = WS_POPUP;
    design.position = ui::FormPosition::DesktopCenter;
    design.font = {"MS Sans Serif", -11};
    design.systemColor = COLOR_WINDOWFRAME;
    design.clientSize = true;
    return design;
}

} // namespace

Tcredits::Tcredits() : ui::Form(Design()) {
    Label1.Create(Handle(), {.left = 56,
                             .top = 16,
                             .width = 297,
                             .height = 20,
                             .caption = "     Tarvox v4.1.0",
                             .font = {.name = "MS Sans Serif", .height = -16, .bold = true},
                             .textColor = RGB(0, 255, 0),
                             .color = RGB(0, 0, 255)});
    Image1.Create(Handle(), {.left = 45, .top = 47, .width = 300, .height = 82});
    Image1.LoadJpeg(ui::ResourceData("LOGO"));
    Memo1.Create(Handle(), {.left = 23,
                            .top = 139,
                            .width = 358,
                            .height = 86,
                            .text = kCredits,
                            .font = {.name = "MS Sans Serif", .height = -12, .bold = true},
                            .readOnly = true,
                            .multiLine = true});
    StaticText1.Create(Handle(),
                       {.left = 89,
                        .top = 233,
                        .width = 233,
                        .height = 24,
                        .caption = "www.ruvelsoft.example/tarvox/",
                        .font = {.name = "MS Sans Serif", .height = -16, .underline = true},
                        .textColor = RGB(0, 255, 0),
                        .color = RGB(0, 0, 128),
                        .sunken = true,
                        .handCursor = true});
    StaticText1.OnClick = [this] { StaticText1Click(); };
    Image2.Create(Handle(), {.left = 56, .top = 264, .width = 329, .height = 89});
    Image2.LoadJpeg(ui::ResourceData("CREDITOS"));
    CoolBtn1.Create(Handle(), {.left = 408,
                               .top = 144,
                               .width = 75,
                               .height = 81,
                               .caption = "OK",
                               .font = {.name = "MS Sans Serif", .height = -16, .bold = true},
                               .textColor = RGB(255, 255, 0)});
    CoolBtn1.OnClick = [this] { CoolBtn1Click(); };
    SetTabOrder({&Memo1, &CoolBtn1});
    OnEnterKey = [this] { Close(); };
    OnEscapeKey = [this] { Close(); };
    // Escape reaches a modal window as the cancel command.
    OnMessage = [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
            Close();
            result = 0;
            return true;
        }
        return false;
    };
}

void Tcredits::CoolBtn1Click() {
    Close();
}

void Tcredits::StaticText1Click() {
    if (Launch) {
        Launch(6);
    }
}
