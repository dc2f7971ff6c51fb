#include "dialogs/Cdesc.h"

#include <cctype>
#include <shlobj.h>
#include <vector>

#include "dialogs/Cclave.h"
#include "dialogs/DialogDesign.h"
#include "platform/FileHandle.h"
#include "platform/Messages.h"
#include "platform/ProgramPaths.h"
#include "resources/Notices.h"
#include "resources/TextTable.h"

Tdescompri* descompri = nullptr;

namespace {
constexpr int kSoloSeleccionados = 1;
// The program's image strip: 16-pixel images, of which the dialog shows extract (6),
// new (0) and stop (2).
constexpr int kImageSize = 16, kImageCount = 15;

ui::ToolButtonDesign Boton(const char* caption, int image, const char* hint = "") {
    ui::ToolButtonDesign design;
    design.caption = caption;
    design.image = image;
    design.hint = hint;
    design.showHint = *hint != '\0';
    return design;
}

// A box that belongs to no window, with a caption of its own.
void Aviso(const std::string& text, const char* caption) {
    platform::MessageBoxRequest request;
    request.text = text;
    request.caption = caption;
    platform::ShowMessageBox(request);
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// What the field shows without the blanks and quotes around it (a path pasted as
// copied from a file window).
std::string Escrito(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\"");
    return first == std::string::npos
               ? std::string()
               : text.substr(first, text.find_last_not_of(" \t\"") - first + 1);
}

// The folder a typed path names, whole and in the system's spelling ("C:\a\b", "C:\",
// "\\server\share\a"); empty for a path without its drive, which would name a folder
// of wherever the program happens to stand.
std::string CarpetaEntera(const std::string& escrito) {
    const bool unidad = escrito.size() >= 3 &&
                        std::isalpha(static_cast<unsigned char>(escrito[0])) && escrito[1] == ':' &&
                        IsSeparator(escrito[2]);
    const bool red = escrito.size() > 2 && IsSeparator(escrito[0]) && IsSeparator(escrito[1]);
    char entera[MAX_PATH] = {};
    const DWORD largo =
        unidad || red ? ::GetFullPathNameA(escrito.c_str(), MAX_PATH, entera, nullptr) : 0;
    if (largo == 0 || largo >= MAX_PATH) {
        return {};
    }
    std::string carpeta(entera, largo);
    while (carpeta.size() > 3 && carpeta.back() == '\\') {
        carpeta.pop_back();
    }
    return carpeta;
}
} // namespace

