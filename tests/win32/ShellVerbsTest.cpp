// The verbs the shell offers on archives, files and folders: the program run with a
// switch does its one job and ends, and its first start names the verbs in the registry.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <set>
#include <thread>
#include <windows.h>

#include "app/Program.h"
#include "dialogs/Ccomprobar.h"
#include "main/ShellJobs.h"
#include "platform/Registry.h"
#include "tests/win32/ArchiveWindowFixture.h"
#include "tests/win32/ChildProgram.h"
#include "tests/win32/Readback.h"

namespace {

namespace fs = std::filesystem;

// The real program's command line with the arguments.
std::string TarvoxWith(const std::vector<std::string>& arguments) {
    std::string commandLine(1, '"');
    commandLine.append(ProgramBesideTests("tarvox.exe")).append(1, '"');
    for (const std::string& argument : arguments) {
        commandLine += argument.starts_with("/") ? " " + argument : " \"" + argument + "\"";
    }
    return commandLine;
}

// Runs the real program with the arguments; its exit code, or -1 when it hung.
int RunTarvox(const std::vector<std::string>& arguments) {
    return RunAndWait(TarvoxWith(arguments));
}

// Every file below the folder, "\" between folders, with its bytes.
std::map<std::string, std::string> FilesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        if (item.is_regular_file()) {
            files[fs::relative(item.path(), folder).string()] = ReadFileBytes(item.path().string());
        }
    }
    return files;
}

class ShellVerbs : public ArchiveWindow {};

