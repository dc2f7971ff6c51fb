// Encrypted archives through the main window: the password for adding, and the
// password asked for when a view finds an entry it cannot open.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <windows.h>

#include "dialogs/Cclave.h"
#include "dialogs/Cclaveanyadir.h"
#include "dialogs/Ccomprobar.h"
#include "tests/win32/ArchiveWindowFixture.h"
#include "tests/win32/Readback.h"
#include "zipformat/AesCipher.h"
#include "zipformat/CentralDirectory.h"

namespace {

// What the user does in the password dialog, each time it is shown: a click on
// Aceptar or Cancelar, or Enter or Escape in the field.
struct Answer {
    std::string typed;
    bool accept;
    bool byKey = false;
};

class Passwords : public ArchiveWindow, public ::testing::WithParamInterface<int> {
protected:
    bool Spanish() const { return GetParam() == 1; }

    // Starts on an archive with one plain entry, then adds secret.txt under the
    // password for adding, chosen in its dialog.
    std::string StartWithEncryptedEntry(int kind) {
        std::filesystem::create_directory(Scratch("tmp"));
        WriteSettings(
            "c:\\\r\n" + Scratch("tmp") + "\r\nc:\\\r\n" + std::to_string(GetParam()) + "\r\n", "");
        const std::string archive = MakeArchive("p.zip", {testzip::Stored("plain.txt", "open")});
        StartAndShow({archive});
        const auto fixtureModal = platform::SetModalHandler([&](const platform::ModalRequest& r) {
            EXPECT_EQ(r.window, reinterpret_cast<std::uintptr_t>(claveAnyadir->Handle()));
            r.show();
            EXPECT_EQ(WindowCaption(claveAnyadir->Handle()),
                      Spanish() ? "Contraseña para añadir" : "Password for adding");
            claveAnyadir->clave1.SetText("pa55");
            claveAnyadir->clave2.SetText("pa55");
            claveAnyadir->tipo.SetItemIndex(kind);
            // One kind is chosen with a click, the other with Enter in the field.
            if (kind == 0) {
                ::SendMessageA(claveAnyadir->Aceptar.Handle(), BM_CLICK, 0, 0);
            } else {
                ::SetFocus(claveAnyadir->clave2.Handle());
                PressKey(VK_RETURN);
            }
            EXPECT_TRUE(r.closed());
            r.hide();
        });
        Main().MclaveClick();
        platform::SetModalHandler(fixtureModal);
        const bool aes = kind == 0;
        EXPECT_EQ(StatusText(Main().estado.Handle(), 0),
                  Spanish() ? (aes ? " Cifra AES-256" : " Cifra ZipCrypto")
                            : (aes ? " Adds AES-256" : " Adds ZipCrypto"));
        Main().Anyade(WriteScratch("secret.txt", "the secret"));
        return archive;
    }

    // The entry the add wrote after the plain one, as the archive on disk has it.
    static std::optional<zipfmt::CentralEntry> AddedEntry(const std::string& archive) {
        auto file = platform::FileHandle::OpenForReading(archive);
        zipfmt::ArchiveDirectory directory;
        if (!file ||
            zipfmt::ReadArchiveDirectory(*file, directory) != zipfmt::DirectoryError::None ||
            directory.entries.size() != 2) {
            return std::nullopt;
        }
        return directory.entries[1];
    }

    // Views secret.txt, answering the password dialog as told; returns what it showed.
    std::vector<std::pair<std::string, bool>> ViewSecret(const std::vector<Answer>& answers) {
        std::vector<std::pair<std::string, bool>> shown; // caption, the "wrong" line shown
        std::size_t next = 0;
        const auto fixtureModal = platform::SetModalHandler([&](const platform::ModalRequest& r) {
            EXPECT_EQ(r.window, reinterpret_cast<std::uintptr_t>(pideClave->Handle()));
            r.show();
            shown.emplace_back(WindowCaption(pideClave->Handle()),
                               !pideClave->aviso.Text().empty());
            // Whatever was pressed the last time, the password is typed at once.
            EXPECT_EQ(::GetFocus(), pideClave->clave.Handle());
            EXPECT_NE(pideClave->entrada.Text().find("secret.txt"), std::string::npos);
            EXPECT_EQ(WindowCaption(pideClave->Aceptar.Handle()), Spanish() ? "Aceptar" : "OK");
            EXPECT_EQ(WindowCaption(pideClave->Cancelar.Handle()),
                      Spanish() ? "Cancelar" : "Cancel");
            const Answer a = next < answers.size() ? answers[next++] : Answer{"", false};
            pideClave->clave.SetText(a.typed);
            if (a.byKey) {
                ::SetFocus(pideClave->clave.Handle());
                PressKey(a.accept ? VK_RETURN : VK_ESCAPE);
            } else {
                ::SendMessageA((a.accept ? pideClave->Aceptar : pideClave->Cancelar).Handle(),
                               BM_CLICK, 0, 0);
            }
            EXPECT_TRUE(r.closed());
            r.hide();
        });
        const auto captions = Captions();
        const auto row = std::find(captions.begin(), captions.end(), L"secret.txt");
        EXPECT_NE(row, captions.end());
        DoubleClickListRow(Main().lista.Handle(), static_cast<int>(row - captions.begin()));
        platform::SetModalHandler(fixtureModal);
        return shown;
    }
};

TEST_P(Passwords, AWrongPasswordIsAskedAgainAndTheRightOneIsKeptUntilTheArchiveCloses) {
    const std::string archive = StartWithEncryptedEntry(0);
    const auto added = AddedEntry(archive);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->method, zipfmt::kMethodAes);
    // Reopened, the archive's password is to be asked for.
    Main().Cerrar_Archivo();
    Main().Abrir_Archivo(archive);
    shell_.reset();
    shell_ = std::make_unique<ShellRecorder>(42);
    const std::string caption = Spanish() ? "Contraseña" : "Password";
    EXPECT_EQ(ViewSecret({{"wrong", true}, {"pa55", true, true}}),
              (std::vector<std::pair<std::string, bool>>{{caption, false}, {caption, true}}));
    ASSERT_EQ(shell_->requests.size(), 1u);
    EXPECT_EQ(ReadFileBytes(shell_->requests[0].file), "the secret");
    EXPECT_TRUE(Messages().empty());
    // Kept: the next view asks nothing.
    shell_->requests.clear();
    EXPECT_TRUE(ViewSecret({}).empty());
    EXPECT_EQ(shell_->requests.size(), 1u);
    // Closed and opened again, it is asked for once more; Cancelar opens nothing.
    Main().Cerrar_Archivo();
    Main().Abrir_Archivo(archive);
    shell_->requests.clear();
    std::filesystem::remove(Scratch("tmp\\secret.txt"));
    EXPECT_EQ(ViewSecret({{"", false, true}}).size(), 1u);
    EXPECT_TRUE(shell_->requests.empty());
    EXPECT_FALSE(std::filesystem::exists(Scratch("tmp\\secret.txt")));
    EXPECT_TRUE(Messages().empty());
}