Tdescompri::Tdescompri(TZipEngine& zip, controls::ContentsList& lista, util::TextLines& confi,
                       const std::string& dirExtraccion)
    : ui::Form(DialogDesign("Tdescompri", "Descomprimir en ...", 480, 484, -10)),
      ToolButton1(Boton("Descomprimir", 6,
                        "Pulse aquí para descomprimir el archivo en el directorio seleccionado")),
      ToolButton2(Boton("Nuevo Directorio...", 0)), ToolButton3(Boton("Cancelar", 2)), zip_(zip),
      lista_(lista), confi_(confi), dirExtraccion_(dirExtraccion) {
    ui::EditDesign edit;
    edit.width = 287;
    edit.height = 27;
    edit.font = {"MS Sans Serif", -15};
    direk.Create(Handle(), edit);

    ui::ButtonDesign go;
    go.left = 293;
    go.top = 7;
    go.width = 39;
    go.height = 20;
    go.caption = "---->";
    go.font = {.name = "MS Sans Serif", .height = -15, .bold = true};
    Button1.Create(Handle(), go);

    imagenes.LoadFromResource("ICONOS", kImageSize, kImageSize, kImageCount);
    ui::ToolBarDesign bar;
    bar.top = 32;
    bar.width = 385;
    bar.height = 49;
    bar.buttonWidth = 96;
    bar.buttonHeight = 36;
    bar.font = FontOf();
    bar.images = &imagenes;
    bar.tabThroughButtons = true;
    ToolBar1.Create(Handle(), bar, {&ToolButton1, &ToolButton2, &ToolButton3});

    controls::ShellFolderTreeDesign tree;
    tree.left = 12;
    tree.top = 86;
    tree.width = 351;
    tree.height = 147;
    tree.indent = 19;
    tree.font = FontOf();
    tree.oleDrag = true;
    tree.oleDrop = true;
    dir.Create(Handle(), tree);

    ui::GroupBoxDesign group;
    group.left = 7;
    group.top = 249;
    group.width = 215;
    group.height = 117;
    group.caption = "Opciones";
    group.font = FontOf();
    GroupBox1.Create(Handle(), group);
    // The boxes sit on the form, placed inside the frame.
    const int x = group.left, y = group.top;
    c1.Create(Handle(), {.left = x + 13,
                         .top = y + 26,
                         .width = 118,
                         .height = 14,
                         .caption = "Restaurar directorios",
                         .font = FontOf(),
                         .checked = true});
    c2.Create(Handle(), {.left = x + 13,
                         .top = y + 46,
                         .width = 170,
                         .height = 20,
                         .caption = "Sobreescribir archivos ",
                         .font = FontOf()});
    c3.Create(Handle(), {.left = x + 13,
                         .top = y + 72,
                         .width = 183,
                         .height = 13,
                         .caption = "Extraer solo archivos ya existentes",
                         .font = FontOf()});
    c4.Create(Handle(), {.left = x + 13,
                         .top = y + 98,
                         .width = 183,
                         .height = 13,
                         .caption = "Extraer solo archivos no existentes",
                         .font = FontOf()});

    ui::RadioGroupDesign choice;
    choice.left = 231;
    choice.top = 255;
    choice.width = 147;
    choice.height = 105;
    choice.caption = "Descomprimir los archivos...";
    choice.items = {"Todos", "Solo Seleccionados"};
    choice.itemIndex = 0;
    choice.font = FontOf();
    opc.Create(Handle(), choice);

    SetTabOrder({&direk, &Button1, &ToolBar1, &dir, &c1, &c2, &c3, &c4, &opc});
    Button1.OnClick = [this] { Button1Click(); };
    ToolButton1.OnClick = [this] { ToolButton1Click(); };
    ToolButton2.OnClick = [this] { ToolButton2Click(); };
    ToolButton3.OnClick = [this] { ToolButton3Click(); };
    // A folder typed into the field counts only once gone to: Enter there goes to it.
    OnEnterKey = [this] {
        if (::GetFocus() == direk.Handle()) {
            Button1Click();
        } else {
            ToolButton1Click();
        }
    };
    OnEscapeKey = [this] { ToolButton3Click(); };
    dir.OnChange = [this] { dirChange(); };
    dir.OnEditing = [this](const std::string& text, bool& allow) { dirEditing(text, allow); };
    // Each showing starts from the extraction folder; coming back from a message box
    // keeps the folder the user was at.
    OnShow = [this] { FormActivate(); };
    OnClose = [this] { FormClose(); };
}

void Tdescompri::FormActivate() {
    dir.Watch(true);
    dir.SetPath(dirExtraccion_);
    dir.Repaint();
    direk.SetText(dir.Path());
}

void Tdescompri::ToolButton1Click() {
    zip_.ExtrOptions = {};
    const std::pair<const ui::CheckBox*, ExtrOptsEnum> mapping[] = {
        {&c1, ExtrOptsEnum::ExtrDirNames},
        {&c2, ExtrOptsEnum::ExtrOverWrite},
        {&c3, ExtrOptsEnum::ExtrFreshen},
        {&c4, ExtrOptsEnum::ExtrUpdate}};
    for (const auto& [box, option] : mapping) {
        if (box->Checked()) {
            zip_.ExtrOptions.Include(option);
        }
    }
    // No names asks for every entry. Stored names, so that every entry can be named
    // whatever its characters.
    std::vector<std::string> nombres;
    if (opc.ItemIndex() == kSoloSeleccionados) {
        nombres = lista_.SelectedStoredNames();
        if (nombres.empty()) {
            platform::ShowMessage(
                resources::NoticeText(resources::Notice::NothingSelected, Ingles));
            return;
        }
    }
    // Files go where the field says, typed or picked, or nowhere.
    const std::string destino = VeACarpeta();
    if (destino.empty()) {
        if (Escrito(direk.Text()).empty()) {
            platform::ShowMessage(resources::NoticeText(resources::Notice::NoDestination, Ingles));
        }
        return;
    }
    zip_.ExtrBaseDir = destino;
    zip_.FSpecArgs = std::move(nombres);
    struct Deshabilitado {
        ui::Form& form;
        ~Deshabilitado() { form.SetEnabled(true); }
    } deshabilitado{*this};
    SetEnabled(false);
    // One box for the whole extraction, a password's retries included.
    const bool unaCaja = RetieneFallos && MuestraFallos;
    struct Retenidos {
        const std::function<void(bool)>* retiene;
        ~Retenidos() {
            if (retiene) {
                (*retiene)(false);
            }
        }
    } retenidos{unaCaja ? &RetieneFallos : nullptr};
    if (unaCaja) {
        RetieneFallos(true);
    }
    const Extraccion hecho = ExtraeConClave(zip_, *pideClave, true);
    // Nothing extracted and nothing failed: the options left nothing to do.
    const std::string sinFallos = resources::NoticeText(resources::Notice::NothingFits, Ingles);
    const char* const titulo = "Imposible descomprimir";
    // Stopped with Escape is no failure: the status bar says how far it got.
    const bool nada = hecho.hechas == 0 && !hecho.cancelada;
    if (unaCaja) {
        MuestraFallos(nada ? sinFallos : "", nada ? titulo : "");
    } else if (nada) {
        Aviso(sinFallos.c_str(), titulo);
    }
    if (!nada) {
        Close();
    }
}