TEST_F(ShellVerbs, ExtractVerbsMakeANewFolderUnlessOneTopFolderComesWhole) {
    struct Case {
        const char* what;
        const char* verb;
        std::vector<std::string> entries;
        std::vector<std::string> before; // files there beforehand, beside the archive
        std::set<std::string> after;     // every file beside the archive afterwards
        int runs = 1;
    };
    const Case cases[] = {
        {"loose entries",
         "/extracthere",
         {"a.txt", "sub/b.txt"},
         {},
         {"Fotos\\a.txt", "Fotos\\sub\\b.txt"}},
        {"one top folder of the archive's name",
         "/extracthere",
         {"Fotos/", "Fotos/a.txt"},
         {},
         {"Fotos\\a.txt"}},
        {"one top folder",
         "/extracthere",
         {"top/a.txt", "top/s/b.txt"},
         {},
         {"top\\a.txt", "top\\s\\b.txt"}},
        {"folder already there",
         "/extracthere",
         {"a.txt"},
         {"Fotos\\mine.txt"},
         {"Fotos\\mine.txt", "Fotos (2)\\a.txt"}},
        {"top folder already there",
         "/extracthere",
         {"top/a.txt", "top/s/b.txt"},
         {"top\\mine.txt"},
         {"top\\mine.txt", "top (2)\\a.txt", "top (2)\\s\\b.txt"}},
        {"three times, one top folder",
         "/extracthere",
         {"Fotos/", "Fotos/a.txt"},
         {},
         {"Fotos\\a.txt", "Fotos (2)\\a.txt", "Fotos (3)\\a.txt"},
         3},
        {"extract to, one top folder", "/extractto", {"top/a.txt"}, {}, {"Fotos\\top\\a.txt"}},
        {"extract to, folder there",
         "/extractto",
         {"a.txt"},
         {"Fotos\\mine.txt", "Fotos (2)\\mine.txt"},
         {"Fotos\\mine.txt", "Fotos (2)\\mine.txt", "Fotos (3)\\a.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir folder;
        std::vector<testzip::Entry> entries;
        for (const std::string& name : c.entries) {
            entries.push_back(testzip::Stored(name, name.ends_with("/") ? "" : "bytes of " + name));
        }
        const std::string archive = folder.Write("Fotos.zip", testzip::Archive(entries));
        for (const std::string& name : c.before) {
            fs::create_directories((folder.Path() / name).parent_path());
            folder.Write(name, "mine");
        }
        for (int run = 0; run < c.runs; ++run) {
            ASSERT_EQ(RunTarvox({c.verb, archive}), 0);
        }
        fs::remove(archive);
        std::map<std::string, std::string> files = FilesBelow(folder.Path());
        std::set<std::string> names;
        for (const auto& [name, bytes] : files) {
            names.insert(name);
            // Each file holds the bytes of the entry of its name.
            std::string expected = "mine";
            for (const std::string& entry : c.entries) {
                if (fs::path(name).filename() == fs::path(entry).filename() &&
                    std::find(c.before.begin(), c.before.end(), name) == c.before.end()) {
                    expected = "bytes of " + entry;
                }
            }
            EXPECT_EQ(bytes, expected) << name;
        }
        EXPECT_EQ(names, c.after);
        // Nothing else is left beside the archive, no folder the work went through.
        std::set<std::string> folders, expectedFolders;
        for (const auto& item : fs::directory_iterator(folder.Path())) {
            folders.insert(item.path().filename().string());
        }
        for (const std::string& name : c.after) {
            expectedFolders.insert(name.substr(0, name.find('\\')));
        }
        EXPECT_EQ(folders, expectedFolders);
    }
}

TEST_F(ShellVerbs, AddMakesAnArchiveBesideWhatItIsGivenOrAddsToIt) {
    struct Case {
        const char* what;
        std::vector<std::string> given;  // below the scratch folder "w"
        bool onePerItem;                 // a program for each, all at once, as the shell does
        const char* archive;             // "" : named after "w"
        std::vector<std::string> stored; // the archive's files afterwards, in its order
    };
    const Case cases[] = {
        {"one file", {"informe.txt"}, false, "informe.zip", {"informe.txt"}},
        {"one folder, with its tree",
         {"Fotos"},
         false,
         "Fotos.zip",
         {"Fotos/a.txt", "Fotos/s/b.txt"}},
        {"several",
         {"informe.txt", "Fotos"},
         false,
         "",
         {"informe.txt", "Fotos/a.txt", "Fotos/s/b.txt"}},
        {"several from several folders, in the one that holds them",
         {"Fotos\\s\\b.txt", "informe.txt"},
         false,
         "",
         {"b.txt", "informe.txt"}},
        {"several, a program each",
         {"viejo.txt", "informe.txt", "Fotos"},
         true,
         "",
         {"Fotos/a.txt", "Fotos/s/b.txt", "informe.txt", "viejo.txt"}},
        {"an archive that is there gets them",
         {"viejo.txt"},
         false,
         "viejo.zip",
         {"old.txt", "viejo.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir scratch;
        const fs::path w = scratch.Path() / "w";
        fs::create_directories(w / "Fotos" / "s");
        scratch.Write("w\\informe.txt", "informe");
        scratch.Write("w\\viejo.txt", "viejo");
        scratch.Write("w\\Fotos\\a.txt", "a");
        scratch.Write("w\\Fotos\\s\\b.txt", "b");
        scratch.Write("w\\viejo.zip", testzip::Archive({testzip::Stored("old.txt", "old")}));
        std::vector<std::string> arguments = {"/add"};
        std::vector<std::string> programs;
        for (const std::string& given : c.given) {
            arguments.push_back((w / given).string());
            programs.push_back(TarvoxWith({"/add", (w / given).string()}));
        }
        if (c.onePerItem) {
            EXPECT_EQ(RunTogether(programs), std::vector<int>(programs.size(), 0));
        } else {
            ASSERT_EQ(RunTarvox(arguments), 0);
        }
        const std::string archive = (w / (*c.archive ? c.archive : "w.zip")).string();
        std::vector<std::string> stored;
        for (const std::string& name : NamesOnDisk(archive)) {
            if (!name.ends_with("/")) {
                stored.push_back(name);
            }
        }
        EXPECT_EQ(stored, c.stored);
        std::set<std::string> archives;
        for (const auto& item : fs::directory_iterator(w)) {
            if (item.path().extension() == ".zip") {
                archives.insert(item.path().string());
            }
        }
        EXPECT_EQ(archives, (std::set<std::string>{archive, (w / "viejo.zip").string()}))
            << "one archive made";
        EXPECT_EQ(ReadFileBytes((w / "informe.txt").string()), "informe") << "the files stay";
    }
}

TEST_F(ShellVerbs, TestShowsTheDamagedEntryInItsWindowAndNoBox) {
    testzip::Layout layout = testzip::Build({testzip::Stored("bien.txt", "correct bytes"),
                                             testzip::Stored("mal.txt", "damaged bytes")});
    layout.bytes[layout.localOffsets[1] + 30 + 7 + 3] ^= 0x20;
    const std::string archive = WriteScratch("t.zip", layout.bytes);
    std::string summary;
    std::vector<std::vector<std::wstring>> rows;
    platform::SetModalHandler([&](const platform::ModalRequest& r) {
        r.show();
        summary = comprobar->resumen.Caption();
        rows = ListRows(comprobar->danyadas.Handle());
        ClickToolButton(comprobar->ToolBar1.Handle(), 0);
        r.hide();
    });
    app::InitializeApplication();
    EXPECT_EQ(RunShellJob({ShellJob::Test, {archive}}), 1);
    EXPECT_EQ(summary, "1 de 2 entradas están dañadas.");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at(0), L"mal.txt");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ShellVerbs, AFailureIsOneBoxWithTheReason) {
    struct Case {
        const char* what;
        ShellJob job;
        std::string bytes; // of the archive; none: it is not there
        const char* reason;
    };
    const Case cases[] = {
        {"no archive", ShellJob::ExtractHere, "", "nada.zip"},
        // The engine's own word, and nothing after it.
        {"not an archive", ShellJob::ExtractTo, std::string(200, 'x'), "no válido"},
        {"nothing to add", ShellJob::Add, "", "nada.zip"},
    };
    app::InitializeApplication();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearMessages();
        const std::string archive = Scratch("nada.zip");
        fs::remove(archive);
        if (!c.bytes.empty()) {
            WriteScratch("nada.zip", c.bytes);
        }
        EXPECT_EQ(RunShellJob({c.job, {archive}}), 1);
        ASSERT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
        EXPECT_NE(Messages()[0].find(c.reason), std::string::npos) << Messages()[0];
        EXPECT_FALSE(fs::exists(Scratch("nada"))) << "no folder for nothing";
    }
}

// "Cancelar" stops an extraction and takes its folder away; it stops an add of several
// files at the one at work, which goes without a trace, and keeps those before it.
TEST_F(ShellVerbs, CancelStopsTheJobAtTheFileAtWork) {
    std::vector<testzip::Entry> entries;
    for (int i = 0; i < 4000; ++i) {
        entries.push_back(
            testzip::Stored(std::to_string(i).append(".txt"), std::string(2000, 'c')));
    }
    const std::string archive = WriteScratch("grande.zip", testzip::Archive(entries));
    fs::create_directories(Scratch("in"));
    std::vector<std::string> files;
    for (int i = 0; i < 8; ++i) {
        files.push_back(WriteScratch("in\\f" + std::to_string(i) + ".bin",
                                     testzip::Incompressible(3 << 20, static_cast<unsigned>(i))));
    }
    struct Case {
        const char* what;
        ShellRequest request;
        // A text of the window that tells the moment to press: a file at work, or the add
        // past its first file.
        bool (*now)(const char* text);
    };
    const Case cases[] = {
        {"extract",
         {ShellJob::ExtractHere, {archive}},
         [](const char* text) { return std::strchr(text, '%') != nullptr; }},
        {"add",
         {ShellJob::Add, files},
         [](const char* text) {
             return std::strstr(text, ".bin") != nullptr && std::strcmp(text, "f0.bin") != 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // "Cancelar" pressed once the window shows it is time, as a user's click arrives.
        std::atomic<bool> pressed{false};
        std::thread user([&] {
            const auto working = [&](HWND window) {
                for (HWND child = nullptr;
                     (child = ::FindWindowExA(window, child, "STATIC", nullptr)) != nullptr;) {
                    char text[64] = {};
                    ::GetWindowTextA(child, text, sizeof text);
                    if (c.now(text)) {
                        return true;
                    }
                }
                return false;
            };
            for (int i = 0; i < 3000 && !pressed; ++i) {
                if (HWND window = ::FindWindowA("Ttarea", nullptr); window && working(window)) {
                    if (HWND button = ::FindWindowExA(window, nullptr, "BUTTON", nullptr)) {
                        pressed = ::PostMessageA(button, BM_CLICK, 0, 0) != 0;
                    }
                }
                ::Sleep(5);
            }
        });
        app::InitializeApplication();
        const auto start = std::chrono::steady_clock::now();
        const int code = RunShellJob(c.request);
        user.join();
        ASSERT_TRUE(pressed);
        EXPECT_EQ(code, 1);
        EXPECT_TRUE(Messages().empty()) << "a cancel is no failure";
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                  10)
            << "stopped at once, not at the end";
        if (c.request.job == ShellJob::ExtractHere) {
            EXPECT_FALSE(fs::exists(Scratch("grande")));
            EXPECT_EQ(NamesOnDisk(archive).size(), 4000u) << "the archive as it was";
        } else {
            // The files before the one at work, whole and in order, and none after it.
            const auto names = NamesOnDisk(Scratch("in\\in.zip"));
            EXPECT_GE(names.size(), 1u);
            EXPECT_LT(names.size(), files.size());
            for (std::size_t i = 0; i < names.size(); ++i) {
                EXPECT_EQ(names[i], LeafOf(files[i]));
            }
        }
    }
}

TEST_F(ShellVerbs, TheFirstStartNamesTheVerbsInTheLanguageInForce) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string program = std::string(1, '"').append(self).append("\" ");
    struct Case {
        const char* language;
        std::vector<std::string> captions;
    };
    const Case cases[] = {
        {"1", {"Extraer aquí", "Extraer en carpeta", "Comprobar", "Añadir a archivo zip"}},
        {"2", {"Extract here", "Extract to folder", "Test", "Add to zip archive"}},
    };
    const char* keys[] = {"Tarvox\\shell\\extracthere", "Tarvox\\shell\\extractto",
                          "Tarvox\\shell\\test", "*\\shell\\tarvoxadd",
                          "Directory\\shell\\tarvoxadd"};
    const char* switches[] = {"/extracthere", "/extractto", "/test", "/add", "/add"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        WriteSettings(std::string("c:\\\r\nc:\\\r\nc:\\\r\n") + c.language + "\r\n", "");
        StartAndShow();
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(registry_.Default(keys[i]),
                      c.captions[static_cast<std::size_t>(std::min(i, 3))]);
            EXPECT_EQ(registry_.Default(std::string(keys[i]) + "\\command"),
                      program + switches[i] + " \"%1\"");
            // The add verb is offered on a selection of any size up to 100.
            EXPECT_EQ(platform::RegistryKey(platform::RegistryRoot::ClassesRoot, keys[i])
                          .ReadString("MultiSelectModel"),
                      i >= 3 ? "Player" : "");
        }
        EXPECT_TRUE(Messages().empty());
        app::DestroyForms();
    }
}

} // namespace