// "Comprobar archivo" asks for the password of the entries that want one and tests them
// again with it; given up, they are named with the library's reason.
TEST_P(Passwords, TheTestAsksForThePasswordAndTestsTheLockedEntryAgain) {
    const std::string archive = StartWithEncryptedEntry(0);
    struct Case {
        std::vector<Answer> answers;
        std::vector<bool> wrongLine; // each showing of the password dialog
        const char *summary, *summaryEn;
        std::vector<std::wstring> named;
    };
    const Case cases[] = {
        {{{"", false}},
         {false},
         "1 de 2 entradas están dañadas.",
         "1 of 2 entries are damaged.",
         {L"secret.txt"}},
        {{{"wrong", true}, {"pa55", true}},
         {false, true},
         "Las 2 entradas son correctas.",
         "All 2 entries are correct.",
         {}},
    };
    for (const Case& c : cases) {
        // Opened again, the archive's password is asked for afresh.
        Main().Cerrar_Archivo();
        Main().Abrir_Archivo(archive);
        std::vector<bool> wrongLine;
        std::string summary;
        std::vector<std::vector<std::wstring>> rows;
        std::size_t next = 0;
        const auto fixtureModal = platform::SetModalHandler([&](const platform::ModalRequest& r) {
            r.show();
            if (r.window == reinterpret_cast<std::uintptr_t>(pideClave->Handle())) {
                EXPECT_EQ(WindowCaption(pideClave->Handle()),
                          Spanish() ? "Contraseña" : "Password");
                EXPECT_NE(pideClave->entrada.Text().find("secret.txt"), std::string::npos);
                wrongLine.push_back(!pideClave->aviso.Text().empty());
                EXPECT_EQ(::GetFocus(), pideClave->clave.Handle()) << "also after Cancelar";
                const Answer a = next < c.answers.size() ? c.answers[next++] : Answer{"", false};
                pideClave->clave.SetText(a.typed);
                // A click leaves the focus on its button.
                const HWND button = (a.accept ? pideClave->Aceptar : pideClave->Cancelar).Handle();
                ::SetFocus(button);
                ::SendMessageA(button, BM_CLICK, 0, 0);
            } else {
                EXPECT_EQ(r.window, reinterpret_cast<std::uintptr_t>(comprobar->Handle()));
                summary = comprobar->resumen.Caption();
                if (::IsWindowVisible(comprobar->danyadas.Handle())) {
                    rows = ListRows(comprobar->danyadas.Handle());
                }
                ClickToolButton(comprobar->ToolBar1.Handle(), 0);
            }
            r.hide();
        });
        Main().McomprobarClick();
        platform::SetModalHandler(fixtureModal);
        EXPECT_EQ(wrongLine, c.wrongLine) << c.summary;
        EXPECT_EQ(summary, Spanish() ? c.summary : c.summaryEn);
        std::vector<std::wstring> named;
        for (const auto& row : rows) {
            named.push_back(row.at(0));
            EXPECT_FALSE(row.at(1).empty()) << "the library's reason";
        }
        EXPECT_EQ(named, c.named);
        EXPECT_TRUE(Messages().empty());
    }
}

TEST_P(Passwords, TheCompatibleChoiceWritesTheTraditionalEncryption) {
    const auto added = AddedEntry(StartWithEncryptedEntry(1));
    ASSERT_TRUE(added);
    EXPECT_NE(added->method, zipfmt::kMethodAes);
    EXPECT_EQ(added->flags & 1, 1);
}

INSTANTIATE_TEST_SUITE_P(Languages, Passwords, ::testing::Values(1, 2), [](const auto& info) {
    return std::string(info.param == 1 ? "Spanish" : "English");
});

} // namespace