void Tdescompri::Button1Click() {
    VeACarpeta();
}

std::string Tdescompri::VeACarpeta() {
    const std::string escrito = Escrito(direk.Text());
    if (escrito.empty()) {
        return {};
    }
    const std::string carpeta = CarpetaEntera(escrito);
    if (carpeta.empty()) {
        platform::ShowMessage(resources::NoticeText(resources::Notice::NotAWholePath, Ingles) +
                              "\n" + escrito);
        return {};
    }
    // A typed folder that is not there is made, with the folders it needs.
    if (!platform::DirectoryExists(carpeta) &&
        ::SHCreateDirectoryExA(nullptr, carpeta.c_str(), nullptr) != ERROR_SUCCESS) {
        const std::string raiz = carpeta.substr(0, 3);
        const bool sinUnidad = raiz[1] == ':' && !platform::DirectoryExists(raiz);
        Aviso((sinUnidad ? resources::NoticeText(resources::Notice::NoSuchDrive, Ingles)
                         : std::string("No se puede crear el directorio.Asegúrese de que no es "
                                       "una unidad solo lectura(como cd)")) +
                  "\n" + carpeta,
              "Imposible crear directorio");
        return {};
    }
    // The tree goes there; a folder it cannot show (a network share) stays in the field,
    // and is still where files go.
    direk.SetText(dir.SelectPath(carpeta) ? dir.Path() : carpeta);
    dir.Repaint();
    return direk.Text();
}

void Tdescompri::ToolButton2Click() {
    const std::string ruta = dir.Path();
    // A shell folder outside the file system (the computer, the network) holds no
    // folder of ours: one clear word, and the tree stays where it is.
    if (ruta.empty()) {
        platform::ShowMessage(resources::NoticeText(resources::Notice::NoFolderHere, Ingles));
        return;
    }
    const std::string separador = ruta.size() > 3 ? "\\" : "";
    // Only the name of this folder's edit may follow; a failure has said why.
    ultimoEditado_.clear();
    if (!dir.NewFolder()) {
        return;
    }
    dir.Repaint();
    direk.SetText(ruta + separador + ultimoEditado_);
    Button1Click();
}

void Tdescompri::ToolButton3Click() {
    Close();
}

void Tdescompri::FormClose() {
    // The folder the field shows, where the tree could not follow.
    const std::string campo = CarpetaEntera(Escrito(direk.Text()));
    confi_.Set(2, !campo.empty() && platform::DirectoryExists(campo) ? campo : dir.Path());
    dir.Watch(false);
}

void Tdescompri::dirChange() {
    direk.SetText(dir.Path());
}

void Tdescompri::dirEditing(const std::string& text, bool&) {
    ultimoEditado_ = text;
}

void Tdescompri::PonIdioma(const util::TextLines& ingles) {
    using namespace resources;
    SetCaption(ingles.Get(kTextExtractCaption));
    ToolButton1.SetCaption(ingles.Get(kTextExtractButton));
    ToolButton2.SetCaption(ingles.Get(kTextNewFolder));
    ToolButton3.SetCaption(ingles.Get(kTextCancel));
    GroupBox1.SetCaption(ingles.Get(kTextOptions));
    ui::CheckBox* casillas[] = {&c1, &c2, &c3, &c4};
    for (int i = 0; i < 4; ++i) {
        casillas[i]->SetCaption(ingles.Get(kTextExtractOptions + i));
    }
    opc.SetCaption(ingles.Get(kTextExtractChoice));
    opc.SetItem(0, ingles.Get(kTextExtractAll));
    opc.SetItem(1, ingles.Get(kTextExtractSelected));
}
